// The aim from a rig file, and the run's report of how far each muscle spins
// about its own length axis from frame to frame: the spin measured on turns
// worked out by hand, examples/vertical.json played with both aims, and the
// report kept short for a large rig.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "host/geometry/rigid_transform.h"
#include "tests/scratch_folder.h"
#include "tools/sinewrig/road/spin.h"
#include "tools/sinewrig/rig/rig_file.h"
#include "tools/sinewrig/road/road.h"

namespace {

using sinewrig_tool::spinAboutLength;

const std::string kVertical = std::string(SINEWRIG_SOURCE_DIR) + "/examples/vertical.json";
constexpr double kDegree = 3.14159265358979323846 / 180;

host::Rotation3 turn(double heading, double pitch, double bank) {
    return host::rotationFromHPB(heading * kDegree, pitch * kDegree, bank * kDegree);
}

}  // namespace

TEST(MuscleSpin, IsTheTwistAboutTheBonesOwnLengthAxisOfTheTurnBetweenTwoFrames) {
    const host::Rotation3 from = turn(30, -20, 10);
    // Banking further spins the bone by as much; pitching or heading alone
    // only swings it when it lies level and unbanked.
    EXPECT_NEAR(spinAboutLength(from, turn(30, -20, 35)), 25.0, 1e-9);
    EXPECT_NEAR(spinAboutLength(turn(0, 10, 0), turn(0, 50, 0)), 0.0, 1e-9);
    EXPECT_NEAR(spinAboutLength(turn(10, 0, 0), turn(70, 0, 0)), 0.0, 1e-9);
    // Pointing straight up (pitch -90), a change of heading is a spin about the length.
    EXPECT_NEAR(spinAboutLength(turn(0, -90, 0), turn(40, -90, 0)), 40.0, 1e-9);
    // Half a turn about the length, and none at all.
    EXPECT_NEAR(spinAboutLength(from, turn(30, -20, 190)), 180.0, 1e-6);
    EXPECT_NEAR(spinAboutLength(from, from), 0.0, 1e-6);
    // A swing of 70 degrees about the bone's own X after a twist of 15 degrees:
    // rows are where the bone's axes go, so the twist comes first.
    const double c = std::cos(70 * kDegree), s = std::sin(70 * kDegree);
    const host::Rotation3 swing = {{{1, 0, 0}, {0, c, s}, {0, -s, c}}};
    const host::Rotation3 twisted = host::multiply(turn(0, 0, 15), host::multiply(swing, from));
    EXPECT_NEAR(spinAboutLength(from, twisted), 15.0, 1e-9);
}

class AimRig : public ScratchFolder {};

TEST_F(AimRig, TheVerticalExampleSpinsItsHeadingAndPitchMuscleAndNotItsShortestTurn) {
    sinewrig_tool::Rig rig;
    std::vector<std::string> warnings;
    std::string error;
    ASSERT_TRUE(sinewrig_tool::loadRig(kVertical, rig, warnings, error)) << error;
    ASSERT_EQ(rig.muscles.size(), 2u);
    EXPECT_EQ(rig.muscles[0].aim, 0);
    EXPECT_EQ(rig.muscles[1].aim, 1);
    sinewrig_tool::RoadResult road;
    const auto status = sinewrig_tool::walkRoad(rig, rig.frames, SINEWRIG_MODULE_FILE,
                                                {file("vertical.lws"), {}, "vertical.lwo"}, nullptr, nullptr, road, error);
    ASSERT_EQ(status, sinewrig_tool::RoadStatus::Done) << error;
    EXPECT_TRUE(road.roundTripIdentical);
    EXPECT_LT(road.farthestFromTarget, 1e-9);  // both aim at their targets
    ASSERT_EQ(road.muscles.size(), 2u);
    EXPECT_EQ(road.muscles[0].name, "HeadingPitch");
    EXPECT_GT(road.muscles[0].largestSpin, 30.0);
    EXPECT_FALSE(road.muscles[0].shortestTurn);
    EXPECT_EQ(road.muscles[1].name, "ShortestTurn");
    EXPECT_LT(road.muscles[1].largestSpin, 0.1);
    EXPECT_TRUE(road.muscles[1].shortestTurn);

    const SinewrigOutcome run = runSinewrig({"run", kVertical, "--plugin", SINEWRIG_MODULE_FILE, "--quiet"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("largest spin of each muscle about its own length axis from one frame to the next:\n"
                           "  HeadingPitch "),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("(shortest turn)\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 muscle(s) spin more than 10° about their length axis in one frame: HeadingPitch.\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("\"aim\": \"shortestTurn\""), std::string::npos) << run.out;
}

TEST_F(AimRig, AnAimThatIsNotOneOfTheTwoIsNamed) {
    std::string text = fileText(kVertical);
    text.replace(text.find("\"shortestTurn\"}"), 15, "\"sideways\"}");
    const std::string rig = write("rig.json", text), csv = file("out.csv");
    const SinewrigOutcome run = runSinewrig({"run", rig, "--plugin", SINEWRIG_MODULE_FILE, "--quiet", "--csv", csv});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("muscles[1].aim: \"sideways\" is not one of \"headingPitch\", \"shortestTurn\""),
              std::string::npos)
        << run.err;
    EXPECT_FALSE(std::filesystem::exists(csv));
}

TEST_F(AimRig, ALargeRigsReportShowsTheLargestSpinsFirstAndNamesTheSpinningMusclesShortly) {
    // 80 muscles over the top of a lever, every tenth aimed by the shortest turn.
    std::string rig = "{\"frames\": {\"start\": 0, \"end\": 24}, \"skelegons\": [{\"name\": \"Lever\", \"pivot\": [0, 0, "
                      "0], \"tip\": [0, 0, 0.3]}";
    std::string muscles;
    for (int i = 0; i < 80; ++i) {
        char skelegon[200];
        std::snprintf(skelegon, sizeof skelegon,
                      ", {\"name\": \"M%d\", \"pivot\": [%g, 0, 0], \"tip\": [%g, 1, 0.3], \"selected\": true}", i,
                      0.01 * i, 0.01 * i + 0.01);
        rig += skelegon;
        muscles += std::string(i ? ", " : "") + "{\"skelegon\": \"M" + std::to_string(i) + "\", \"reference\": \"Lever\"" +
                   (i % 10 == 0 ? ", \"aim\": \"shortestTurn\"}" : "}");
    }
    rig += "], \"muscles\": [" + muscles +
           "], \"keys\": [{\"bone\": \"Lever\", \"frame\": 0, \"rotation\": [0, 0, 0]}, {\"bone\": \"Lever\", \"frame\": "
           "24, \"rotation\": [0, -34, 0]}]}";
    const SinewrigOutcome run = runSinewrig({"run", write("many.json", rig), "--plugin", SINEWRIG_MODULE_FILE, "--quiet"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::size_t section = run.out.find("from one frame to the next, the largest first:\n");
    ASSERT_NE(section, std::string::npos) << run.out;
    const std::size_t more = run.out.find("  ... and 68 more\n", section);
    ASSERT_NE(more, std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(section, more - section).find("(shortest turn)"), std::string::npos)
        << "the shortest turns spin least and are not among the first dozen";
    EXPECT_NE(run.out.find("72 muscle(s) spin more than 10°", more), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" and 60 more.\n", more), std::string::npos) << run.out;
}
