// The stand-in Layout: an item scene and the services the module reaches
// through the global-lookup function, the selection, info messages, the
// Layout commands of "LayoutGeneric" servers and the panels. The most recently
// made (or activated) Layout is the active one, whose services the
// global-lookup function serves.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/layout/global_memory.h"
#include "host/layout/item_motion.h"
#include "host/layout/mesh_info.h"
#include "host/scene/scene.h"
#include "host/panels/panels.h"
#include "host/process/activatable.h"
#include "host/process/call_log.h"
#include "host/process/services.h"

namespace host {

class MotionHandlers;

// What the module showed through "Info Messages 2".
struct InfoMessage {
    std::string kind;                  // "info" or "error"
    std::optional<std::string> line1;  // null texts stay null
    std::optional<std::string> line2;
};

// A Layout command string a module issued through LWLayoutGeneric.evaluate.
struct CommandRun {
    std::string text;
    bool done = false;  // false: unknown or malformed, and nothing changed
};

class Layout : public Activatable<Layout> {
public:
    Layout();

    Scene scene;
    CallLog log;
    Services services;
    // Lives as long as the Layout: one Layout stands for one host process.
    GlobalMemory globalMemory;
    // The motions item motion handlers gave during the latest evaluation.
    MotionState motion;
    MeshViews meshViews;
    PanelServices panels;
    std::vector<InfoMessage> messages;
    std::vector<CommandRun> commands;
    // The handler hosting that "ApplyServer" applies servers with; set by MotionHandlers.
    MotionHandlers* motionHandlers = nullptr;

    // An object item whose mesh (and its tags) came from Modeler.
    LWItemID addObject(std::string name, std::shared_ptr<const ObjectMesh> mesh, LWItemID parent = nullptr);
    // Bones made from the object's skelegons as Layout makes them (see skelegon_bones.h).
    std::vector<LWItemID> convertSkelegons(LWItemID object);

    void select(std::vector<LWItemID> items);
    std::vector<LWItemID> selection() const;  // without the end 0

    // The local record of a "LayoutGeneric" server; its evaluate runs runCommand.
    LWLayoutGeneric* generic() { return &generic_; }
    // "SelectItem <hex item ID>", "ItemColor <n>", "ApplyServer ItemMotionHandler <server>";
    // logged in `commands`. True when the command was known and well formed.
    bool runCommand(const std::string& text);

    // What item info's param reports for an item at a time: the handlers'
    // result once they have run for it at that time, otherwise its channels.
    void itemParam(LWItemID id, LWItemParam param, LWTime time, double out[3]) const;

    // Misuse of the mesh views and panels, and mesh views never destroyed.
    std::vector<std::string> problems() const;

    // Makes this Layout, its services and its panels the ones the module reaches.
    void makeActive();

private:
    LWInterfaceInfo interfaceInfo_{};
    std::vector<LWItemID> selection_{nullptr};  // ended by 0, as selItems gives it
    LWLayoutGeneric generic_{};
};

}  // namespace host
