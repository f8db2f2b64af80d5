// One mesh edit of the stand-in Modeler, served to the module as a
// MeshEditOp over the object's primary layer. Tag writes wait until `done`
// commits the edit; reads see the object as it stands. Every call is logged.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/modeler/mesh_object.h"
#include "abi/lw_host.h"

namespace host {

// The stand-in's error for a call it cannot serve (a layer other than the
// primary, an unknown polygon, a write after `done`).
constexpr EDError kEditRefused = 1;

struct EditCall {
    std::string function;  // "editBegin", "polyScan", "polyTag", "polTag", "done"
    LWPolID polygon = nullptr;
    LWID tag = 0;
    std::optional<std::string> text;  // polTag's text; empty when the module passed null
    std::vector<int> args;            // editBegin: pntBuf, polBuf, select; polyScan: layer; done: error, selm
};

class MeshEdit {
public:
    MeshEdit(MeshObject& object, std::vector<EditCall>& log);
    MeshEdit(const MeshEdit&) = delete;
    MeshEdit& operator=(const MeshEdit&) = delete;

    MeshEditOp op{};  // the record handed to the module; its state is this edit
    bool ended() const { return ended_; }

private:
    struct TagWrite {
        LWPolID polygon;
        LWID tag;
        std::string text;
    };

    static MeshEdit& from(EDStateRef state) { return *static_cast<MeshEdit*>(state); }
    static void done(EDStateRef state, EDError error, int selm);
    static EDError polyScan(EDStateRef state, EDPolyScanFunc* func, void* data, EltOpLayer layer);
    static EDError polTag(EDStateRef state, LWPolID polygon, LWID tag, const char* text);
    static const char* polyTag(EDStateRef state, LWPolID polygon, LWID tag);

    MeshObject& object_;
    std::vector<EditCall>& log_;
    std::vector<TagWrite> pending_;
    bool ended_ = false;
};

}  // namespace host
