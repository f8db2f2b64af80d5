#include "tools/sinewrig/road/layout_session.h"

#include <array>

#include "host/text/cp932.h"
#include "tools/sinewrig/common/angles.h"

namespace sinewrig_tool {

LayoutSession::LayoutSession(const host::ModuleFile& module)
    : handlers(std::make_unique<host::MotionHandlers>(*layout, module)) {
    layout->log.enabled = false;
}

LayoutSession::~LayoutSession() {
    handlers.reset();
    layout.reset();
}

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
        session.objectLayers.emplace_back(object, layer);
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

}  // namespace sinewrig_tool
