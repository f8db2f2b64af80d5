#include "tools/sinewrig/scene/scene_run.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <unordered_map>

#include "abi/item_number.h"
#include "host/lws/load_scene.h"
#include "host/lws/scene_text.h"
#include "host/lws/write_scene.h"
#include "host/process/module_file.h"
#include "host/text/cp932.h"
#include "tools/sinewrig/common/module_headers.h"
#include "tools/sinewrig/common/module_kind.h"
#include "tools/sinewrig/common/output_file.h"
#include "tools/sinewrig/common/system_reason.h"
#include "tools/sinewrig/road/layout_session.h"
#include "tools/sinewrig/road/recording.h"
#include "tools/sinewrig/road/road.h"
#include "tools/sinewrig/road/spool.h"
#include "tools/sinewrig/run/frame_writers.h"
#include "tools/sinewrig/run/picture/picture.h"
#include "tools/sinewrig/run/progress.h"
#include "tools/sinewrig/run/report.h"
#include "tools/sinewrig/run/spool_stream.h"
#include "tools/sinewrig/scene/item_channels.h"
#include "tools/sinewrig/scene/item_channels_csv.h"
#include "tools/sinewrig/scene/muscle_bake.h"
#include "tools/sinewrig/scene/scene_outputs.h"
#include "tools/sinewrig/scene/scene_report.h"

namespace sinewrig_tool {

namespace {

// Without --table, the per-frame table is printed only for scenes this small (rows: frames times muscles).
constexpr long long kTableRowsUnasked = 2000;

std::string hex8(std::uint32_t number) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", number);
    return text;
}

// "line N: what" of the loader as "path:N: what", as the reader names lines.
std::string atSceneLine(const std::string& path, const std::string& error) {
    const std::string prefix = "line ";
    const std::size_t digits = error.find_first_not_of("0123456789", prefix.size());
    if (error.compare(0, prefix.size(), prefix) != 0 || digits == prefix.size() || digits == std::string::npos ||
        error.compare(digits, 2, ": ") != 0)
        return path + ": " + error;
    return path + ":" + error.substr(prefix.size());
}

// The scene's own range, when the tool's frame numbers can hold it.
bool sceneFrames(const host::lws::SceneSettings& settings, FrameRange& frames, std::string& error) {
    const long long first = settings.firstFrame, last = settings.lastFrame, step = settings.frameStep;
    const std::string range = "FirstFrame " + std::to_string(first) + ", LastFrame " + std::to_string(last) +
                              ", FrameStep " + std::to_string(step);
    if (first < INT_MIN || last > INT_MAX || step > INT_MAX) {
        error = range + ": frames beyond " + std::to_string(INT_MAX) + " are not run";
        return false;
    }
    if (step < 1 || last < first) {
        error = range + ": no frames to run; give --frames START:END[:STEP]";
        return false;
    }
    frames = {int(first), int(last), int(step)};
    return true;
}

class SceneRun {
public:
    SceneRun(const SceneRunOptions& options, Console console) : options_(options), console_(console) {}

    int go() {
        if (!read() || !stage()) return kExitBadInput;
        if (const int played = play(); played != kExitOk) return played;
        if (const int replayed = replay(); replayed != kExitOk) return replayed;
        if (!putOutputsInPlace()) return kExitBadInput;
        return report();
    }

private:
    bool refuse(const std::string& error) {
        console_.err << "sinewrig run: " << error << "\n";
        return false;
    }
    int fail(const std::string& error, int status) {
        refuse(error);
        return status;
    }

    // The scene, what of it is not run said once per plug-in, the frames and
    // the module file's headers.
    bool read() {
        std::string error;
        if (!host::lws::readSceneFile(options_.scene, scene_, error)) return refuse(error);
        for (const host::lws::NotRun& plugin : scene_.notRun)
            console_.err << "sinewrig run: warning: " << options_.scene << ":" << plugin.line << ": " << plugin.className
                         << " " << plugin.name << " is not run; its lines are kept as they are\n";
        fps_ = scene_.settings.framesPerSecond;
        if (options_.frames)
            frames_ = *options_.frames;
        else if (!sceneFrames(scene_.settings, frames_, error))
            return refuse(options_.scene + ": " + error);
        if (const std::string foreign = foreignModuleReason(options_.plugin); !foreign.empty())
            return refuse(options_.plugin + ": cannot be loaded: " + foreign);
        std::string cutShort;
        if (!headersFitFile(options_.plugin, cutShort))
            return refuse(options_.plugin + ": cannot be loaded: " + cutShort);
        for (const host::lws::SceneItem& item : scene_.items) {
            items_.push_back(itemFromNumber(item.number));
            csvItems_.push_back({csvCell(host::utf8FromCp932(item.name)), hex8(item.number)});
        }
        return true;
    }

    bool stage() {
        std::string error;
        if (!outputs_.stage(options_, error)) return refuse(error);
        report_ = outputs_.toStandardOutput() ? &console_.err : &console_.out;
        printSceneHeading(*report_, options_, scene_, frames_);
        std::size_t blocks = 0;
        for (const host::lws::PluginBlock& block : scene_.plugins) blocks += block.isSinewrig();
        tableRows_ = static_cast<long long>(frames_.count()) * static_cast<long long>(blocks);
        writers_.emplace(options_.csv, outputs_.csvSpool(), options_.table || tableRows_ <= kTableRowsUnasked);
        if (!outputs_.channelsSpool().empty()) channels_.open(options_.channels, outputs_.channelsSpool());
        return true;
    }

    // The scene in the stand-in with the module: the frames evaluated, each
    // written as it comes, and the scene written back and baked.
    int play() {
        std::string error;
        std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(options_.plugin, error);
        if (!module) return fail(error, kExitBadInput);
        LayoutSession session(*module);
        if (!host::lws::loadScene(scene_, *session.layout, *session.handlers, error))
            return fail(atSceneLine(options_.scene, error), kExitBadInput);
        road_.muscles = muscleBones(session);
        road_.frameCount = frames_.count();

        std::unordered_map<LWItemID, std::size_t> itemIndex;
        for (std::size_t i = 0; i < items_.size(); ++i) itemIndex.emplace(items_[i], i);
        std::vector<MuscleBake::Muscle> baked;
        for (const MuscleBone& muscle : road_.muscles) baked.push_back({itemNumber(muscle.bone), itemIndex.at(muscle.bone)});
        std::optional<MuscleBake> bake;
        if (!options_.bake.empty()) bake.emplace(baked, std::size_t(frames_.count()));

        ChannelSpool muscleSpool;
        if (!muscleSpool.open(error) || !itemSpool_.open(error)) return fail(error, kExitFailed);
        if (channels_.active()) channels_.text() += itemChannelsCsvHeader();
        bool spooled = true;
        std::vector<ItemChannels> channels;
        const FramePass pass{frames_, fps_,
                             options_.quiet ? Progress() : progressOn(console_)};
        const FrameSink sink = [&](const FrameSample& frame) {
            writers_->write(road_.muscles, frame);
            readItemChannels(*session.layout, items_, frame.time, channels);
            spooled = itemSpool_.write(channels) && spooled;
            if (channels_.active()) {
                appendItemChannelsCsv(channels_.text(), csvItems_, frame.frame, frame.time, channels);
                channels_.writeWhenLarge();
            }
            if (bake) bake->add(frame.time, channels);
        };
        if (!recordFrames(session, pass, sink, muscleSpool, road_) || !spooled)
            return fail("the frames' spool cannot be written (" + systemReason() + ")", kExitFailed);
        if (!session.layout->problems().empty())
            return fail("the stand-in Layout saw a problem: " + session.layout->problems()[0], kExitFailed);

        pass.announce("writing the scene", 0, 1);
        const std::string writtenName = options_.writtenScene.empty() ? "the scene written back" : options_.writtenScene;
        if (!writeSceneFile(outputs_.writtenScenePath(), writtenName, {session.handlers.get(), {}}, error))
            return fail(error, kExitBadInput);
        if (bake) {
            pass.announce("baking", 0, 1);
            host::lws::SceneChanges changes;
            changes.bakes = bake->take();
            if (!writeSceneFile(outputs_.bakeSpool(), options_.bake, changes, error)) return fail(error, kExitBadInput);
        }
        // The scene read is done with: the fresh host reads the one written back.
        scene_ = host::lws::SceneText();
        return kExitOk;
    }

    // Into `path`; a failure names the file as the user knows it, `name`.
    bool writeSceneFile(const std::string& path, const std::string& name, const host::lws::SceneChanges& changes,
                        std::string& error) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (!out || !host::lws::writeScene(scene_, changes, out, error) || !out.flush()) {
            if (error.empty()) error = "cannot be written (" + systemReason() + ")";
            error = name + ": " + error;
            return false;
        }
        return true;
    }

    // The scene written back, in a fresh host with the module file loaded
    // again: every item's channels at every frame against the first pass's.
    int replay() {
        std::string error;
        std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(options_.plugin, error);
        if (!module) return fail(error, kExitBadInput);
        LayoutSession fresh(*module);
        host::lws::SceneText written;
        if (!host::lws::readSceneFile(outputs_.writtenScenePath(), written, error) ||
            !host::lws::loadScene(written, *fresh.layout, *fresh.handlers, error))
            return fail("the scene written back cannot be loaded: " + error, kExitFailed);
        std::vector<LWItemID> items;
        for (const host::lws::SceneItem& item : written.items) items.push_back(itemFromNumber(item.number));
        if (items != items_) return fail("the scene written back does not hold the scene's items", kExitFailed);

        const FramePass pass{frames_, fps_,
                             options_.quiet ? Progress() : progressOn(console_)};
        itemSpool_.rewind();
        std::vector<ItemChannels> now, before(items.size());
        const long total = frames_.count();
        for (long done = 0; done < total; ++done) {
            const double time = pass.frameAt(done) / pass.fps;
            fresh.handlers->evaluate(time);
            readItemChannels(*fresh.layout, items, time, now);
            if (!itemSpool_.read(before)) return fail(itemSpool_.path() + ": cannot be read back", kExitFailed);
            for (std::size_t i = 0; i < items.size(); ++i)
                for (std::size_t c = 0; c < now[i].size(); ++c)
                    if (std::memcmp(&now[i][c], &before[i][c], sizeof(double)) != 0) ++road_.roundTripDifferences;
            pass.announce("evaluating the scene written back", done + 1, total);
        }
        road_.roundTripIdentical = road_.roundTripDifferences == 0;
        return kExitOk;
    }

    bool putOutputsInPlace() {
        std::string error;
        if (!writers_->closeCsv(error)) return refuse(error);
        if (channels_.active() && !channels_.close(error)) return refuse(error);
        if (!outputs_.svgSpool().empty() &&
            !writeTextFile(outputs_.svgSpool(), rigSvg(options_.scene, road_), error))
            return refuse(options_.svg + ": cannot be written (" + systemReason() + ")");
        if (!outputs_.commit(console_.out, error)) return refuse(error);
        return true;
    }

    int report() {
        std::ostream& out = *report_;
        printSceneMuscles(out, road_);
        if (!road_.muscles.empty()) writers_->printTable(out, tableRows_);
        printSpins(out, road_);
        printSceneOutcome(out, road_, items_.size(), options_);
        return road_.roundTripIdentical ? kExitOk : kExitFailed;
    }

    const SceneRunOptions& options_;
    Console console_;
    host::lws::SceneText scene_;
    FrameRange frames_;
    double fps_ = 30;
    std::vector<LWItemID> items_;  // in scene order
    std::vector<CsvItem> csvItems_;
    SceneOutputs outputs_;
    std::ostream* report_ = nullptr;
    long long tableRows_ = 0;
    std::optional<FrameWriters> writers_;
    SpoolStream channels_;
    ChannelSpool itemSpool_;
    RoadResult road_;
};

}  // namespace

bool isSceneFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    char start[16] = {};
    file.read(start, sizeof start);
    return host::lws::startsAsScene(std::string_view(start, static_cast<std::size_t>(file.gcount())));
}

int runScene(const SceneRunOptions& options, Console console) { return SceneRun(options, console).go(); }

}  // namespace sinewrig_tool
