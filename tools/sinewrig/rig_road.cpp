#include "tools/sinewrig/rig_road.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>

#include "host/geometry/item_world.h"
#include "host/layout/motion_handlers.h"
#include "host/scene_file/scene_file.h"
#include "host/modeler/modeler.h"
#include "host/text/cp932.h"
#include "host/process/module_file.h"

namespace sinewrig_tool {

namespace {

// Where a click lands in each column of SetMuscle's list, as an artist clicks.
constexpr int kReferenceX = 180, kPreserveVolumeX = 270, kAfterIKX = 330;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180.0;
constexpr int kPosesDrawn = 5;

const RigMuscle* muscleFor(const Rig& rig, const std::string& skelegon) {
    for (const RigMuscle& muscle : rig.muscles)
        if (muscle.skelegon == skelegon) return &muscle;
    return nullptr;
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
    // The host holds its texts in code page 932; the rig file holds them in UTF-8.
    for (const RigSkelegon& s : rig.skelegons) {
        std::string part;
        host::cp932FromUtf8(s.name, part);
        polygons.push_back(modeler.object.addSkelegon(s.layer - 1, part.c_str(), s.selected, s.pivot.data(), s.tip.data()));
    }

    // The list's rows are the selected skelegons of the primary layer; the
    // reference chooser offers every skelegon of it, both in layer order.
    std::vector<std::string> choices;
    for (const RigSkelegon& s : rig.skelegons)
        if (s.layer == rig.primaryLayer) choices.push_back(s.name);
    host::OpenScript list = host::pressOk();
    std::vector<host::OpenScript> choosers;
    int row = 0;
    for (const RigSkelegon& s : rig.skelegons) {
        if (s.layer != rig.primaryLayer || !s.selected) continue;
        if (const RigMuscle* muscle = muscleFor(rig, s.name)) {
            if (muscle->reference) {
                list.actions.push_back(host::clickCell(row, kReferenceX));
                int index = 0;
                while (choices[index] != *muscle->reference) ++index;
                choosers.push_back(host::pressOk({host::chooseItem(index)}));
            }
            if (muscle->preserveVolume) list.actions.push_back(host::clickCell(row, kPreserveVolumeX));
            if (!muscle->afterIK) list.actions.push_back(host::clickCell(row, kAfterIKX));
        }
        ++row;
    }
    modeler.panels.queue(std::move(list));
    for (host::OpenScript& chooser : choosers) modeler.panels.queue(std::move(chooser));

    modeler.makeActive();
    const int status = module.activate("CommandSequence", "SetMuscle", 3, host::Services::global(), &modeler.command);
    if (status != AFUNC_OK) {
        error = "SetMuscle gave activation result " + std::to_string(status);
        return false;
    }
    if (!modeler.panels.problems.empty() || modeler.panels.scriptsLeft() != 0) {
        error = "SetMuscle's panels did not go as an artist's clicks would: " +
                (modeler.panels.problems.empty() ? std::string("a panel never opened") : modeler.panels.problems[0]);
        return false;
    }
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
            const double rotation[3] = {at[3] + (*key.rotation)[0] * kRadiansPerDegree,
                                        at[4] + (*key.rotation)[1] * kRadiansPerDegree,
                                        at[5] + (*key.rotation)[2] * kRadiansPerDegree};
            layout.scene.setKey(bone, LWIP_ROTATION, time, rotation);
        }
    }
}

std::vector<MuscleBone> muscleBones(const LayoutSession& session) {
    std::vector<MuscleBone> muscles;
    for (const host::MotionHandlers::Applied& applied : session.handlers->instances()) {
        bool known = false;
        for (const MuscleBone& m : muscles) known = known || m.bone == applied.item;
        if (known) continue;
        const host::Item* item = session.layout->scene.find(applied.item);
        MuscleBone muscle;
        muscle.bone = applied.item;
        muscle.name = item ? host::utf8FromCp932(item->name) : "?";
        muscle.colour = item ? item->colour : -1;
        const std::vector<LWItemID> used = session.handlers->useItems(applied.instance);
        if (used.size() > 1)
            if (const host::Item* reference = session.layout->scene.find(used[1]))
                muscle.reference = host::utf8FromCp932(reference->name);
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

Target restTarget(const host::Layout& layout, const host::MotionHandlers& handlers, const MuscleBone& muscle) {
    Target target;
    auto instances = handlers.instancesOf(muscle.bone);
    const std::vector<LWItemID> used = instances.empty() ? std::vector<LWItemID>{} : handlers.useItems(instances[0]);
    if (used.size() < 2 || !layout.scene.find(used[1])) return target;
    target.reference = used[1];
    const host::Vector3 tip = host::apply(host::itemWorldTransform(layout, muscle.bone, 0.0),
                                          {0, 0, layout.scene.find(muscle.bone)->restLength});
    target.inReference = host::apply(host::inverse(host::itemWorldTransform(layout, target.reference, 0.0)), tip);
    return target;
}

PoseSample poseAt(const host::Layout& layout, const std::vector<MuscleBone>& muscles, const std::vector<Target>& targets,
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
        for (std::size_t m = 0; m < muscles.size(); ++m) {
            if (muscles[m].bone != item.id) continue;
            bone.muscle = true;
            if (targets[m].reference)
                bone.target = host::apply(host::itemWorldTransform(layout, targets[m].reference, time), targets[m].inReference);
        }
        pose.bones.push_back(bone);
    }
    return pose;
}

double distance(const host::Vector3& a, const host::Vector3& b) {
    return std::sqrt((a[0] - b[0]) * (a[0] - b[0]) + (a[1] - b[1]) * (a[1] - b[1]) + (a[2] - b[2]) * (a[2] - b[2]));
}

std::vector<FrameSample> evaluateFrames(LayoutSession& session, const std::vector<MuscleBone>& muscles,
                                        const Rig& rig, const FrameRange& frames, int pass, const Progress& progress,
                                        RoadResult* drawing) {
    std::vector<Target> targets;
    if (drawing)
        for (const MuscleBone& muscle : muscles) targets.push_back(restTarget(*session.layout, *session.handlers, muscle));
    std::vector<int> drawn;
    const int total = frames.count();
    for (int i = 0; i < kPosesDrawn && i < total; ++i)
        drawn.push_back(frames.start + frames.step * int((long long)(total - 1) * i / std::max(1, std::min(kPosesDrawn, total) - 1)));

    std::vector<FrameSample> samples;
    samples.reserve(static_cast<std::size_t>(total));
    for (int done = 0; done < total; ++done) {
        FrameSample sample;
        sample.frame = frames.start + done * frames.step;
        sample.time = sample.frame / rig.fps;
        session.handlers->evaluate(sample.time);
        for (const MuscleBone& muscle : muscles) sample.muscles.push_back(channelsOf(*session.layout, muscle.bone, sample.time));
        if (drawing) {
            PoseSample pose = poseAt(*session.layout, muscles, targets, sample.frame, sample.time);
            for (const BonePose& bone : pose.bones)
                if (bone.target) drawing->farthestFromTarget = std::max(drawing->farthestFromTarget, distance(bone.tip, *bone.target));
            if (std::find(drawn.begin(), drawn.end(), sample.frame) != drawn.end()) drawing->poses.push_back(std::move(pose));
        }
        samples.push_back(std::move(sample));
        if (progress) progress(pass, done + 1, total);
    }
    return samples;
}

}  // namespace

RoadStatus walkRoad(const Rig& rig, const FrameRange& frames, const std::string& plugin, const std::string& scenePath,
                    const Progress& progress, RoadResult& result, std::string& error) {
    std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(plugin, error);
    if (!module) return RoadStatus::ModuleUnusable;

    host::Modeler modeler;
    if (!tagSkelegons(rig, *module, modeler, result, error)) return RoadStatus::Failed;

    {
        LayoutSession session(*module);
        buildLayout(rig, modeler, session);
        session.layout->select({session.object});
        const int status = module->activate("LayoutGeneric", "ReadMuscle", 2, host::Services::global(),
                                            session.layout->generic());
        result.commands = session.layout->commands;
        if (status != AFUNC_OK) {
            error = "ReadMuscle gave activation result " + std::to_string(status);
            return RoadStatus::Failed;
        }
        result.muscles = muscleBones(session);
        result.frames = evaluateFrames(session, result.muscles, rig, frames, 1, progress, &result);
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
    if (!host::loadSceneFile(scenePath, *fresh.layout, *fresh.handlers, error)) return RoadStatus::Failed;
    const std::vector<FrameSample> again = evaluateFrames(fresh, result.muscles, rig, frames, 2, progress, nullptr);
    for (std::size_t f = 0; f < again.size(); ++f)
        for (std::size_t m = 0; m < again[f].muscles.size(); ++m)
            for (std::size_t c = 0; c < Channels().size(); ++c)
                if (std::memcmp(&again[f].muscles[m][c], &result.frames[f].muscles[m][c], sizeof(double)) != 0)
                    ++result.roundTripDifferences;
    result.roundTripIdentical = result.roundTripDifferences == 0;
    return RoadStatus::Done;
}

}  // namespace sinewrig_tool
