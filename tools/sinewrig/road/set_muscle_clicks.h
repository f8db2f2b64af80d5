// SetMuscle run in the stand-in Modeler with the clicks an artist makes for a
// list of muscle choices.
#pragma once

#include <string>
#include <vector>

#include "host/modeler/modeler.h"
#include "host/panels/panel_script.h"
#include "host/process/module_file.h"
#include "tools/sinewrig/rig/rig.h"

namespace sinewrig_tool {

// The artist's clicks in SetMuscle's list, and the choosers they open.
struct SetMuscleClicks {
    host::OpenScript list = host::pressOk();
    std::vector<host::OpenScript> choosers;

    // One row's choices: `reference` is the chooser's index of the muscle's
    // reference (-1: none).
    void row(int row, const RigMuscle& muscle, int reference);
};

// Queues the clicks and runs SetMuscle. False with `error` when it does not
// run as the artist's clicks would.
bool playSetMuscle(const host::ModuleFile& module, host::Modeler& modeler, SetMuscleClicks clicks, std::string& error);

// Selects exactly the skelegons of the primary layer that `muscles` name (by
// PART, or BONE when they have none) and runs SetMuscle on them.
bool runSetMuscle(const host::ModuleFile& module, host::Modeler& modeler, const std::vector<RigMuscle>& muscles,
                  std::string& error);

}  // namespace sinewrig_tool
