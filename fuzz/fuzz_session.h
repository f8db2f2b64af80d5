// One fuzz input's host process: a stand-in Layout with the module's motion
// handler hosted, over the module file that is loaded once for the whole run
// (libFuzzer's coverage counters of the module must stay mapped). After each
// step the target asks for the checks below; a broken one aborts, so that
// libFuzzer keeps the input.
#pragma once

#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/panels/panel_script.h"
#include "host/process/module_file.h"

namespace fuzz {

const host::ModuleFile& module();

[[noreturn]] void fail(const char* format, ...) __attribute__((format(printf, 1, 2)));
#define FUZZ_CHECK(condition, ...)                   \
    do {                                             \
        if (!(condition)) ::fuzz::fail(__VA_ARGS__); \
    } while (0)

// Host problems that come from a script not fitting the panel the module
// showed (a choice out of range, a click no control takes), not from the module.
bool isScriptMisfit(const std::string& problem);

class Session {
public:
    Session();
    // Removes every instance and checks that the registry went with the last;
    // a registry ReadMuscle left without users is drained the host's way,
    // by applying the handler once and removing it, so no input leaks it.
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    host::Layout layout;
    host::MotionHandlers handlers;

    // Each host call, made as the host makes it, with what it hands the module noted.
    LWInstance apply(LWItemID item);
    void remove(LWInstance instance);
    LWError load(LWInstance instance, const host::SceneData& data);
    // Checks the data before returning it.
    host::SceneData save(LWInstance instance);
    void changeIDs(const std::vector<std::pair<LWItemID, LWItemID>>& pairs);
    // An item ID the host handed the module some other way, such as in a scene file's plug-in block.
    void handOver(LWItemID id) { handedOver_.insert(id); }
    LWItemID cloneItem(LWItemID item);
    int readMuscle(int version = 2);
    host::MotionHandlers::Options openOptions(LWInstance instance, host::OpenScript script);
    // Evaluates and checks that every motion the handlers left is finite.
    void evaluate(double time);

    // Every instance: its item list, that the list is a record of the registry,
    // its description and flags; the registry's block and use count; the host's
    // record of misuse.
    void checkAll();
    void checkSceneData(const host::SceneData& data) const;

private:
    void checkInstance(const host::MotionHandlers::Applied& applied) const;
    void checkRegistry() const;
    void checkProblems() const;
    bool hostInputsFinite(double time) const;
    bool given(LWItemID id) const;

    // IDs the host handed over other than its scene's items: in scene data and in renumbering.
    std::unordered_set<LWItemID> handedOver_;
    // ReadMuscle may make the registry before any instance uses it.
    bool registryMayBeUnused_ = false;
};

}  // namespace fuzz
