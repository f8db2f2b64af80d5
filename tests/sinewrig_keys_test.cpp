// How `sinewrig run` keys a rig's bones, seen through the muscle's channels
// in its CSV: every bone starts with a key of its rest pose at frame 0, as
// the host gives every new item; a key at frame 0 takes that key's place;
// values hold before the first key and after the last.
//
// The arm's Biceps (pivot (0, 1.44, 0.04), rest tip (0, 1.435, 0.34))
// reaches for its rest tip carried by the ForeArm (pivot (0, 1.40, 0.30)).
// Worked by hand: at rest its pitch is atan(0.005 / 0.30) = 0.95484 degrees
// and its length scale 1; with the ForeArm pitched -90 degrees the tip's
// offset (0, 0.035, 0.04) from the ForeArm's pivot turns to (0, 0.04,
// -0.035), the target is (0, 1.44, 0.265), straight ahead: pitch 0 and scale
// 0.225 / 0.300042 = 0.749896; pitched -45 degrees, the target is
// (0, 1.453033, 0.303536): pitch -2.83123 and scale 0.879403.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "tests/sinewrig_outcome.h"

namespace {

struct Pose {
    double pitch = 0, scaleZ = 0;
};

constexpr double kRestPitch = 0.95484;
constexpr double kPitchedPitch = 0.0, kPitchedScale = 0.749896;
constexpr double kHalfwayPitch = -2.83123, kHalfwayScale = 0.879403;
// The object file holds the skelegons in single precision.
constexpr double kDegrees = 2e-4, kScale = 2e-6;

// The arm with its own keys replaced by `keys`, over `start` to `end`.
std::string armKeyed(const std::string& keys, int start, int end) {
    return R"({"object": "Arm", "fps": 24, "frames": {"start": )" + std::to_string(start) + ", \"end\": " +
           std::to_string(end) + R"(},
  "skelegons": [
    {"name": "UpperArm", "pivot": [0, 1.40, 0.00], "tip": [0, 1.40, 0.30]},
    {"name": "ForeArm", "pivot": [0, 1.40, 0.30], "tip": [0, 1.40, 0.56]},
    {"name": "Biceps", "pivot": [0, 1.44, 0.04], "tip": [0, 1.435, 0.34], "selected": true}
  ],
  "muscles": [{"skelegon": "Biceps", "reference": "ForeArm"}],
  "keys": [)" + keys + "]}\n";
}

// The Biceps' pitch and length scale by frame, from the run's CSV.
std::map<int, Pose> bicepsByFrame(const std::string& rig) {
    const std::string path = ::testing::TempDir() + "sinewrig_keys_rig.json";
    writeFileText(path, rig);
    const SinewrigOutcome outcome = runSinewrig({"run", path, "--plugin", SINEWRIG_MODULE_FILE, "--quiet", "--csv", "-"});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    std::map<int, Pose> poses;
    std::istringstream lines(outcome.out);
    std::string line;
    std::getline(lines, line);  // the heading
    while (std::getline(lines, line)) {
        // frame, time, bone, heading, pitch, bank, scale x, scale y, scale z
        std::vector<std::string> cells;
        std::istringstream row(line);
        for (std::string cell; std::getline(row, cell, ',');) cells.push_back(cell);
        if (cells.size() != 9 || cells[2] != "\"Biceps\"") continue;
        poses[std::stoi(cells[0])] = Pose{std::stod(cells[4]), std::stod(cells[8])};
    }
    return poses;
}

void expectPose(const std::map<int, Pose>& poses, int frame, double pitch, double scaleZ) {
    const auto at = poses.find(frame);
    ASSERT_NE(at, poses.end()) << "no row for frame " << frame;
    EXPECT_NEAR(at->second.pitch, pitch, kDegrees) << "frame " << frame;
    EXPECT_NEAR(at->second.scaleZ, scaleZ, kScale) << "frame " << frame;
}

}  // namespace

TEST(Keys, ASingleKeyMovesTheBoneFromItsRestKeyAtFrameZeroAndHoldsAfter) {
    const auto poses = bicepsByFrame(armKeyed(R"({"bone": "ForeArm", "frame": 10, "rotation": [0, -90, 0]})", 0, 14));
    ASSERT_EQ(poses.size(), 15u);
    expectPose(poses, 0, kRestPitch, 1.0);
    expectPose(poses, 5, kHalfwayPitch, kHalfwayScale);
    for (const int frame : {10, 11, 14}) expectPose(poses, frame, kPitchedPitch, kPitchedScale);
}

TEST(Keys, AKeyAtFrameZeroTakesTheRestKeysPlace) {
    // The pose at frame 0 is the rest every muscle is measured in: pitched,
    // and held so to the key at 10, the Biceps stays at its rest throughout.
    const auto poses = bicepsByFrame(armKeyed(R"({"bone": "ForeArm", "frame": 0, "rotation": [0, -90, 0]},
                                                  {"bone": "ForeArm", "frame": 10, "rotation": [0, -90, 0]})",
                                              0, 14));
    ASSERT_EQ(poses.size(), 15u);
    for (const int frame : {0, 5, 10, 14}) expectPose(poses, frame, kRestPitch, 1.0);
}

TEST(Keys, ValuesHoldBeforeTheFirstKeyAndAfterTheLast) {
    // A key at -10 comes before the rest key at 0, which is then the last.
    const auto poses = bicepsByFrame(armKeyed(R"({"bone": "ForeArm", "frame": -10, "rotation": [0, -90, 0]})", -20, 4));
    ASSERT_EQ(poses.size(), 25u);
    for (const int frame : {-20, -15, -10}) expectPose(poses, frame, kPitchedPitch, kPitchedScale);
    expectPose(poses, -5, kHalfwayPitch, kHalfwayScale);
    for (const int frame : {0, 2, 4}) expectPose(poses, frame, kRestPitch, 1.0);
}
