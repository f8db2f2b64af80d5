#include "host/modeler/mesh_edit.h"

namespace host {

MeshEdit::MeshEdit(MeshObject& object, std::vector<EditCall>& log) : object_(object), log_(log) {
    op.state = this;
    op.layerNum = object.primary().number;
    op.done = done;
    op.polyScan = polyScan;
    op.polTag = polTag;
    op.polyTag = polyTag;
}

void MeshEdit::done(EDStateRef state, EDError error, int selm) {
    MeshEdit& edit = from(state);
    edit.log_.push_back(EditCall{"done", nullptr, 0, std::nullopt, {error, selm}});
    if (edit.ended_) return;
    edit.ended_ = true;
    // An edit ended with an error is dropped, as the host undoes it.
    if (error == EDERR_NONE)
        for (const TagWrite& write : edit.pending_) edit.object_.polygon(write.polygon)->tags[write.tag] = write.text;
    edit.pending_.clear();
}

EDError MeshEdit::polyScan(EDStateRef state, EDPolyScanFunc* func, void* data, EltOpLayer layer) {
    MeshEdit& edit = from(state);
    edit.log_.push_back(EditCall{"polyScan", nullptr, 0, std::nullopt, {layer}});
    if (layer != OPLYR_PRIMARY || !func || edit.ended_) return kEditRefused;
    const MeshLayer& primary = edit.object_.primary();
    for (const auto& polygon : primary.polygons) {
        EDPolygonInfo info{};
        info.pol = polygon.get();
        info.layer = primary.number;
        info.flags = polygon->selected ? EDDF_SELECT : 0;
        info.numPnts = static_cast<int>(polygon->points.size());
        info.points = polygon->points.data();
        info.surface = polygon->surface.c_str();
        info.type = polygon->type;
        if (EDError result = func(data, &info)) return result;
    }
    return EDERR_NONE;
}

EDError MeshEdit::polTag(EDStateRef state, LWPolID polygon, LWID tag, const char* text) {
    MeshEdit& edit = from(state);
    edit.log_.push_back(
        EditCall{"polTag", polygon, tag, text ? std::optional<std::string>(text) : std::nullopt, {}});
    if (edit.ended_ || !text || !edit.object_.polygon(polygon)) return kEditRefused;
    edit.pending_.push_back(TagWrite{polygon, tag, text});
    return EDERR_NONE;
}

const char* MeshEdit::polyTag(EDStateRef state, LWPolID polygon, LWID tag) {
    MeshEdit& edit = from(state);
    edit.log_.push_back(EditCall{"polyTag", polygon, tag, std::nullopt, {}});
    return edit.object_.tag(polygon, tag);
}

}  // namespace host
