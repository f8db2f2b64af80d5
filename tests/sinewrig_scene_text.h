// Scenes for `sinewrig run SCENE.lws`, written by hand as the host writes
// them, and the tool's CSV read back into cells.
#pragma once

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "tests/lws_text.h"

namespace scene_text {

using lws_text::envelope;
using lws_text::kStill;
using lws_text::motion;

// A Sinewrig block: the bone, the reference (0: none), preserve volume,
// after IK, the rest length and the tip, as a host-written scene holds them.
inline std::string muscleBlock(const std::string& bone, const std::string& reference, const std::string& restLength) {
    return "Plugin ItemMotionHandler 1 Sinewrig\n" + bone + "\n" + reference + "\n0\n1\n" + restLength +
           "\n0 0 0\nEndPlugin\n";
}

// Frames 0 to 2 at 2 fps (0, 0.5 and 1 s). An object named by its file, which
// is nowhere on disk; the muscle Biceps on it, 2 long, resting along +z from
// the origin and aimed at a null that a linear key moves from (0, 0, 2) to
// (2, 0, 2) over the first second; Spare, a muscle without a reference; a
// light turned a quarter turn; a camera; and a null giving only its x.
// `adds` are the adding lines of the object, Biceps, the null, Spare, the
// light and the camera, and `numbers` those of Biceps, the null and Spare in
// the blocks, so that a version 4 scene can bake its own.
inline std::string armScene(int version = 3,
                            const std::array<std::string, 6>& adds = {"LoadObjectLayer 1 Objects/Rigs/arm.lwo",
                                                                      "AddBone", "AddNullObject Target, \"left\"",
                                                                      "AddBone", "AddLight", "AddCamera"},
                            const std::array<std::string, 3>& numbers = {"40000000", "10000001", "40010000"}) {
    return "LWSC\n" + std::to_string(version) +
           "\n\nFirstFrame 0\nLastFrame 2\nFrameStep 1\nPreviewFirstFrame 0\nPreviewLastFrame 2\n"
           "FramesPerSecond 2\n\n" +
           adds[0] + "\nShowObject 6 7\nObjectMotion\n" + motion(kStill) + "ShadowOptions 7\n\n" + adds[1] +
           "\nBoneName Biceps\nShowBone 1 -1 0.376471 0.878431 0.941176\nBoneActive 1\nBoneRestPosition 0 0 0\n"
           "BoneRestDirection 0 0 0\nBoneRestLength 2\nBoneMotion\n" +
           motion(kStill) + muscleBlock(numbers[0], numbers[1], "2") + "\n" + adds[3] +
           "\nBoneName Spare\nBoneRestPosition 0 0 2\nBoneRestDirection 0 0 0\nBoneRestLength 1\nBoneMotion\n" +
           motion(kStill) + muscleBlock(numbers[2], "0", "1") + "\n" + adds[2] + "\nObjectMotion\n" +
           motion({"0", "0", "2", "0", "0", "0", "1", "1", "1"}, {{{"0 0 3 0 0 0 0 0 0", "2 1 3 0 0 0 0 0 0"}}}) +
           "\nAddNullObject Bare\nObjectMotion\nNumChannels 1\nChannel 0\n" + envelope({"4 0 0 0 0 0 0 0 0"}) + "\n" +
           adds[4] + "\nLightName Key Light\nLightMotion\n" +
           motion({"0", "0", "0", "1.5707963267948966", "0", "0", "1", "1", "1"}) + "LightColor 1 1 1\n\n" + adds[5] +
           "\nCameraName Camera\nCameraMotion\n" + motion(kStill) + "ZoomFactor 3.2\n\nFrameSize 640 480\n";
}

// The cells of a CSV's rows (the header first), quoted cells unquoted.
inline std::vector<std::vector<std::string>> csvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string cell;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                cell += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                cell += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(cell);
            cell.clear();
        } else if (c == '\n') {
            row.push_back(cell);
            cell.clear();
            rows.push_back(row);
            row.clear();
        } else {
            cell += c;
        }
    }
    return rows;
}

}  // namespace scene_text
