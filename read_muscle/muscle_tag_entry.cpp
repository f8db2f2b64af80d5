#include "read_muscle/muscle_tag_entry.h"

#include <new>

#include "format/item_colours.h"
#include "format/muscle_flags_text.h"
#include "format/skelegon_tags.h"

namespace sinewrig {

namespace {

std::optional<std::string> tagText(LWMeshInfo& mesh, LWPolID polygon, LWID tag) {
    const char* text = mesh.polTag(&mesh, polygon, tag);
    return text ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace

size_t collectMuscleTag(void* data, LWPolID polygon) {
    auto* scan = static_cast<MuscleTagScan*>(data);
    if (!scan || !scan->mesh || scan->outOfMemory) return 0;
    LWMeshInfo& mesh = *scan->mesh;
    if (mesh.polType(&mesh, polygon) != kSkelegonType) return 0;
    const char* flagsText = mesh.polTag(&mesh, polygon, kFlagsTag);
    if (!flagsText) return 0;
    const int flags = readMuscleFlags(flagsText);
    // The host's scan is between us and the command, so no exception may leave here.
    try {
        MuscleTagEntry entry;
        entry.boneName = tagText(mesh, polygon, kPartTag);
        entry.preserveVolume = preservesVolume(flags);
        entry.afterIK = runsAfterIK(flags);
        entry.referenceName = tagText(mesh, polygon, kTipTag);
        entry.colourIndex = itemColourIndex(mesh.polTag(&mesh, polygon, kColourTag));
        scan->entries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        scan->outOfMemory = true;
    }
    return 0;
}

}  // namespace sinewrig
