#include "tools/sinewrig/rig_road.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>

#include "host/geometry/item_world.h"
#include "host/layout/motion_handlers.h"
#include "host/scene_file/scene_file.h"
#include "host/modeler/modeler.h"
#include "host/text/cp932.h"
#include "host/process/module_file.h"
#include "tools/sinewrig/muscle_spin.h"
#include "tools/sinewrig/common/angles.h"
#include "tools/sinewrig/common/system_reason.h"
#include "tools/sinewrig/common/temporary_file.h"
#include "tools/sinewrig/rig/object_skelegons.h"
#include "tools/sinewrig/set_muscle_clicks.h"

namespace sinewrig_tool {

namespace {

constexpr int kPosesDrawn = 5;

void announce(const Progress& progress, const char* phase, long done, long total) {
    if (progress) progress(phase, done, total);
}

std::string tagText(const host::MeshObject& object, LWPolID polygon, LWID tag) {
    const char* text = object.tag(polygon, tag);
    return text ? host::utf8FromCp932(text) : "(none)";
}

// SetMuscle in the stand-in Modeler, with the clicks an artist makes for the rig's choices.
bool tagSkelegons(const Rig& rig, const host::ModuleFile& module, host::Modeler& modeler, RoadResult& result,
                  std::string& error) {
    modeler.object.primaryLayer = rig.primaryLayer - 1;
    std::vector<LWPolID> polygons;
    static const std::vector<RigSkelegon> kFromTheObject;
    if (!rig.objectFile.empty()) {
        std::vector<std::string> chosen;
        for (const RigMuscle& muscle : rig.muscles) chosen.push_back(muscle.skelegon);
        std::vector<RigSkelegon> skelegons;
        if (!loadObjectSkelegons(rig.objectFile, chosen, modeler.object, skelegons, polygons, error)) return false;
        for (std::size_t i = 0; i < polygons.size(); ++i) modeler.object.polygon(polygons[i])->selected = skelegons[i].selected;
        // Nothing to choose: the object's own tags are what ReadMuscle reads, as in Layout.
        if (rig.muscles.empty()) return result.tagsFromObject = true;
    }
    // The host holds its texts in code page 932; the rig file holds them in UTF-8.
    for (const RigSkelegon& s : rig.objectFile.empty() ? rig.skelegons : kFromTheObject) {
        std::string part;
        host::cp932FromUtf8(s.name, part);
        polygons.push_back(modeler.object.addSkelegon(s.layer - 1, part.c_str(), s.selected, s.pivot.data(), s.tip.data()));
    }

    // The list's rows are the selected skelegons of the primary layer; the
    // reference chooser offers every skelegon of it, both in layer order.
    std::map<std::string, int> choice;
    for (const RigSkelegon& s : rig.skelegons)
        if (s.layer == rig.primaryLayer) choice.emplace(s.name, static_cast<int>(choice.size()));
    std::map<std::string, const RigMuscle*> muscleFor;
    for (const RigMuscle& muscle : rig.muscles) muscleFor.emplace(muscle.skelegon, &muscle);
    SetMuscleClicks clicks;
    int row = 0;
    for (const RigSkelegon& s : rig.skelegons) {
        if (s.layer != rig.primaryLayer || !s.selected) continue;
        if (auto found = muscleFor.find(s.name); found != muscleFor.end())
            clicks.row(row, *found->second, found->second->reference ? choice.at(*found->second->reference) : -1);
        ++row;
    }
    if (!playSetMuscle(module, modeler, std::move(clicks), error)) return false;
    const auto& panels = modeler.panels.panels;
    const auto* table = panels.empty() || panels[0]->controls.empty()
                            ? nullptr
                            : dynamic_cast<const host::MultiListControl*>(panels[0]->controls[0].get());
    if (table) result.panelTable = host::utf8FromCp932(host::renderTable(table->view()));
    for (std::size_t i = 0; i < rig.skelegons.size(); ++i) {
        const RigSkelegon& s = rig.skelegons[i];
        if (s.layer != rig.primaryLayer || !s.selected) continue;
        result.tagsWritten.push_back(s.name + ": COLR " + tagText(modeler.object, polygons[i], LWID_('C', 'O', 'L', 'R')) +
                                     ", MTIP " + tagText(modeler.object, polygons[i], LWID_('M', 'T', 'I', 'P')) +
                                     ", MFLG " + tagText(modeler.object, polygons[i], LWID_('M', 'F', 'L', 'G')));
    }
    return true;
}

// One Layout session of the rig: its objects, bones and animation.
struct LayoutSession {
    std::unique_ptr<host::Layout> layout = std::make_unique<host::Layout>();
    std::unique_ptr<host::MotionHandlers> handlers;
    LWItemID object = nullptr;             // the primary layer's, which ReadMuscle works on
    std::map<std::string, LWItemID> bones;  // by skelegon name

    LayoutSession(const host::ModuleFile& module) : handlers(std::make_unique<host::MotionHandlers>(*layout, module)) {}
    ~LayoutSession() {
        handlers.reset();  // the instances go before their Layout
        layout.reset();
    }
};

void buildLayout(const Rig& rig, const host::Modeler& modeler, LayoutSession& session) {
    host::Layout& layout = *session.layout;
    std::map<int, bool> layers;
    for (const RigSkelegon& s : rig.skelegons) layers[s.layer] = true;
    for (const auto& [layer, used] : layers) {
        std::string name;
        host::cp932FromUtf8(layer == rig.primaryLayer ? rig.object : rig.object + " layer " + std::to_string(layer), name);
        const auto& source = const_cast<host::MeshObject&>(modeler.object).layer(layer - 1);
        LWItemID object = layout.addObject(name, host::ObjectMesh::fromLayer(source));
        if (layer == rig.primaryLayer) session.object = object;
        const std::vector<LWItemID> bones = layout.convertSkelegons(object);
        std::size_t next = 0;
        for (const RigSkelegon& s : rig.skelegons)
            if (s.layer == layer && next < bones.size()) session.bones[s.name] = bones[next++];
    }
    // Keys are offsets from the rest pose the bones were made with.
    std::map<LWItemID, std::array<double, 6>> rest;
    for (const auto& [name, bone] : session.bones) {
        layout.scene.channelValue(bone, LWIP_POSITION, 0.0, &rest[bone][0]);
        layout.scene.channelValue(bone, LWIP_ROTATION, 0.0, &rest[bone][3]);
    }
    for (const RigKey& key : rig.keys) {
        const LWItemID bone = session.bones.at(key.bone);
        const double time = key.frame / rig.fps;
        const std::array<double, 6>& at = rest[bone];
        if (key.position) {
            const double position[3] = {at[0] + (*key.position)[0], at[1] + (*key.position)[1], at[2] + (*key.position)[2]};
            layout.scene.setKey(bone, LWIP_POSITION, time, position);
        }
        if (key.rotation) {
            const double rotation[3] = {at[3] + radians((*key.rotation)[0]), at[4] + radians((*key.rotation)[1]),
                                        at[5] + radians((*key.rotation)[2])};
            layout.scene.setKey(bone, LWIP_ROTATION, time, rotation);
        }
    }
}

// The muscle controls the rig gives, set as an artist sets them: the bone's
// options panel opened in Layout, the popup and number fields filled, OK.
bool setMuscleControls(const Rig& rig, LayoutSession& session, std::vector<MuscleBone>& muscles, std::string& error) {
    std::unordered_map<std::string, MuscleBone*> byName;
    for (MuscleBone& m : muscles) byName.emplace(m.name, &m);
    for (const RigMuscle& muscle : rig.muscles) {
        if (!muscle.hasControls()) continue;
        auto found = byName.find(muscle.skelegon);
        if (found == byName.end()) continue;
        MuscleBone* bone = found->second;
        for (LWInstance instance : session.handlers->instancesOf(bone->bone)) {
            session.layout->panels.queue(host::pressOk({host::chooseItem(muscle.volumeAxes, 4),
                                                        host::enterFloat(5, muscle.bulge),
                                                        host::enterFloat(6, muscle.stretchMin),
                                                        host::enterFloat(7, muscle.stretchMax),
                                                        host::enterFloat(8, muscle.influence),
                                                        host::chooseItem(muscle.aim, 9)}));
            const host::MotionHandlers::Options options = session.handlers->openOptions(instance);
            const auto& panels = session.layout->panels;
            if (!options.called || options.error || !panels.problems.empty() || panels.scriptsLeft() != 0) {
                error = "the options panel of \"" + muscle.skelegon + "\" did not take its muscle controls" +
                        (panels.problems.empty() ? std::string() : ": " + panels.problems[0]);
                return false;
            }
        }
        bone->stretchMin = muscle.stretchMin;
        bone->stretchMax = muscle.stretchMax;
        bone->shortestTurn = muscle.aim == 1;
    }
    return true;
}

std::vector<MuscleBone> muscleBones(const LayoutSession& session) {
    std::vector<MuscleBone> muscles;
    std::set<LWItemID> known;
    for (const host::MotionHandlers::Applied& applied : session.handlers->instances()) {
        if (!known.insert(applied.item).second) continue;
        const host::Item* item = session.layout->scene.find(applied.item);
        MuscleBone muscle;
        muscle.bone = applied.item;
        muscle.name = item ? host::utf8FromCp932(item->name) : "?";
        muscle.colour = item ? item->colour : -1;
        const std::vector<LWItemID> used = session.handlers->useItems(applied.instance);
        if (used.size() > 1)
            if (const host::Item* reference = session.layout->scene.find(used[1])) {
                muscle.reference = host::utf8FromCp932(reference->name);
                muscle.referenceItem = used[1];
            }
        muscles.push_back(muscle);
    }
    return muscles;
}

Channels channelsOf(const host::Layout& layout, LWItemID bone, double time) {
    Channels c{};
    layout.itemParam(bone, LWIP_ROTATION, time, &c[0]);
    layout.itemParam(bone, LWIP_SCALING, time, &c[3]);
    layout.itemParam(bone, LWIP_POSITION, time, &c[6]);
    return c;
}

// A muscle's target as the stand-in sees it: the bone's rest tip, carried
// from time 0 by its reference's motion.
struct Target {
    LWItemID reference = nullptr;
    host::Vector3 inReference{};
};

Target restTarget(const host::Layout& layout, const MuscleBone& muscle) {
    Target target;
    if (!muscle.referenceItem || !layout.scene.find(muscle.referenceItem) || !layout.scene.find(muscle.bone)) return target;
    target.reference = muscle.referenceItem;
    const host::Vector3 tip = host::apply(host::itemWorldTransform(layout, muscle.bone, 0.0),
                                          {0, 0, layout.scene.find(muscle.bone)->restLength});
    target.inReference = host::apply(host::inverse(host::itemWorldTransform(layout, target.reference, 0.0)), tip);
    return target;
}

// Muscle index by bone, for the drawing.
using MuscleIndex = std::unordered_map<LWItemID, std::size_t>;

PoseSample poseAt(const host::Layout& layout, const MuscleIndex& muscleOf, const std::vector<Target>& targets,
                  int frame, double time) {
    PoseSample pose;
    pose.frame = frame;
    for (const host::Item& item : layout.scene.items()) {
        if (item.type != LWI_BONE) continue;
        BonePose bone;
        bone.name = host::utf8FromCp932(item.name);
        bone.colour = item.colour;
        const host::RigidTransform world = host::itemWorldTransform(layout, item.id, time);
        double scale[3];
        layout.itemParam(item.id, LWIP_SCALING, time, scale);
        bone.pivot = world.translation;
        bone.tip = host::apply(world, {0, 0, item.restLength * scale[2]});
        bone.thickness = scale[0];
        bone.up = host::rotate({0, 1, 0}, world.rotation);
        if (auto found = muscleOf.find(item.id); found != muscleOf.end()) {
            bone.muscle = true;
            const Target& target = targets[found->second];
            if (target.reference)
                bone.target = host::apply(host::itemWorldTransform(layout, target.reference, time), target.inReference);
        }
        pose.bones.push_back(bone);
    }
    return pose;
}

double distance(const host::Vector3& a, const host::Vector3& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

// How far the muscle's tip is from its target at a time; 0 without a reference.
double missedBy(const host::Layout& layout, const MuscleBone& muscle, const Target& target, double time) {
    if (!target.reference) return 0;
    const host::Item* item = layout.scene.find(muscle.bone);
    if (!item) return 0;
    double scale[3];
    layout.itemParam(muscle.bone, LWIP_SCALING, time, scale);
    const host::Vector3 tip = host::apply(host::itemWorldTransform(layout, muscle.bone, time), {0, 0, item->restLength * scale[2]});
    return distance(tip, host::apply(host::itemWorldTransform(layout, target.reference, time), target.inReference));
}

// The frames of the range the plot and the drawing use.
std::vector<int> spreadFrames(const FrameRange& frames, std::size_t most) {
    const long long total = frames.count();
    const long long taken = std::min<long long>(total, static_cast<long long>(most));
    std::vector<int> picked;
    for (long long i = 0; i < taken; ++i)
        picked.push_back(frames.start + frames.step * int(taken == 1 ? 0 : (total - 1) * i / (taken - 1)));
    return picked;
}

void plotFrame(LengthPlot& plot, const FrameSample& sample) {
    plot.frames.push_back(sample.frame);
    const bool own = sample.muscles.size() <= LengthPlot::kMusclesOwnSeries;
    if (own) plot.series.resize(sample.muscles.size());
    double low = 1, high = 1;
    for (std::size_t m = 0; m < sample.muscles.size(); ++m) {
        const double scale = sample.muscles[m][5];
        if (own) plot.series[m].push_back(scale);
        if (!std::isfinite(scale)) continue;
        if (m == 0 || scale < low) low = scale;
        if (m == 0 || scale > high) high = scale;
        if (scale < plot.lowestScale) plot.lowestScale = scale, plot.lowest = m;
        if (scale > plot.highestScale) plot.highestScale = scale, plot.highest = m;
    }
    plot.low.push_back(low);
    plot.high.push_back(high);
}

// The first pass writes each frame's channels to the round trip's spool, the
// second compares against them: neither keeps the frames in memory.
struct RoundTrip {
    std::FILE* file = nullptr;
    ~RoundTrip() {
        if (file) std::fclose(file);
    }
};

// Each muscle's spin about its length axis since the frame before: kept where
// it is the muscle's largest yet, and the largest since the last plotted frame.
void noteSpins(std::vector<MuscleBone>& muscles, const FrameSample& before, const FrameSample& sample,
               std::vector<double>& sincePlotted) {
    for (std::size_t m = 0; m < muscles.size() && m < sample.muscles.size(); ++m) {
        const Channels& was = before.muscles[m];
        const Channels& is = sample.muscles[m];
        const double spin = spinAboutLength(host::rotationFromHPB(was[0], was[1], was[2]),
                                            host::rotationFromHPB(is[0], is[1], is[2]));
        if (!std::isfinite(spin)) continue;
        sincePlotted[m] = std::max(sincePlotted[m], spin);
        if (spin > muscles[m].largestSpin) {
            muscles[m].largestSpin = spin;
            muscles[m].largestSpinFrame = sample.frame;
        }
    }
}

void plotSpins(SpinPlot& plot, std::vector<double>& sincePlotted) {
    const bool own = sincePlotted.size() <= LengthPlot::kMusclesOwnSeries;
    if (own) plot.series.resize(sincePlotted.size());
    double high = 0;
    for (std::size_t m = 0; m < sincePlotted.size(); ++m) {
        if (own) plot.series[m].push_back(sincePlotted[m]);
        high = std::max(high, sincePlotted[m]);
        sincePlotted[m] = 0;
    }
    plot.high.push_back(high);
}

bool evaluateFrames(LayoutSession& session, std::vector<MuscleBone>& muscles, const Rig& rig,
                    const FrameRange& frames, const char* phase, const Progress& progress, const FrameSink& sink,
                    std::FILE* spool, bool comparing, RoadResult& result) {
    std::vector<Target> targets;
    MuscleIndex muscleOf;
    if (!comparing) {
        for (std::size_t m = 0; m < muscles.size(); ++m) {
            targets.push_back(restTarget(*session.layout, muscles[m]));
            muscleOf.emplace(muscles[m].bone, m);
        }
    }
    const std::vector<int> drawn = spreadFrames(frames, kPosesDrawn);
    const std::vector<int> plotted = spreadFrames(frames, LengthPlot::kFrames);
    std::size_t nextDrawn = 0, nextPlotted = 0;

    const long total = frames.count();
    FrameSample sample, previous;
    std::vector<Channels> before(muscles.size());
    std::vector<double> spinSincePlotted(muscles.size(), 0.0);
    for (long done = 0; done < total; ++done) {
        if (!comparing) std::swap(previous, sample);
        sample.frame = frames.start + int(done) * frames.step;
        sample.time = sample.frame / rig.fps;
        session.handlers->evaluate(sample.time);
        sample.muscles.clear();
        for (const MuscleBone& muscle : muscles) sample.muscles.push_back(channelsOf(*session.layout, muscle.bone, sample.time));
        const std::size_t bytes = sample.muscles.size() * sizeof(Channels);
        if (comparing) {
            if (bytes && std::fread(before.data(), 1, bytes, spool) != bytes) return false;
            for (std::size_t m = 0; m < muscles.size(); ++m)
                for (std::size_t c = 0; c < Channels().size(); ++c)
                    if (std::memcmp(&sample.muscles[m][c], &before[m][c], sizeof(double)) != 0) ++result.roundTripDifferences;
        } else {
            if (bytes && std::fwrite(sample.muscles.data(), 1, bytes, spool) != bytes) return false;
            if (done > 0) noteSpins(muscles, previous, sample, spinSincePlotted);
            for (std::size_t m = 0; m < muscles.size(); ++m)
                result.farthestFromTarget =
                    std::max(result.farthestFromTarget, missedBy(*session.layout, muscles[m], targets[m], sample.time));
            if (nextDrawn < drawn.size() && drawn[nextDrawn] == sample.frame) {
                result.poses.push_back(poseAt(*session.layout, muscleOf, targets, sample.frame, sample.time));
                ++nextDrawn;
            }
            if (nextPlotted < plotted.size() && plotted[nextPlotted] == sample.frame) {
                plotFrame(result.plot, sample);
                plotSpins(result.spins, spinSincePlotted);
                ++nextPlotted;
            }
            if (sink) sink(sample);
        }
        announce(progress, phase, done + 1, total);
    }
    return true;
}

}  // namespace

RoadStatus walkRoad(const Rig& rig, const FrameRange& frames, const std::string& plugin, const std::string& scenePath,
                    const Progress& progress, const FrameSink& sink, RoadResult& result, std::string& error) {
    std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(plugin, error);
    if (!module) return RoadStatus::ModuleUnusable;

    host::Modeler modeler;
    announce(progress, "SetMuscle", 0, 1);
    if (!tagSkelegons(rig, *module, modeler, result, error)) return RoadStatus::Failed;
    announce(progress, "SetMuscle", 1, 1);

    const TemporaryFile channels("channels");
    const std::string& channelsPath = channels.path();
    RoundTrip spool;
    spool.file = std::fopen(channelsPath.c_str(), "w+b");
    if (!spool.file) {
        error = channelsPath + ": cannot be written (" + systemReason() + ")";
        return RoadStatus::Failed;
    }
    result.frameCount = frames.count();
    {
        LayoutSession session(*module);
        // The call log is for tests of query orders; a whole rig's road has no use for it.
        session.layout->log.enabled = false;
        announce(progress, "making the bones", 0, 1);
        buildLayout(rig, modeler, session);
        session.layout->select({session.object});
        announce(progress, "ReadMuscle", 0, 1);
        const int status = module->activate("LayoutGeneric", "ReadMuscle", 2, host::Services::global(),
                                            session.layout->generic());
        result.commands = session.layout->commands;
        if (status != AFUNC_OK) {
            error = "ReadMuscle gave activation result " + std::to_string(status);
            return RoadStatus::Failed;
        }
        announce(progress, "ReadMuscle", 1, 1);
        result.muscles = muscleBones(session);
        if (!setMuscleControls(rig, session, result.muscles, error)) return RoadStatus::Failed;
        if (!evaluateFrames(session, result.muscles, rig, frames, "evaluating", progress, sink, spool.file, false, result)) {
            error = channelsPath + ": cannot be written (" + systemReason() + ")";
            return RoadStatus::Failed;
        }
        announce(progress, "saving the scene", 0, 1);
        if (!host::saveSceneFile(scenePath, *session.layout, *session.handlers, error)) return RoadStatus::Failed;
        if (!session.layout->problems().empty()) {
            error = "the stand-in Layout saw a problem: " + session.layout->problems()[0];
            return RoadStatus::Failed;
        }
    }

    // A fresh host: a new Layout and the module file loaded again.
    module.reset();
    module = host::ModuleFile::load(plugin, error);
    if (!module) return RoadStatus::ModuleUnusable;
    LayoutSession fresh(*module);
    fresh.layout->log.enabled = false;
    announce(progress, "loading the scene", 0, 1);
    if (!host::loadSceneFile(scenePath, *fresh.layout, *fresh.handlers, error)) return RoadStatus::Failed;
    std::rewind(spool.file);
    if (!evaluateFrames(fresh, result.muscles, rig, frames, "evaluating the reloaded scene", progress, nullptr,
                        spool.file, true, result)) {
        error = channelsPath + ": cannot be read back";
        return RoadStatus::Failed;
    }
    result.roundTripIdentical = result.roundTripDifferences == 0;
    return RoadStatus::Done;
}

}  // namespace sinewrig_tool
