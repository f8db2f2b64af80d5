// One Layout session of a rig in the stand-in: its objects, the bones Layout
// makes of their skelegons, and the rig's animation keyed on them.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/modeler/modeler.h"
#include "host/process/module_file.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

struct LayoutSession {
    std::unique_ptr<host::Layout> layout = std::make_unique<host::Layout>();
    std::unique_ptr<host::MotionHandlers> handlers;
    LWItemID object = nullptr;              // the primary layer's, which ReadMuscle works on
    std::map<std::string, LWItemID> bones;  // by skelegon name
    std::vector<std::pair<LWItemID, int>> objectLayers;  // each object and the layer (from 1) it holds

    // The call log is for tests of query orders; a whole rig's road has no use for it.
    explicit LayoutSession(const host::ModuleFile& module);
    LayoutSession(const LayoutSession&) = delete;
    LayoutSession& operator=(const LayoutSession&) = delete;
    ~LayoutSession();  // the instances go before their Layout
};

// An object per layer of the Modeler's object that has skelegons, its bones
// (hung from the rig's chosen parents, rest poses kept),
// and the rig's keys as offsets from the rest pose the bones were made with.
// False with `error` (the key's field, bone and frame) when a key's rest
// value plus its offset goes beyond single precision.
bool buildLayout(const Rig& rig, const host::Modeler& modeler, LayoutSession& session, std::string& error);

}  // namespace sinewrig_tool
