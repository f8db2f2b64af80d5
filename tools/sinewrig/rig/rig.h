// A muscle rig as a rig file describes it: an object's skelegons, the choices
// the artist makes for its muscles in SetMuscle, the bones' animation and the
// frames to play (docs/rig-format.md). rig_file.h reads one.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "format/control_values.h"

namespace sinewrig_tool {

using Point3 = std::array<double, 3>;

struct RigSkelegon {
    std::string name;  // its PART tag, and the name of the bone made from it
    Point3 pivot{}, tip{};
    bool selected = false;  // selected skelegons are the rows of SetMuscle's panel
    int layer = 1;          // from 1, as the artist sees the layers
    // The skelegon of the layer whose bone this one's hangs from, in place of
    // the one whose tip is its pivot (rig/skelegon_parents.h).
    std::optional<std::string> parent;
};

// What the artist sets for one selected skelegon in SetMuscle's panel.
struct RigMuscle {
    std::string skelegon;
    std::optional<std::string> reference;  // a skelegon of the primary layer
    bool preserveVolume = false;
    bool afterIK = true;
    // The muscle controls, set in the bone's options panel in Layout after
    // ReadMuscle, as the artist would; at these defaults the panel is not opened.
    int volumeAxes = sinewrig::kDefaultVolumeAxes;  // sinewrig::VolumeAxes, the popup's item
    double bulge = sinewrig::kBulgeRange.byDefault;
    double stretchMin = sinewrig::kStretchRange.byDefault, stretchMax = sinewrig::kStretchRange.byDefault;
    double influence = sinewrig::kInfluenceRange.byDefault;
    int aim = sinewrig::kDefaultAim;  // sinewrig::Aim, the popup's item
    bool hasControls() const {
        return volumeAxes != sinewrig::kDefaultVolumeAxes || bulge != sinewrig::kBulgeRange.byDefault ||
               stretchMin != sinewrig::kStretchRange.byDefault || stretchMax != sinewrig::kStretchRange.byDefault ||
               influence != sinewrig::kInfluenceRange.byDefault || aim != sinewrig::kDefaultAim;
    }
};

// A key on a bone's position (host units) and/or rotation (heading, pitch,
// bank in degrees) at a frame, as offsets from the rest pose the bone was
// made with, in its parent's frame.
struct RigKey {
    std::string bone;
    double frame = 0;
    std::optional<Point3> position, rotation;
};

struct FrameRange {
    int start = 0, end = 0, step = 1;
    int count() const { return (end - start) / step + 1; }
};

struct Rig {
    std::string object = "Rig";
    int primaryLayer = 1;
    double fps = 30;
    FrameRange frames;
    std::vector<RigSkelegon> skelegons;
    std::string objectFile;  // when the skelegons come from an object file: its path
    std::vector<RigMuscle> muscles;
    std::vector<RigKey> keys;
};

}  // namespace sinewrig_tool
