#include "tools/sinewrig/cli.h"

#include <CLI/CLI.hpp>

#include "host/process/fresh_process.h"
#include "tools/sinewrig/check/check.h"
#include "tools/sinewrig/object/inspect.h"
#include "tools/sinewrig/rig/rig_file.h"
#include "tools/sinewrig/run/drawn_frames.h"
#include "tools/sinewrig/run/run.h"
#include "tools/sinewrig/scene/scene_run.h"
#include "tools/sinewrig/object/tag.h"

namespace sinewrig_tool {

namespace {

// Sinewrig.p beside this program.
std::string builtModuleFile() {
    std::string self = host::thisProgramPath();
    const std::size_t slash = self.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : self.substr(0, slash + 1)) + "Sinewrig.p";
}

}  // namespace

int runCommandLine(const std::vector<std::string>& arguments, Console console) {
    CLI::App app{"Runs muscle rigs through the stand-in host, reads and tags object files, and checks host module files.", "sinewrig"};
    app.require_subcommand(1);

    RunOptions run;
    run.plugin = builtModuleFile();
    CLI::App* runCommand = app.add_subcommand(
        "run", "Walk the whole road of a rig's muscles: tag the skelegons in Modeler, set the muscles up in Layout, "
               "evaluate the frames, save and reload the scene.");
    runCommand->add_option("rig", run.rig, "the rig file (JSON, see docs/rig-format.md), or a scene (LWSC, see docs/scenes.md)")
        ->required();
    // The range is checked as the command line is parsed, so a bad one is named
    // like any other bad option.
    runCommand
        ->add_option_function<std::string>(
            "--frames",
            [&run](const std::string& text) {
                FrameRange range;
                std::string unused;
                if (parseFrameRange(text, range, unused)) run.frames = range;
            },
            "frames to evaluate, from START to END every STEP frames (default: the rig's range, or the scene's "
            "FirstFrame to LastFrame)")
        ->type_name("START:END[:STEP]")
        ->check(CLI::Validator(
            [](std::string& text) {
                FrameRange range;
                std::string error;
                return parseFrameRange(text, range, error) ? std::string() : error;
            },
            ""));
    runCommand->add_option("--csv", run.csv, "write each frame's muscle channels to this CSV file (- for standard output)");
    CLI::Option* svg = runCommand->add_option("--svg", run.svg, "draw the bones and the muscles' stretch into this SVG file");
    runCommand
        ->add_option_function<std::string>(
            "--svg-frames",
            [&run](const std::string& text) {
                std::string unused;
                parseDrawnFrames(text, run.svgFrames, unused);
            },
            "the frames the picture draws, each one the run evaluates: FRAME,FRAME,... and START:END[:STEP] ranges, "
            "at most " + std::to_string(kMostDrawnFrames) + " (default: five across the run)")
        ->type_name("LIST")
        ->needs(svg)
        ->check(CLI::Validator(
            [](std::string& text) {
                std::vector<int> frames;
                std::string error;
                return parseDrawnFrames(text, frames, error) ? std::string() : error;
            },
            ""));
    runCommand->add_option("--scene", run.scene,
                           "keep the saved scene (LWSC) in this file, for rigs with its object file beside it (.lwo); "
                           "for scenes the scene written back with the module's saves");
    std::string channels, bake;
    runCommand->add_option("--channels", channels,
                           "scenes: write every item's nine channels at every frame to this CSV file");
    runCommand->add_option("--bake", bake,
                           "scenes: write the scene with the muscles' motion baked to keys into this file");
    runCommand->add_option("--plugin", run.plugin, "the module file to load (default: Sinewrig.p beside this program)");
    runCommand->add_flag("--quiet", run.quiet, "no progress display on standard error");
    runCommand->add_flag("--table", run.table,
                         "print the table of every frame's muscle channels even for a large rig (printed unasked "
                         "up to 2,000 rows)");
    runCommand->footer(
        "An output path of - is standard output (the report then goes to standard error). Outputs appear together "
        "once the whole road succeeded, or not at all. Exit status: 0 success, 1 the road failed, 2 bad input or "
        "an output that cannot be written.");

    CheckOptions check;
    CLI::App* checkCommand = app.add_subcommand(
        "check", "Load a module file as the host does and check its descriptor, its servers and their callbacks.");
    checkCommand->add_option("plugin", check.plugin, "the module file")->required();
    checkCommand->footer(
        "Prints one PASS, FAIL or INFO line per check and a verdict. Exit status: 0 when nothing failed, 1 when "
        "a check failed, 2 when the file cannot be loaded as a library. A module of another system (a Windows DLL "
        "given to the Linux build, say) is not loaded: the report says what it is, its exports and imports, and the "
        "command that checks it fully; its verdict is NOT CHECKED, exit status 2.");

    InspectOptions inspect;
    CLI::App* inspectCommand = app.add_subcommand(
        "inspect", "Show an object file's layers and skelegons, the muscles their tags make, and what is wrong.");
    inspectCommand->add_option("object", inspect.object, "the object file (LWO2)")->required();
    inspectCommand->add_flag("--json", inspect.json, "print the same as one JSON document");
    inspectCommand->footer(
        "Exit status: 0 when it found no problems, 1 when it reports problems, 2 when the file cannot be read as an "
        "object.");

    TagOptions tag;
    tag.plugin = builtModuleFile();
    CLI::App* tagCommand = app.add_subcommand(
        "tag", "Run the module's SetMuscle on an object file's skelegons with the panel answered as the choices say, "
               "and write the object with the tags it set; everything else stays byte for byte.");
    tagCommand->add_option("object", tag.object, "the object file (LWO2)")->required();
    tagCommand->add_option("--muscles", tag.muscles, "the choices: {\"muscles\": [...]}, entries as in a rig file")
        ->required();
    tagCommand->add_option("-o,--output", tag.output, "the object file to write")->required();
    tagCommand->add_option("--layer", tag.layer,
                           "the layer whose skelegons are tagged, as the host numbers it, from 1 to 65536 (default 1)")
        ->check(CLI::Range(1, 65536));
    tagCommand->add_flag("--in-place", tag.inPlace, "allow -o to name the object itself");
    tagCommand->add_option("--plugin", tag.plugin, "the module file to load (default: Sinewrig.p beside this program)");
    tagCommand->add_flag("--verbose", tag.verbose, "list every skelegon tagged with the tags it got");
    tagCommand->footer(
        "Prints how many skelegons were tagged, how many with a reference, how many preserve volume and run after "
        "IK, and where the object was written. Exit status: 0 success, 1 SetMuscle failed, 2 bad input or an output "
        "that cannot be written.");

    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        const int status = app.exit(error, console.out, console.err);
        return status == 0 ? kExitOk : kExitBadInput;
    }
    if (runCommand->parsed()) {
        if (isSceneFile(run.rig))
            return runScene({run.rig, run.frames, run.csv, run.svg, channels, bake, run.scene, run.svgFrames, run.plugin,
                             run.quiet, run.table},
                            console);
        if (!channels.empty() || !bake.empty()) {
            console.err << "sinewrig run: " << run.rig << ": " << (channels.empty() ? "--bake" : "--channels")
                        << " is for scenes (LWSC), and this is not one\n";
            return kExitBadInput;
        }
        return runRig(run, console);
    }
    if (inspectCommand->parsed()) return inspectObject(inspect, console);
    if (tagCommand->parsed()) return tagObject(tag, console);
    return checkModule(check, console);
}

}  // namespace sinewrig_tool
