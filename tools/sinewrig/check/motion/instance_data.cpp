#include "tools/sinewrig/check/motion/instance_data.h"

#include <cmath>
#include <sstream>
#include <vector>

#include "host/scene_file/scene_data.h"
#include "host/text/text_format.h"

namespace sinewrig_tool {

namespace {

constexpr int kFrames[] = {0, 1, 2, 15, 30};
// Of a value written, as a stream prints a number: enough to see what went wrong.
constexpr int kDigits = 6;

// "U4[1] FP[3]": the type and count of each write.
std::string writesOf(const host::SceneData& data) {
    std::string text;
    for (const host::SceneWrite& write : data)
        text += (text.empty() ? "" : " ") + write.type + "[" + std::to_string(write.values.size()) + "]";
    return text.empty() ? "nothing" : text;
}

bool allFinite(const host::SceneData& data) {
    for (const host::SceneWrite& write : data)
        for (double value : write.values)
            if (!std::isfinite(value)) return false;
    return true;
}

// The first line where two texts part, as "line / line".
std::string firstDifference(const std::string& a, const std::string& b) {
    std::istringstream left(a), right(b);
    std::string lineA, lineB;
    while (true) {
        const bool moreA = static_cast<bool>(std::getline(left, lineA));
        const bool moreB = static_cast<bool>(std::getline(right, lineB));
        if (!moreA) lineA = "(end)";
        if (!moreB) lineB = "(end)";
        if (lineA != lineB || (!moreA && !moreB)) return lineA + " / " + lineB;
    }
}

const char* paramName(LWItemParam param) {
    switch (param) {
    case LWIP_POSITION: return "position";
    case LWIP_ROTATION: return "rotation";
    case LWIP_SCALING: return "scaling";
    default: return nullptr;
    }
}

std::string describeWrite(const CheckScene& scene, const host::ParamWrite& write) {
    std::ostringstream text;
    const char* name = paramName(write.param);
    text << "setParam of " << (name ? name : "parameter " + std::to_string(write.param)) << " on "
         << scene.nameOf(write.item) << " at frame " << std::lround(write.time * host::MotionState::kFramesPerSecond)
         << ": (" << host::numberText(write.value[0], kDigits) << ", " << host::numberText(write.value[1], kDigits)
         << ", " << host::numberText(write.value[2], kDigits) << ")";
    return text.str();
}

}  // namespace

void checkSaveLoadSave(CheckReport& report, const CheckScene& scene, host::MotionHandlers& handlers,
                       const std::string& server, LWInstance instance) {
    const LWItemID item = handlers.find(instance)->item;
    const std::string on = " on " + scene.nameOf(item);
    const host::SceneData first = handlers.save(instance);
    report.check(allFinite(first), "save" + on + " wrote " + writesOf(first) +
                                       (allFinite(first) ? ", every value finite" : ", not every value finite"));
    LWInstance fresh = handlers.apply(server, item);
    if (!fresh) {
        report.fail("create of a fresh instance" + on + " to load into gave no instance");
        return;
    }
    host::LoadState state(first);
    const LWError error = handlers.load(fresh, state);
    report.check(!error, "load into a fresh instance" + on + (error ? ": " + quotedText(error) : ""));
    if (state.mismatches() > 0)
        report.fail("load asked " + std::to_string(state.mismatches()) + " times for another type than save wrote");
    if (!state.atEnd()) report.info("load left part of what save wrote unread");
    const std::string firstText = host::sceneDataLines(first);
    const std::string secondText = host::sceneDataLines(handlers.save(fresh));
    if (firstText == secondText)
        report.pass("save, load, save" + on + ": byte-identical");
    else
        report.fail("save, load, save" + on + ": the saves differ at " + firstDifference(firstText, secondText));
    handlers.remove(fresh);
}

void checkEvaluation(CheckReport& report, const CheckScene& scene, host::MotionHandlers& handlers) {
    std::vector<host::ParamWrite>& writes = scene.layout.motion.writes;
    writes.clear();
    std::string frames;
    for (int frame : kFrames) {
        handlers.evaluate(frame / host::MotionState::kFramesPerSecond);
        frames += " " + std::to_string(frame);
    }
    std::size_t unknown = 0, nonFinite = 0;
    const host::ParamWrite* firstUnknown = nullptr;
    const host::ParamWrite* firstNonFinite = nullptr;
    for (const host::ParamWrite& write : writes) {
        if (!paramName(write.param) && !unknown++) firstUnknown = &write;
        if (!(std::isfinite(write.value[0]) && std::isfinite(write.value[1]) && std::isfinite(write.value[2])) &&
            !nonFinite++)
            firstNonFinite = &write;
    }
    const std::string what = "evaluate frames" + frames + ": " + std::to_string(writes.size()) + " setParam calls";
    // Nothing written is nothing checked: a handler that moves nothing is not a pass.
    if (writes.empty()) report.info(what + ": the module wrote no channel, so its motion was not checked");
    else if (unknown == 0 && nonFinite == 0) report.pass(what + ", every value finite");
    if (nonFinite > 0)
        report.fail(what + ", " + std::to_string(nonFinite) + " not finite, the first " +
                    describeWrite(scene, *firstNonFinite));
    if (unknown > 0)
        report.fail(what + ", " + std::to_string(unknown) + " for an unknown parameter, the first " +
                    describeWrite(scene, *firstUnknown));
}

}  // namespace sinewrig_tool
