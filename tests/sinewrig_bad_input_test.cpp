// Rig files with a mistake of each kind a rigger makes: every one is refused
// with status 2 naming the file and the field (or the place in the JSON),
// and what is allowed but likely a mistake runs with a warning naming it.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/sinewrig_outcome.h"

namespace {

namespace fs = std::filesystem;

const std::string kArm = std::string(SINEWRIG_SOURCE_DIR) + "/examples/arm.json";

class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(::testing::TempDir()) /
                 ("sinewrig_bad_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        rig = (folder / "rig.json").string();
    }
    void TearDown() override { fs::remove_all(folder); }

    // The arm with each (from, to) replacement made once.
    std::string armWith(const std::vector<std::pair<std::string, std::string>>& changes) {
        std::string text = fileText(kArm);
        for (const auto& [from, to] : changes) {
            const std::size_t at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos) text.replace(at, from.size(), to);
        }
        writeFileText(rig, text);
        return rig;
    }
    SinewrigOutcome run(const std::string& path, std::vector<std::string> more = {}) {
        std::vector<std::string> arguments{"run", path, "--plugin", SINEWRIG_MODULE_FILE, "--quiet", "--csv",
                                           (folder / "out.csv").string()};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runSinewrig(arguments);
    }
    void expectRefused(const SinewrigOutcome& outcome, const std::string& reason) {
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_NE(outcome.err.find(reason), std::string::npos) << "wanted: " << reason << "\ngot: " << outcome.err;
        EXPECT_FALSE(fs::exists(folder / "out.csv"));
    }

    fs::path folder;
    std::string rig;
};

}  // namespace

TEST_F(BadInput, UnknownFieldsAreNamedWithTheNearestKnownField) {
    expectRefused(run(armWith({{"\"preserveVolume\": true", "\"preserveVolum\": true"}})),
                  "rig.json: muscles[0].preserveVolum: unknown field; the nearest known field is \"preserveVolume\"");
    expectRefused(run(armWith({{"\"frames\":", "\"frame\":"}})), "frame: unknown field; the nearest known field is \"frames\"");
    expectRefused(run(armWith({{"\"step\": 1", "\"stepp\": 1"}})), "frames.stepp: unknown field; the nearest known field is \"step\"");
    expectRefused(run(armWith({{"\"rotation\": [0, 0, 0]", "\"rotaton\": [0, 0, 0]"}})),
                  "keys[0].rotaton: unknown field; the nearest known field is \"rotation\"");
    expectRefused(run(armWith({{"\"selected\": true}", "\"Selected\": true}"}})),
                  "skelegons[2].Selected: unknown field; the nearest known field is \"selected\"");
}

TEST_F(BadInput, UnknownSkelegonsAndBonesAreNamedWithTheNearestOneWhenItIsClose) {
    expectRefused(run(armWith({{"\"skelegon\": \"Biceps\"", "\"skelegon\": \"Bicep\""}})),
                  "rig.json: muscles[0].skelegon: unknown skelegon \"Bicep\"; did you mean \"Biceps\"?");
    expectRefused(run(armWith({{"\"reference\": \"ForeArm\"", "\"reference\": \"forearm\""}})),
                  "muscles[0].reference: unknown skelegon \"forearm\"; did you mean \"ForeArm\"?");
    expectRefused(run(armWith({{"\"bone\": \"ForeArm\"", "\"bone\": \"UperArm\""}})),
                  "keys[0].bone: unknown skelegon \"UperArm\"; did you mean \"UpperArm\"?");
    // Nothing is near "Elbow": no guess.
    const SinewrigOutcome far = run(armWith({{"\"bone\": \"ForeArm\"", "\"bone\": \"Elbow\""}}));
    expectRefused(far, "keys[0].bone: unknown skelegon \"Elbow\"\n");
}

TEST_F(BadInput, AKeyGivenTwiceInOneObjectIsRefused) {
    expectRefused(run(armWith({{"\"object\": \"Arm\"", "\"object\": \"Arm\", \"object\": \"Leg\""}})),
                  "rig.json: object: the key \"object\" is given twice in one object");
    expectRefused(run(armWith({{"\"tip\": [0, 1.40, 0.56]", "\"tip\": [0, 1.40, 0.56], \"tip\": [0, 1, 0]"}})),
                  "skelegons[1].tip: the key \"tip\" is given twice");
}

TEST_F(BadInput, TwoKeysOnOneChannelOfABoneAtOneFrameAreRefused) {
    expectRefused(run(armWith({{"\"frame\": 48, \"rotation\": [0, -115, 0]", "\"frame\": 36, \"rotation\": [0, -100, 0]"}})),
                  "keys[2].rotation: a second key for bone \"ForeArm\" at frame 36 (the first is keys[1])");
    // Position and rotation keyed apart at one frame set different channels.
    const SinewrigOutcome apart =
        run(armWith({{"\"frame\": 48, \"rotation\": [0, -115, 0]", "\"frame\": 36, \"position\": [0, 0, 0.01]"}}));
    EXPECT_EQ(apart.status, 0) << apart.err;
}

TEST_F(BadInput, AMuscleCannotReachForItself) {
    expectRefused(run(armWith({{"\"reference\": \"ForeArm\", \"preserveVolume\"", "\"reference\": \"Biceps\", \"preserveVolume\""}})),
                  "muscles[0].reference: \"Biceps\" is the muscle itself");
}

TEST_F(BadInput, NumbersTheSceneFileCannotHoldAreNamed) {
    expectRefused(run(armWith({{"[0, 1.40, 0.00]", "[0, 3.5e38, 0.00]"}})),
                  "skelegons[0].pivot[1]: is beyond what the host's scene file can hold");
    expectRefused(run(armWith({{"[0, -115, 0]", "[0, -1e39, 0]"}})), "keys[1].rotation[1]: is beyond");
    // The largest single-precision value still goes through.
    EXPECT_EQ(run(armWith({{"[0, -115, 0]", "[0, -3.4e38, 0]"}})).status, 0);
}

TEST_F(BadInput, ARestValuePlusAKeyBeyondSinglePrecisionIsNamed) {
    // The UpperArm rests 2e38 up; a key 2e38 further puts it at 4e38.
    const std::pair<std::string, std::string> high{"\"pivot\": [0, 1.40, 0.00], \"tip\": [0, 1.40, 0.30]",
                                                   "\"pivot\": [0, 2e38, 0.00], \"tip\": [0, 2e38, 0.30]"};
    const auto keyed = [](const std::string& position) {
        return std::pair<std::string, std::string>{
            "\"keys\": [", "\"keys\": [{\"bone\": \"UpperArm\", \"frame\": 12, \"position\": " + position + "}, "};
    };
    const SinewrigOutcome beyond = run(armWith({high, keyed("[0, 2e38, 0]")}));
    expectRefused(beyond, "rig.json: keys[0].position[1]: the bone's rest value ");
    EXPECT_NE(beyond.err.find("beyond what the host's scene file can hold"), std::string::npos) << beyond.err;
    EXPECT_NE(beyond.err.find("for bone \"UpperArm\" at frame 12"), std::string::npos) << beyond.err;
    // 2e38 + 1.4e38 and 2e38 - 2.5e38 stay within it.
    EXPECT_EQ(run(armWith({high, keyed("[0, 1.4e38, 0]")})).status, 0);
    EXPECT_EQ(run(armWith({high, keyed("[0, -2.5e38, 0]")})).status, 0);
}

TEST_F(BadInput, NumbersBeyondDoublePrecisionAreNamedByLineAndColumn) {
    for (const std::string huge : {"1e309", "-1e400", "123456789e999"}) {
        const SinewrigOutcome outcome = run(armWith({{"\"fps\": 24", "\"fps\": " + huge}}));
        expectRefused(outcome, "rig.json: not valid JSON: line 3, column");
        EXPECT_NE(outcome.err.find(huge), std::string::npos) << outcome.err;
    }
}

TEST_F(BadInput, FrameNumbersBeyondTheLimitSaySo) {
    expectRefused(run(kArm, {"--frames", "0:2147483647"}), "0:2147483647: 2147483647 is beyond the frames");
    expectRefused(run(kArm, {"--frames", "0:99999999999999999999"}), "is beyond the frames");
    expectRefused(run(armWith({{"\"end\": 48", "\"end\": 4000000000"}})), "frames.end: must be a whole number from");
}

TEST_F(BadInput, ARigPathThatIsNotAReadableFileSaysWhy) {
    expectRefused(run(folder.string()), folder.string() + ": is a folder, not a rig file");
    expectRefused(run((folder / "none.json").string()), "none.json: cannot be read (No such file or directory)");
#if !defined(_WIN32)
    expectRefused(run("/dev/null"), "/dev/null: is not a regular file");
#endif
}

TEST_F(BadInput, ZeroLengthSkelegonsAndParentLoopsRunWithAWarningNamingThem) {
    const SinewrigOutcome zero = run(armWith({{"\"tip\": [0, 1.37, 0.31]", "\"tip\": [0, 1.36, 0.02]"}}));
    EXPECT_EQ(zero.status, 0) << zero.err;
    EXPECT_NE(zero.err.find("rig.json: skelegons[3] \"Triceps\" has zero length"), std::string::npos) << zero.err;

    // UpperArm ends where ForeArm starts and ForeArm now ends where UpperArm starts.
    const SinewrigOutcome loop = run(armWith({{"\"tip\": [0, 1.40, 0.56]", "\"tip\": [0, 1.40, 0.00]"}}));
    EXPECT_EQ(loop.status, 0) << loop.err;
    EXPECT_NE(loop.err.find("skelegons \"UpperArm\", \"ForeArm\" end in each other (a parent loop)"), std::string::npos)
        << loop.err;
    EXPECT_EQ(run(kArm).err.find("warning"), std::string::npos);
}

TEST_F(BadInput, AModuleFileCutShortIsRefusedBeforeLoading) {
    const std::string whole = fileText(SINEWRIG_MODULE_FILE);
    const std::string cut = (folder / "Cut.p").string();
    for (const std::size_t size : {std::size_t{2000}, std::size_t{49000}, whole.size() - 100}) {
        writeFileText(cut, whole.substr(0, size));
        expectRefused(runSinewrig({"run", kArm, "--plugin", cut, "--quiet", "--csv", (folder / "out.csv").string()}),
                      cut + ": cannot be loaded: the file is cut short");
    }
}
