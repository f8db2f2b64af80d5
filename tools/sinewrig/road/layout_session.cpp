#include "tools/sinewrig/road/layout_session.h"

#include <array>
#include <cfloat>
#include <cmath>
#include <utility>
#include <vector>

#include "host/geometry/item_world.h"
#include "host/text/cp932.h"
#include "host/text/text_format.h"
#include "tools/sinewrig/common/angles.h"
#include "tools/sinewrig/rig/numbers.h"

namespace sinewrig_tool {

namespace {

// A key's value is the rest value plus the key's offset; each is within
// single precision, as the rig's reader saw, but their sum may not be.
bool withinScene(const Rig& rig, std::size_t key, const char* channel, int axis, double rest, double value,
                 std::string& error) {
    if (std::abs(value) <= FLT_MAX) return true;
    const RigKey& k = rig.keys[key];
    error = "keys[" + std::to_string(key) + "]." + channel + "[" + std::to_string(axis) + "]: the bone's rest value " +
            rigNumberText(rest) + " plus the key's " + rigNumberText(value - rest) + " is " + rigNumberText(value) +
            ", beyond what the host's scene file can hold (single precision, at most about 3.4e38), for bone " +
            host::quoted(k.bone) + " at frame " + rigNumberText(k.frame);
    return false;
}

}  // namespace

LayoutSession::LayoutSession(const host::ModuleFile& module)
    : handlers(std::make_unique<host::MotionHandlers>(*layout, module)) {
    layout->log.enabled = false;
}

LayoutSession::~LayoutSession() {
    handlers.reset();
    layout.reset();
}

namespace {

// The rig's chosen parents, as the artist sets them in Layout: each bone hung
// from its parent where it rests now, so the rest pose stays as the skelegons
// made it. Every place is taken before any bone moves to a new parent.
void hangFromChosenParents(const Rig& rig, LayoutSession& session) {
    host::Layout& layout = *session.layout;
    std::vector<std::pair<LWItemID, LWItemID>> hung;  // bone, parent bone
    for (const RigSkelegon& s : rig.skelegons) {
        if (!s.parent) continue;
        const LWItemID bone = session.bones.at(s.name), parent = session.bones.at(*s.parent);
        // A parent the tip already gave keeps the place Layout worked out.
        if (layout.scene.find(bone)->parent != parent) hung.emplace_back(bone, parent);
    }
    std::vector<host::RigidTransform> bonePlaces, parentPlaces;
    for (const auto& [bone, parent] : hung) {
        bonePlaces.push_back(host::itemWorldTransform(layout, bone, 0.0));
        parentPlaces.push_back(host::itemWorldTransform(layout, parent, 0.0));
    }
    for (std::size_t i = 0; i < hung.size(); ++i) {
        const host::RigidTransform local = host::compose(bonePlaces[i], host::inverse(parentPlaces[i]));
        const host::Vector3 hpb = host::hpbFromRotation(local.rotation);
        layout.scene.find(hung[i].first)->parent = hung[i].second;
        layout.scene.setValue(hung[i].first, LWIP_POSITION, local.translation.data());
        layout.scene.setValue(hung[i].first, LWIP_ROTATION, hpb.data());
    }
}

}  // namespace

bool buildLayout(const Rig& rig, const host::Modeler& modeler, LayoutSession& session, std::string& error) {
    host::Layout& layout = *session.layout;
    std::map<int, bool> layers;
    for (const RigSkelegon& s : rig.skelegons) layers[s.layer] = true;
    for (const auto& [layer, used] : layers) {
        std::string name;
        host::cp932FromUtf8(layer == rig.primaryLayer ? rig.object : rig.object + " layer " + std::to_string(layer), name);
        const auto& source = const_cast<host::MeshObject&>(modeler.object).layer(layer - 1);
        LWItemID object = layout.addObject(name, host::ObjectMesh::fromLayer(source));
        if (layer == rig.primaryLayer) session.object = object;
        session.objectLayers.emplace_back(object, layer);
        const std::vector<LWItemID> bones = layout.convertSkelegons(object);
        std::size_t next = 0;
        for (const RigSkelegon& s : rig.skelegons)
            if (s.layer == layer && next < bones.size()) session.bones[s.name] = bones[next++];
    }
    hangFromChosenParents(rig, session);
    // Keys are offsets from the rest pose the bones were made with.
    std::map<LWItemID, std::array<double, 6>> rest;
    for (const auto& [name, bone] : session.bones) {
        layout.scene.channelValue(bone, LWIP_POSITION, 0.0, &rest[bone][0]);
        layout.scene.channelValue(bone, LWIP_ROTATION, 0.0, &rest[bone][3]);
    }
    for (std::size_t i = 0; i < rig.keys.size(); ++i) {
        const RigKey& key = rig.keys[i];
        const LWItemID bone = session.bones.at(key.bone);
        const double time = key.frame / rig.fps;
        const std::array<double, 6>& at = rest[bone];
        if (key.position) {
            const double position[3] = {at[0] + (*key.position)[0], at[1] + (*key.position)[1], at[2] + (*key.position)[2]};
            for (int axis = 0; axis < 3; ++axis)
                if (!withinScene(rig, i, "position", axis, at[axis], position[axis], error)) return false;
            layout.scene.setKey(bone, LWIP_POSITION, time, position);
        }
        if (key.rotation) {
            const double rotation[3] = {at[3] + radians((*key.rotation)[0]), at[4] + radians((*key.rotation)[1]),
                                        at[5] + radians((*key.rotation)[2])};
            // In degrees, as the artist wrote it and the scene file holds it.
            for (int axis = 0; axis < 3; ++axis)
                if (!withinScene(rig, i, "rotation", axis, degrees(at[3 + axis]), degrees(rotation[axis]), error))
                    return false;
            layout.scene.setKey(bone, LWIP_ROTATION, time, rotation);
        }
    }
    return true;
}

}  // namespace sinewrig_tool
