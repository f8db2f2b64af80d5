#include "commands/muscle_tag_entry.h"

#include <climits>
#include <new>

#include "commands/colour_names.h"
#include "commands/skelegon_tags.h"

namespace sinewrig {

namespace {

// The C locale's white space, tested without <cctype>, whose functions are
// undefined for the negative chars that non-ASCII tag bytes give.
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::optional<std::string> tagText(LWMeshInfo& mesh, LWPolID polygon, LWID tag) {
    const char* text = mesh.polTag(&mesh, polygon, tag);
    return text ? std::optional<std::string>(text) : std::nullopt;
}

}  // namespace

int parseMuscleFlags(const char* text) {
    if (!text) return 0;
    while (isSpace(*text)) ++text;
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') ++text;
    // Accumulated towards the sign's end of the range so INT_MIN is reached exactly.
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        value = value * 10 + (*text - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return value > INT_MAX ? INT_MIN : static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

size_t collectMuscleTag(void* data, LWPolID polygon) {
    auto* scan = static_cast<MuscleTagScan*>(data);
    if (!scan || !scan->mesh || scan->outOfMemory) return 0;
    LWMeshInfo& mesh = *scan->mesh;
    if (mesh.polType(&mesh, polygon) != LWPOLTYPE_BONE) return 0;
    const char* flagsText = mesh.polTag(&mesh, polygon, kFlagsTag);
    if (!flagsText) return 0;
    // The bits are taken from the two's complement value, as the tag's writer meant them.
    const auto flags = static_cast<unsigned int>(parseMuscleFlags(flagsText));
    // The host's scan is between us and the command, so no exception may leave here.
    try {
        MuscleTagEntry entry;
        entry.boneName = tagText(mesh, polygon, LWPTAG_PART);
        entry.preserveVolume = (flags & kPreserveVolumeFlag) != 0;
        entry.afterIK = (flags & kAfterIKFlag) != 0;
        entry.referenceName = tagText(mesh, polygon, kTipTag);
        const char* colour = mesh.polTag(&mesh, polygon, kColourTag);
        entry.colourIndex = colourIndexOf(colour);
        scan->entries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        scan->outOfMemory = true;
    }
    return 0;
}

}  // namespace sinewrig
