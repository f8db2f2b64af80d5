#include "tools/sinewrig/check/motion/interface.h"

#include "host/layout/motion_handlers.h"
#include "host/scene_file/scene_data.h"
#include "host/process/services.h"
#include "tools/sinewrig/check/panels.h"
#include "tools/sinewrig/check/motion/scene.h"
#include "tools/sinewrig/check/services.h"
#include "tools/sinewrig/check/server_classes.h"

namespace sinewrig_tool {

namespace {

constexpr const char* kHandlerClass = "ItemMotionHandler";

void reportInterface(CheckReport& report, const LWInterface& face) {
    std::string filled, null;
    (face.options ? filled : null) += " options";
    (face.command ? filled : null) += " command";
    (face.panel ? filled : null) += " panel";
    report.info("filled:" + (filled.empty() ? " nothing" : filled));
    report.info("left null:" + (null.empty() ? " nothing" : null));
}

void openOptions(CheckReport& report, const CheckScene& scene, host::MotionHandlers& handlers,
                 const std::string& server) {
    LWInstance instance = handlers.apply(server, scene.lower);
    if (!instance) {
        report.fail("the motion handler " + quotedText(server.c_str()) + " gave no instance to open options for");
        return;
    }
    const std::string before = host::sceneDataLines(handlers.save(instance));
    cancelEveryPanel(scene.layout.panels);
    const host::MotionHandlers::Options options = handlers.openOptions(instance);
    const std::string opened = "options of the instance on " + scene.nameOf(scene.lower);
    if (options.activation != AFUNC_OK) {
        report.fail(opened + ": activation gave " + activationResult(options.activation));
    } else if (!options.local.options) {
        report.check(!options.called, opened + ": options is null, " + (options.called ? "called" : "not called"));
    } else {
        report.check(!options.error, opened + ", every panel cancelled" +
                                         (options.error ? ": error " + quotedText(options.error) : ""));
        report.info("panels opened: " + std::to_string(panelsOpened(scene.layout.panels)));
        const std::string after = host::sceneDataLines(handlers.save(instance));
        report.check(after == before, after == before ? "cancelling left the instance's saved settings as they were"
                                                      : "cancelling changed the instance's saved settings");
    }
    handlers.remove(instance);
}

}  // namespace

void checkMotionInterface(CheckReport& report, host::Layout& layout, const host::ModuleFile& module,
                        const std::string& server) {
    layout.makeActive();
    const int version = knownServerClass("ItemMotionInterface")->hostVersion;
    LWInterface face{};
    const std::size_t lookupsBefore = layout.services.lookups.size();
    const int result = module.activate("ItemMotionInterface", server, version, host::Services::global(), &face);
    reportActivation(report, layout.services, lookupsBefore, result,
                     "activation with version " + std::to_string(version) + " into a zeroed record");
    if (result != AFUNC_OK) return;
    reportInterface(report, face);

    host::MotionHandlers handlers(layout, module, server);
    if (!handlers.canApply(server)) {
        report.info("no " + std::string(kHandlerClass) + " " + quotedText(server.c_str()) + ": options not opened");
        return;
    }
    const CheckScene scene(layout);
    openOptions(report, scene, handlers, server);
    reportMisuse(report, layout.problems(), "Layout");
}

}  // namespace sinewrig_tool
