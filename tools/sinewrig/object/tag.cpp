#include "tools/sinewrig/object/tag.h"

#include <filesystem>
#include <fstream>

#include "format/muscle_flags_text.h"
#include "format/skelegon_tags.h"
#include "host/object_file/object_file.h"
#include "tools/sinewrig/common/module_kind.h"
#include "tools/sinewrig/common/output_file.h"
#include "tools/sinewrig/common/system_reason.h"
#include "tools/sinewrig/object/muscle_choices.h"
#include "tools/sinewrig/rig/object_skelegons.h"
#include "tools/sinewrig/road/set_muscle_clicks.h"

namespace sinewrig_tool {

namespace {

bool samePath(const std::string& a, const std::string& b) {
    std::error_code failed;
    if (std::filesystem::equivalent(a, b, failed)) return true;
    return std::filesystem::weakly_canonical(a, failed) == std::filesystem::weakly_canonical(b, failed) && !failed;
}

// What SetMuscle tagged, as the tags it wrote say: a count of each kind,
// and with --verbose each skelegon and its tags.
void reportTagged(std::ostream& out, const TagOptions& options, const ObjectLayer& layer, host::MeshObject& mesh) {
    std::size_t tagged = 0, withReference = 0, preserveVolume = 0, afterIK = 0;
    std::string entries;
    for (const ObjectSkelegon& s : layer.skelegons) {
        const host::MeshPolygon& polygon = *mesh.polygon(s.polygon);
        if (!polygon.selected) continue;
        ++tagged;
        const int flags = sinewrig::readMuscleFlags(polygon.tag(sinewrig::kFlagsTag));
        withReference += polygon.tag(sinewrig::kTipTag) ? 1 : 0;
        preserveVolume += sinewrig::preservesVolume(flags) ? 1 : 0;
        afterIK += sinewrig::runsAfterIK(flags) ? 1 : 0;
        if (options.verbose) entries += "  " + s.name + ": " + muscleTagsText(polygon) + "\n";
    }
    out << "tagged " << tagged << " skelegon(s) of layer " << options.layer << " of " << options.object << ": "
        << withReference << " with a reference, " << tagged - withReference << " without; " << preserveVolume
        << " preserve volume, " << afterIK << " after IK\n"
        << entries << "wrote " << (options.output == "-" ? "the object to standard output" : options.output) << "\n";
}

int fail(Console console, const std::string& message) {
    console.err << "sinewrig tag: " << message << "\n";
    return kExitBadInput;
}

}  // namespace

int tagObject(const TagOptions& options, Console console) {
    if (!options.inPlace && samePath(options.object, options.output))
        return fail(console, "-o " + options.output + ": names the object being tagged; add --in-place to replace it");

    host::Modeler modeler;
    host::ObjectFile file;
    std::string error;
    if (!host::loadObjectFile(options.object, file, modeler.object, error)) return fail(console, error);

    const ObjectReport report = describeObject(file, modeler.object);
    const ObjectLayer* layer = nullptr;
    std::string numbers;
    for (const ObjectLayer& l : report.layers) {
        if (l.number == options.layer) layer = &l;
        numbers += (numbers.empty() ? "" : ", ") + std::to_string(l.number);
    }
    if (!layer)
        return fail(console, "--layer " + std::to_string(options.layer) + ": " + options.object + " has no such layer (" +
                                 (numbers.empty() ? "it has none" : "its layers are " + numbers) + ")");
    std::vector<RigMuscle> muscles;
    if (!loadMuscleChoices(options.muscles, *layer, muscles, error)) return fail(console, error);

    if (!muscles.empty()) {
        if (const std::string foreign = foreignModuleReason(options.plugin); !foreign.empty())
            return fail(console, "--plugin " + options.plugin + ": cannot be loaded: " + foreign);
        std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(options.plugin, error);
        if (!module) return fail(console, error);
        modeler.object.primaryLayer = options.layer - 1;
        if (!runSetMuscle(*module, modeler, muscles, error)) {
            console.err << "sinewrig tag: " << error << "\n";
            return kExitFailed;
        }
    }

    OutputFiles outputs;
    std::string staged;
    if (!outputs.stage(options.output, staged, error)) return fail(console, error);
    {
        std::ofstream out(staged, std::ios::binary);
        if (!out) return fail(console, options.output + ": cannot be written (" + systemReason() + ")");
        if (!host::writeObjectFile(file, modeler.object, out, error))
            return fail(console, out.fail() ? options.output + ": cannot be written (" + systemReason() + ")"
                                            : options.object + ": " + error);
        out.close();
        if (out.fail()) return fail(console, options.output + ": cannot be written (" + systemReason() + ")");
    }
    if (!outputs.commit(console.out, error)) return fail(console, error);

    // With the object on standard output, the report goes beside it on standard error.
    reportTagged(options.output == "-" ? console.err : console.out, options, *layer, modeler.object);
    return kExitOk;
}

}  // namespace sinewrig_tool
