// The muscle controls from a rig file: set through each bone's options panel
// after ReadMuscle, they shape the muscles of examples/controls.json as the
// formulas say when set beside a plain muscle of the same geometry, survive
// the scene's round trip to the bit, and bad values are named.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "tests/sinewrig_outcome.h"
#include "tools/sinewrig/rig/rig_file.h"
#include "tools/sinewrig/road/road.h"

namespace {

namespace fs = std::filesystem;

const std::string kControls = std::string(SINEWRIG_SOURCE_DIR) + "/examples/controls.json";
constexpr double kTolerance = 1e-12;

// Every muscle's channels at every frame, by name.
struct Played {
    std::map<std::string, std::vector<sinewrig_tool::Channels>> byName;
    sinewrig_tool::RoadResult result;
};

Played play(const std::string& path) {
    sinewrig_tool::Rig rig;
    std::vector<std::string> warnings;
    std::string error;
    Played played;
    EXPECT_TRUE(sinewrig_tool::loadRig(path, rig, warnings, error)) << error;
    const std::string scene = ::testing::TempDir() + "controls_rig.lws";
    const auto status = sinewrig_tool::walkRoad(
        rig, rig.frames, SINEWRIG_MODULE_FILE, {scene, {}, "controls_rig.lwo"}, nullptr,
        [&](const sinewrig_tool::FrameSample& frame) {
            for (std::size_t m = 0; m < frame.muscles.size(); ++m)
                played.byName[played.result.muscles[m].name].push_back(frame.muscles[m]);
        },
        played.result, error);
    std::remove(scene.c_str());
    EXPECT_EQ(status, sinewrig_tool::RoadStatus::Done) << error;
    return played;
}

}  // namespace

TEST(MuscleControlsRig, EachControlShapesItsMuscleBesideThePlainOne) {
    Played played = play(kControls);
    EXPECT_TRUE(played.result.roundTripIdentical);
    const auto& plain = played.byName["Plain"];
    ASSERT_EQ(plain.size(), 49u);
    const double floor = double(float(0.85)), ceiling = double(float(1.03));
    bool held = false, passed = false;
    for (std::size_t f = 0; f < plain.size(); ++f) {
        SCOPED_TRACE("frame " + std::to_string(f));
        // Channels: heading, pitch, bank, then the scale x, y, z.
        const double z = plain[f][5], thin = plain[f][3];
        const auto& bulge = played.byName["Bulge"][f];
        EXPECT_NEAR(bulge[3], std::sqrt(std::pow(1 / z, 3.0)), kTolerance);
        EXPECT_NEAR(bulge[4], bulge[3], kTolerance);
        const auto& xOnly = played.byName["XOnly"][f];
        EXPECT_NEAR(xOnly[3], 1 / z, kTolerance);
        EXPECT_EQ(xOnly[4], 1.0);
        const auto& floored = played.byName["Floor"][f];
        EXPECT_NEAR(floored[5], std::max(z, floor), kTolerance);
        EXPECT_NEAR(floored[3], std::sqrt(1 / std::max(z, floor)), kTolerance);
        EXPECT_NEAR(floored[1], plain[f][1], kTolerance);  // still aimed at the target
        held = held || z < floor;
        const auto& half = played.byName["Half"][f];
        // The bone's own pitch is its rest pitch, where the plain muscle aims at frame 0.
        EXPECT_NEAR(half[1], plain[0][1] + 0.5 * (plain[f][1] - plain[0][1]), kTolerance);
        EXPECT_NEAR(half[3], 1 + 0.5 * (thin - 1), kTolerance);
        EXPECT_NEAR(half[5], 1 + 0.5 * (z - 1), kTolerance);
        const double stretched = played.byName["Triceps"][f][5];
        EXPECT_NEAR(played.byName["Ceiling"][f][5], std::min(stretched, ceiling), kTolerance);
        passed = passed || stretched > ceiling;
    }
    EXPECT_TRUE(held && passed) << "the example should reach both limits";
    for (const auto& muscle : played.result.muscles) {
        if (muscle.name == "Floor") {
            EXPECT_EQ(muscle.stretchMin, 0.85);
        }
    }
}

TEST(MuscleControlsRig, BadValuesAreNamedAndOutOfRangeOnesBroughtIn) {
    const fs::path folder = fs::path(::testing::TempDir()) / "sinewrig_controls_rig";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string rig = (folder / "rig.json").string(), csv = (folder / "out.csv").string();
    const std::string text = fileText(kControls);
    auto with = [&](const std::string& from, const std::string& to) {
        std::string changed = text;
        changed.replace(changed.find(from), from.size(), to);
        writeFileText(rig, changed);
        return runSinewrig({"run", rig, "--plugin", SINEWRIG_MODULE_FILE, "--quiet", "--csv", csv});
    };
    SinewrigOutcome run = with("\"volumeAxes\": \"x\"", "\"volumeAxes\": \"z\"");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("muscles[2].volumeAxes: \"z\" is not one of \"xy\", \"x\", \"y\""), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(csv));
    run = with("\"influence\": 0.5", "\"influence\": \"half\"");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("muscles[4].influence: must be a number"), std::string::npos) << run.err;
    run = with("\"bulge\": 3", "\"bulge\": 30");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("muscles[1].bulge: 30 is brought into its range, to 10"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("back bit for bit"), std::string::npos) << run.out;
    // A limit beyond what the scene's single precision holds is brought to its largest value.
    run = with("\"stretchMax\": 1.03", "\"stretchMax\": 1e39");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("stretchMax: 1e+39 is brought into its range, to 3.402823466e+38"), std::string::npos)
        << run.err;
    fs::remove_all(folder);
}

TEST(MuscleControlsRig, ProgressShowsTheStepThatSetsTheControls) {
    // Five of the seven muscles of the example have a control off its default.
    const std::string csv = ::testing::TempDir() + "controls_progress.csv";
    const SinewrigOutcome outcome = runSinewrig({"run", kControls, "--plugin", SINEWRIG_MODULE_FILE, "--csv", csv});
    std::remove(csv.c_str());
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::size_t readMuscle = outcome.err.find("sinewrig run: ReadMuscle\n");
    const std::size_t controls = outcome.err.find("sinewrig run: setting the muscle controls: 0 of 5\n");
    const std::size_t evaluating = outcome.err.find("sinewrig run: evaluating");
    ASSERT_NE(controls, std::string::npos) << outcome.err;
    EXPECT_LT(readMuscle, controls);
    EXPECT_LT(controls, evaluating);
}
