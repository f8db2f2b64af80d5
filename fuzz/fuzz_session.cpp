#include "fuzz/fuzz_session.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "abi/item_number.h"
#include "host/process/services.h"
#include "tests/muscle_scene_data.h"

namespace fuzz {

namespace {

constexpr std::size_t kDescriptionBuffer = 260;

// Whether the "Sinewrig" block holds a registry: all the host sees of it is a
// pointer, copied out since a block promises no alignment.
bool registryHeld(const host::Layout& layout) {
    void* block = layout.globalMemory.find("Sinewrig");
    void* registry = nullptr;
    if (block) std::memcpy(&registry, block, sizeof registry);
    return registry != nullptr;
}

unsigned hex(LWItemID id) { return ::itemNumber(id); }

}  // namespace

const host::ModuleFile& module() {
    // Never unloaded: libFuzzer reads the module's coverage counters to the end.
    static const host::ModuleFile* loaded = [] {
        std::string error;
        auto file = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
        if (!file) {
            std::fprintf(stderr, "fuzz: %s\n", error.c_str());
            std::abort();
        }
        return file.release();
    }();
    return *loaded;
}

void fail(const char* format, ...) {
    std::fputs("fuzz: broken: ", stderr);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    std::abort();
}

bool isScriptMisfit(const std::string& problem) {
    for (const char* misfit : {"opened without a script", "no control takes a scripted action", " to choose",
                               " is not offered"})
        if (problem.find(misfit) != std::string::npos) return true;
    return false;
}

Session::Session() : handlers(layout, module()) { layout.makeActive(); }

Session::~Session() {
    layout.makeActive();
    while (!handlers.instances().empty()) remove(handlers.instances().back().instance);
    if (registryHeld(layout)) {
        checkRegistry();
        handlers.remove(handlers.apply(layout.scene.addItem(LWI_BONE, "Drain")));
    }
    FUZZ_CHECK(!registryHeld(layout), "the registry outlived the last instance");
}

bool Session::given(LWItemID id) const { return layout.scene.find(id) || handedOver_.count(id); }

LWInstance Session::apply(LWItemID item) { return handlers.apply(item); }

void Session::remove(LWInstance instance) {
    const std::size_t before = handlers.instances().size();
    handlers.remove(instance);
    if (before > 0 && handlers.instances().empty()) {
        FUZZ_CHECK(!registryHeld(layout), "the last instance went but the block still holds the registry");
        registryMayBeUnused_ = false;
    }
}

LWError Session::load(LWInstance instance, const host::SceneData& data) {
    for (const host::SceneWrite& write : data)
        if (write.type == "U4")
            for (double value : write.values) handedOver_.insert(::itemFromNumber(static_cast<std::uint32_t>(value)));
    const LWError error = handlers.load(instance, data);
    FUZZ_CHECK(!error, "load reported \"%.80s\"", error);
    return error;
}

host::SceneData Session::save(LWInstance instance) {
    host::SceneData data = handlers.save(instance);
    checkSceneData(data);
    return data;
}

void Session::changeIDs(const std::vector<std::pair<LWItemID, LWItemID>>& pairs) {
    for (const auto& pair : pairs) handedOver_.insert(pair.second);
    handlers.changeIDs(pairs);
}

LWItemID Session::cloneItem(LWItemID item) { return handlers.cloneItem(item); }

int Session::readMuscle(int version) {
    registryMayBeUnused_ = true;
    return module().activate("LayoutGeneric", "ReadMuscle", version, host::Services::global(), layout.generic());
}

host::MotionHandlers::Options Session::openOptions(LWInstance instance, host::OpenScript script) {
    layout.panels.queue(std::move(script));
    const bool panelsThere = layout.services.lookup("LWPanelServices") != nullptr;
    host::MotionHandlers::Options result = handlers.openOptions(instance);
    FUZZ_CHECK(result.activation == AFUNC_OK, "the options interface did not activate: %d", result.activation);
    FUZZ_CHECK(!result.error || (!panelsThere && result.error[0] == '\0'), "options reported \"%.80s\"",
               result.error);
    return result;
}

bool Session::hostInputsFinite(double time) const {
    for (const host::Item& item : layout.scene.items())
        for (LWItemParam param : {LWIP_POSITION, LWIP_ROTATION, LWIP_SCALING})
            for (double at : {time, 0.0}) {
                double value[3];
                layout.scene.channelValue(item.id, param, at, value);
                for (double v : value)
                    if (!std::isfinite(v)) return false;
            }
    return true;
}

void Session::evaluate(double time) {
    handlers.evaluate(time);
    // A host whose own channels are not finite could be handed them back.
    if (!hostInputsFinite(time)) return;
    for (const host::MotionHandlers::Applied& applied : handlers.instances()) {
        const host::ItemMotion* motion = layout.motion.motionOf(applied.item);
        FUZZ_CHECK(motion, "item %X has an instance but was not evaluated", hex(applied.item));
        for (LWItemParam param : {LWIP_POSITION, LWIP_ROTATION, LWIP_SCALING}) {
            const double* value = motion->param(param);
            for (int axis = 0; axis < 3; ++axis)
                FUZZ_CHECK(std::isfinite(value[axis]), "item %X got a non-finite parameter %d[%d] at time %g",
                           hex(applied.item), param, axis, time);
        }
    }
}

void Session::checkSceneData(const host::SceneData& data) const {
    // The six values, then the muscle controls only when not at their defaults,
    // ending in the aim byte only for the shortest turn (1).
    static const char* const kTypes[] = {"U4", "U4", "U1", "U1", "FP", "FP", "U4", "FP", "U1", "FP", "FP", "FP", "U1"};
    static const std::size_t kCounts[] = {1, 1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 1, 1};
    static const double kLeast[] = {0, 0, 0, 0, 0, 0, kControlsMarker, 0, 0, 0, 0, 0, 1};
    static const double kMost[] = {0, 0, 1, 1, 0, 0, kControlsMarker, 10, 2, HUGE_VAL, HUGE_VAL, 1, 1};
    FUZZ_CHECK(data.size() == 6 || data.size() == 12 || data.size() == 13, "save made %zu writes, not 6, 12 or 13",
               data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        FUZZ_CHECK(data[i].type == kTypes[i] && data[i].values.size() == kCounts[i],
                   "save's write %zu is %zu of %s, not %zu of %s", i, data[i].values.size(), data[i].type.c_str(),
                   kCounts[i], kTypes[i]);
        for (double value : data[i].values) {
            FUZZ_CHECK(std::isfinite(value), "save wrote a non-finite %s", data[i].type.c_str());
            if (kMost[i] > 0)
                FUZZ_CHECK(value >= kLeast[i] && value <= kMost[i], "save's write %zu is %g, out of its range", i, value);
        }
    }
    if (data.size() == 12) {  // heading and pitch: some other control away from its default
        const bool defaults = data[7].values[0] == 1 && data[8].values[0] == 0 && data[9].values[0] == 0 &&
                              data[10].values[0] == 0 && data[11].values[0] == 1;
        FUZZ_CHECK(!defaults, "save wrote the muscle controls at their defaults");
    }
}

void Session::checkInstance(const host::MotionHandlers::Applied& applied) const {
    const host::MotionHandlers::Server& server = *applied.server;
    LWInstance instance = applied.instance;

    const LWItemID* items = server.item.useItems(instance);
    FUZZ_CHECK(items, "useItems gave no list");
    int end = 0;
    while (end < 3 && items[end]) ++end;
    FUZZ_CHECK(end < 3, "useItems lists more than the bone and its reference");
    for (int i = 0; i < end; ++i)
        FUZZ_CHECK(given(items[i]), "useItems lists %X, which the host never gave", hex(items[i]));

    // The list names the bone and reference the instance saves.
    FUZZ_CHECK(registryHeld(layout), "an instance lives but the block holds no registry");
    const host::SceneData saved = handlers.save(instance);
    FUZZ_CHECK(saved.size() >= 6 && saved[0].values.size() == 1 && saved[1].values.size() == 1,
               "the instance of item %X saves no bone and reference", hex(applied.item));
    // The list ends at the first 0: what the record holds after that is not shown.
    for (int i = 0; i < 2 && i <= end; ++i) {
        const unsigned savedItem = static_cast<unsigned>(saved[i].values[0]);
        FUZZ_CHECK(i < end ? savedItem == hex(items[i]) : savedItem == 0,
                   "the instance of item %X saves item %X where useItems lists another", hex(applied.item), savedItem);
    }

    const char* description = server.inst.descln(instance);
    FUZZ_CHECK(description, "descln gave no text");
    FUZZ_CHECK(strnlen(description, kDescriptionBuffer) < kDescriptionBuffer,
               "descln's text is not ended within %zu bytes", kDescriptionBuffer);

    const unsigned flags = server.table.flags(instance);
    FUZZ_CHECK(flags == 0 || flags == LWIMF_AFTERIK, "flags gave %u", flags);
}

void Session::checkRegistry() const {
    const std::size_t live = handlers.instances().size();
    if (live > 0)
        FUZZ_CHECK(registryHeld(layout), "%zu instances live but the block holds no registry", live);
    else
        FUZZ_CHECK(!registryHeld(layout) || registryMayBeUnused_, "no instance lives but the block holds a registry");
}

void Session::checkProblems() const {
    for (const std::string& problem : layout.problems())
        FUZZ_CHECK(isScriptMisfit(problem), "the host noted misuse: %s", problem.c_str());
}

void Session::checkAll() {
    for (const host::MotionHandlers::Applied& applied : handlers.instances()) checkInstance(applied);
    checkRegistry();
    checkProblems();
}

}  // namespace fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::module();
    return 0;
}
