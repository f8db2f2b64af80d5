// The stand-in Modeler: one object, the services the module reaches through
// the global-lookup function, and the "CommandSequence" local record whose
// editBegin opens a MeshEdit. The most recently made Modeler is the active one.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/modeler/mesh_edit.h"
#include "host/modeler/mesh_object.h"
#include "host/panels/panels.h"
#include "host/process/activatable.h"
#include "host/process/services.h"

namespace host {

class Modeler : public Activatable<Modeler> {
public:
    Modeler();

    MeshObject object;
    Services services;  // "LWPanelServices"
    PanelServices panels;
    LWModCommand command{};  // the local record handed to a command's activation

    bool failEditBegin = false;  // editBegin then gives no MeshEditOp
    std::vector<std::unique_ptr<MeshEdit>> edits;
    std::vector<EditCall> calls;  // editBegin and every MeshEditOp call, in order

    std::vector<EditCall> callsTo(const std::string& function) const;

    // Makes this Modeler, its services and its panels the ones the module reaches.
    void makeActive();

private:
    static MeshEditOp* editBegin(int pntBuf, int polBuf, EltOpSelect select);
};

}  // namespace host
