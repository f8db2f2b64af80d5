// `sinewrig run SCENE.lws` on scenes written here by hand as the host writes
// them, through the loaded Sinewrig.p: the muscle's channels against an aim
// worked out by hand, every item's channels, the bake and the scene written
// back, and what is reported.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>

#include "tests/scratch_folder.h"
#include "tests/sinewrig_scene_text.h"

namespace {

namespace fs = std::filesystem;
using scene_text::armScene;
using scene_text::csvRows;

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

double number(const std::string& cell) { return std::stod(cell); }

class SceneRun : public ScratchFolder {
protected:
    SinewrigOutcome run(const std::string& scene, std::vector<std::string> more = {}) {
        std::vector<std::string> arguments = {"run", scene, "--plugin", SINEWRIG_MODULE_FILE, "--quiet"};
        arguments.insert(arguments.end(), more.begin(), more.end());
        return runSinewrig(arguments);
    }
    // The rows of the channels CSV of a run of `scene` that must succeed.
    std::vector<std::vector<std::string>> channelsOf(const std::string& scene) {
        const std::string csv = file("channels-" + std::to_string(++runs_) + ".csv");
        const SinewrigOutcome done = run(scene, {"--channels", csv});
        EXPECT_EQ(done.status, 0) << done.err;
        return csvRows(fileText(csv));
    }
    int runs_ = 0;
};

const std::vector<std::string> kHeader = {"frame",         "time (s)",     "item",        "id",
                                          "position x",    "position y",   "position z",  "heading (deg)",
                                          "pitch (deg)",   "bank (deg)",   "scale x",     "scale y",
                                          "scale z"};

TEST_F(SceneRun, TheMuscleAimsAtItsReferenceAsWorkedOutByHand) {
    const std::string scene = write("arm.lws", armScene());
    const SinewrigOutcome done = run(scene, {"--csv", file("muscles.csv")});
    ASSERT_EQ(done.status, 0) << done.err;
    // Biceps, from the origin, 2 long, reaches for (0,0,2), (1,0,2), (2,0,2):
    // heading atan(x / 2), length sqrt(x^2 + 4) / 2 of its rest length.
    const double heading[3] = {0, 26.565051177077989, 45};
    const double length[3] = {1, 1.1180339887498949, 1.4142135623730951};
    const auto rows = csvRows(fileText(file("muscles.csv")));
    ASSERT_EQ(rows.size(), 1u + 3 * 2);  // two muscles at three frames
    EXPECT_EQ(rows[0], (std::vector<std::string>{"frame", "time (s)", "bone", "heading (deg)", "pitch (deg)",
                                                 "bank (deg)", "scale x", "scale y", "scale z"}));
    for (int f = 0; f < 3; ++f) {
        const auto& biceps = rows[1 + 2 * f];
        ASSERT_EQ(biceps.size(), 9u);
        EXPECT_EQ(biceps[0], std::to_string(f));
        EXPECT_EQ(number(biceps[1]), f * 0.5);
        EXPECT_EQ(biceps[2], "Biceps");
        EXPECT_NEAR(number(biceps[3]), heading[f], 1e-8) << "frame " << f;
        EXPECT_NEAR(number(biceps[4]), 0, 1e-8);
        EXPECT_NEAR(number(biceps[8]), length[f], 1e-9) << "frame " << f;
        EXPECT_EQ(rows[2 + 2 * f][2], "Spare");
    }
    EXPECT_NE(done.out.find("Biceps -> Target, \"left\""), std::string::npos) << done.out;
    EXPECT_NE(done.out.find("Spare -> (no reference)"), std::string::npos) << done.out;
    EXPECT_NE(done.out.find("every channel of 7 item(s) over 3 frame(s) back bit for bit"), std::string::npos)
        << done.out;
}

TEST_F(SceneRun, AReferenceRisingAboveTheMusclePitchesItUp) {
    // The null's key moved from x to y: it rises from (0, 0, 2) to (0, 2, 2),
    // and the host's pitch is negative for a bone tilted up, towards +y.
    std::string text = armScene();
    const std::size_t null = text.find("AddNullObject Target");
    const std::string still = "{ Envelope\n  1\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
    const std::string moving =
        "{ Envelope\n  2\n  Key 0 0 3 0 0 0 0 0 0\n  Key 2 1 3 0 0 0 0 0 0\n  Behaviors 1 1\n}\n";
    ASSERT_EQ(text.find("Channel 0\n" + moving, null), text.find("Channel 0\n", null));
    text.replace(text.find("Channel 0\n" + moving, null), 10 + moving.size(), "Channel 0\n" + still);
    text.replace(text.find("Channel 1\n" + still, null), 10 + still.size(), "Channel 1\n" + moving);
    const auto rows = channelsOf(write("arm.lws", text));
    const double pitch[3] = {0, -26.565051177077989, -45};
    const double length[3] = {1, 1.1180339887498949, 1.4142135623730951};
    for (int f = 0; f < 3; ++f) {
        const auto& biceps = rows[1 + 7 * f + 1];
        ASSERT_EQ(biceps[2], "Biceps");
        EXPECT_NEAR(number(biceps[7]), 0, 1e-8) << "frame " << f;
        EXPECT_NEAR(number(biceps[8]), pitch[f], 1e-8) << "frame " << f;
        EXPECT_NEAR(number(biceps[12]), length[f], 1e-9) << "frame " << f;
    }
}

TEST_F(SceneRun, TheMusclesChannelsAreInItsParentsAxes) {
    // The object is turned a quarter (heading 90: its +z is the world's +x),
    // so its bone, 2 long, rests with its tip at world (2, 0, 0). The null
    // rises from z 2 to z 4 and carries that tip to (2, 0, 2): in the
    // object's axes (-2, 0, 2), heading -45, at sqrt(8) of 2.
    const std::string text =
        "LWSC\n3\n\nFirstFrame 0\nLastFrame 1\nFramesPerSecond 1\n\nLoadObjectLayer 1 body.lwo\nObjectMotion\n" +
        lws_text::motion({"0", "0", "0", "1.5707963267948966", "0", "0", "1", "1", "1"}) +
        "AddBone\nBoneName M\nBoneRestLength 2\nBoneMotion\n" + lws_text::motion(lws_text::kStill) +
        scene_text::muscleBlock("40000000", "10000001", "2") + "AddNullObject T\nObjectMotion\n" +
        lws_text::motion({"0", "0", "2", "0", "0", "0", "1", "1", "1"},
                         {{{}, {}, {"2 0 3 0 0 0 0 0 0", "4 1 3 0 0 0 0 0 0"}}});
    const auto rows = channelsOf(write("turned.lws", text));
    ASSERT_EQ(rows.size(), 1u + 2 * 3);
    const auto& muscle = rows[1 + 3 + 1];
    ASSERT_EQ(muscle[2], "M");
    EXPECT_NEAR(number(muscle[7]), -45, 1e-8);
    EXPECT_NEAR(number(muscle[8]), 0, 1e-8);
    EXPECT_NEAR(number(muscle[12]), std::sqrt(2.0), 1e-9);
    // At the first frame the muscle rests: its tip is where its target is.
    EXPECT_NEAR(number(rows[1 + 1][7]), 0, 1e-8);
    EXPECT_EQ(rows[1 + 1][12], "1");
}

TEST_F(SceneRun, EveryItemsChannelsFrameByFrameInSceneOrder) {
    const auto rows = channelsOf(write("arm.lws", armScene()));
    ASSERT_EQ(rows.size(), 1u + 3 * 7);
    EXPECT_EQ(rows[0], kHeader);
    // The object is named by its file without folder and extension; the
    // null's comma and quotes stay inside its cell.
    const std::vector<std::pair<std::string, std::string>> items = {
        {"arm", "10000000"},      {"Biceps", "40000000"},    {"Spare", "40010000"}, {"Target, \"left\"", "10000001"},
        {"Bare", "10000002"},     {"Key Light", "20000000"}, {"Camera", "30000000"}};
    for (std::size_t f = 0; f < 3; ++f)
        for (std::size_t i = 0; i < items.size(); ++i) {
            const auto& row = rows[1 + f * items.size() + i];
            ASSERT_EQ(row.size(), 13u);
            EXPECT_EQ(row[0], std::to_string(f));
            EXPECT_EQ((std::pair{row[2], row[3]}), items[i]) << "frame " << f << " item " << i;
        }
    // The null halfway along its key: x 1 at 0.5 s.
    EXPECT_EQ(rows[1 + 7 + 3][4], "1");
    EXPECT_EQ(rows[1 + 7 + 3][6], "2");
    // Biceps at 1 s, in degrees.
    EXPECT_NEAR(number(rows[1 + 14 + 1][7]), 45, 1e-8);
    // The light's heading, a quarter turn in radians in the scene, in degrees.
    EXPECT_NEAR(number(rows[1 + 5][7]), 90, 1e-12);
    // Bare gives only its x: the rest read 0, and 1 for scale.
    EXPECT_EQ((std::vector<std::string>(rows[1 + 4].begin() + 4, rows[1 + 4].end())),
              (std::vector<std::string>{"4", "0", "0", "0", "0", "0", "1", "1", "1"}));
}

TEST_F(SceneRun, NamesInCodePage932AreWrittenInUtf8) {
    // 上腕二頭筋 ("biceps"), as a Japanese Layout saves it, and as the rig CSV writes names.
    std::string text = armScene();
    text.replace(text.find("BoneName Biceps"), 15, "BoneName \x8F\xE3\x98r\x93\xF1\x93\xAA\x8B\xD8");
    const auto rows = channelsOf(write("arm.lws", text));
    EXPECT_EQ(rows[2][2], "\xE4\xB8\x8A\xE8\x85\x95\xE4\xBA\x8C\xE9\xA0\xAD\xE7\xAD\x8B");
}

TEST_F(SceneRun, NumbersCarryTenSignificantDigits) {
    const std::string csv = fileText(([&] {
        const std::string path = file("c.csv");
        EXPECT_EQ(run(write("arm.lws", armScene()), {"--channels", path}).status, 0);
        return path;
    })());
    EXPECT_NE(csv.find(",26.56505118,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",1.118033989\n"), std::string::npos) << csv;
}

TEST_F(SceneRun, VersionsThreeFourAndFiveGiveTheSameChannelsUnderTheirOwnNumbers) {
    const auto three = channelsOf(write("v3.lws", armScene(3)));
    for (int version : {4, 5}) {
        const auto baked = channelsOf(write("v" + std::to_string(version) + ".lws",
                                            armScene(version,
                                                     {"LoadObjectLayer 1 10000005 C:\\Rigs\\arm.lwo", "AddBone 40000005",
                                                      "AddNullObject 10000007 Target, \"left\"", "AddBone 40020005",
                                                      "AddLight 20000003", "AddCamera 30000001"},
                                                     {"40000005", "10000007", "40020005"})));
        ASSERT_EQ(baked.size(), three.size());
        // Bare's line bakes no number: it is counted, the third object.
        const std::vector<std::string> ids = {"10000005", "40000005", "40020005", "10000007",
                                              "10000002", "20000003", "30000001"};
        for (std::size_t r = 1; r < baked.size(); ++r) {
            std::vector<std::string> expected = three[r];
            expected[3] = ids[(r - 1) % 7];
            EXPECT_EQ(baked[r], expected) << "version " << version << " row " << r;
        }
    }
}

TEST_F(SceneRun, AByteOrderMarkAndCrlfLineEndsAreAScene) {
    const auto plain = channelsOf(write("plain.lws", armScene()));
    const auto marked = channelsOf(write("marked.lws", "\xEF\xBB\xBF" + lws_text::withCrlf(armScene())));
    EXPECT_EQ(marked, plain);
}

TEST_F(SceneRun, OtherPluginsAreNotRunSaidOnceEachAndKept) {
    std::string text = armScene();
    const std::string oscillator = "Plugin ItemMotionHandler 1 Oscillator\n  { Wave\n    1.5 2\n  }\nEndPlugin\n";
    for (const std::string after : {"ShadowOptions 7\n", "LightColor 1 1 1\n"}) text.insert(text.find(after), oscillator);
    text.insert(text.find("ZoomFactor"), "TargetItem 10000001\n");
    const std::string scene = write("arm.lws", text);
    const SinewrigOutcome done = run(scene, {"--scene", file("back.lws")});
    ASSERT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(count(done.err, "Oscillator is not run"), 1u) << done.err;
    EXPECT_EQ(count(done.err, "TargetItem is not run"), 1u) << done.err;
    EXPECT_NE(done.err.find(scene + ":" + std::to_string(1 + count(text.substr(0, text.find("Plugin ItemMotionHandler 1 Oscillator")), "\n")) +
                            ": ItemMotionHandler Oscillator"),
              std::string::npos)
        << done.err;
    EXPECT_EQ(count(fileText(file("back.lws")), oscillator), 2u);
}

// The scene with the Sinewrig blocks' bodies cut out: what must stay byte for byte.
std::string outsideMuscleBlocks(const std::string& text) {
    std::string out;
    std::size_t at = 0;
    for (std::size_t open; (open = text.find("Plugin ItemMotionHandler 1 Sinewrig", at)) != std::string::npos;) {
        const std::size_t body = text.find('\n', open) + 1;
        out += text.substr(at, body - at);
        at = text.find("EndPlugin", body);
    }
    return out + text.substr(at);
}

TEST_F(SceneRun, TheSceneWrittenBackKeepsEveryOtherLineByteForByte) {
    for (const std::string& text : {armScene(), lws_text::withCrlf(armScene())}) {
        const std::string scene = write("arm.lws", text);
        const SinewrigOutcome done = run(scene, {"--scene", file("back.lws")});
        ASSERT_EQ(done.status, 0) << done.err;
        const std::string back = fileText(file("back.lws"));
        EXPECT_EQ(outsideMuscleBlocks(back), outsideMuscleBlocks(text));
        // The module's saves, in the host's text forms: unsigned values in lower-case hex.
        EXPECT_NE(back.find("Sinewrig" + std::string(text.find('\r') != std::string::npos ? "\r\n" : "\n") + "40000000"), std::string::npos);
        // And it runs as the original does.
        EXPECT_EQ(channelsOf(file("back.lws")), channelsOf(scene));
    }
}

TEST_F(SceneRun, TheBakedSceneGivesTheSameChannelsWithoutTheModulesBlocks) {
    const std::string text = armScene();
    const std::string scene = write("arm.lws", text);
    const SinewrigOutcome done = run(scene, {"--bake", file("baked.lws"), "--channels", file("before.csv")});
    ASSERT_EQ(done.status, 0) << done.err;
    const std::string baked = fileText(file("baked.lws"));
    EXPECT_EQ(baked.find("Sinewrig"), std::string::npos);
    // Both muscles, the one without a reference too: nine envelopes each of
    // three linear keys, at 0, 0.5 and 1 s.
    EXPECT_EQ(count(baked, "{ Envelope\n  3\n"), 2u * 9);
    EXPECT_EQ(count(baked, " 0.5 3 0 0 0 0 0 0\n"), 2u * 9);
    // Everything before the first muscle's motion stays as it was.
    const std::size_t firstMotion = text.find("BoneMotion\n");
    EXPECT_EQ(baked.substr(0, firstMotion), text.substr(0, firstMotion));
    EXPECT_EQ(baked.substr(baked.find("AddNullObject Target")), text.substr(text.find("AddNullObject Target")));

    // Run again, without the module's blocks, it gives every channel back.
    const SinewrigOutcome again = run(file("baked.lws"), {"--channels", file("after.csv")});
    ASSERT_EQ(again.status, 0) << again.err;
    EXPECT_EQ(fileText(file("after.csv")), fileText(file("before.csv")));
    EXPECT_NE(again.out.find("0 muscle bone(s)"), std::string::npos) << again.out;
}

TEST_F(SceneRun, ALargeScenesReportListsItsFirstMusclesAndACount) {
    std::string text = "LWSC\n3\n\nFirstFrame 0\nLastFrame 0\n\nAddNullObject Rig\n";
    char number[12];
    for (int b = 0; b < 70; ++b) {
        std::snprintf(number, sizeof number, "4%03X0000", b);
        text += "AddBone\nBoneName M" + std::to_string(b) + "\n" +
                scene_text::muscleBlock(number, "0", "1");
    }
    const SinewrigOutcome done = run(write("many.lws", text));
    ASSERT_EQ(done.status, 0) << done.err;
    EXPECT_NE(done.out.find("70 muscle bone(s):\n  M0 -> (no reference)\n"), std::string::npos) << done.out;
    EXPECT_NE(done.out.find("  M11 -> (no reference)\n  ... and 58 more\n70 muscle(s) without a reference\n"),
              std::string::npos)
        << done.out;
    EXPECT_EQ(done.out.find("M12 ->"), std::string::npos);
}

TEST_F(SceneRun, FramesMayBeGivenAndStandardOutputTakesAnOutput) {
    const SinewrigOutcome done = run(write("arm.lws", armScene()), {"--frames", "2:2", "--channels", "-"});
    ASSERT_EQ(done.status, 0) << done.err;
    const auto rows = csvRows(done.out);
    ASSERT_EQ(rows.size(), 1u + 7);
    EXPECT_EQ(rows[1][0], "2");
    EXPECT_EQ(rows[1][1], "1");
    // Run from its last frame alone, the muscle still binds its rest at time 0.
    EXPECT_NEAR(number(rows[2][7]), 45, 1e-8);
    EXPECT_NE(done.err.find("round trip"), std::string::npos);  // the report moves to standard error
}

TEST_F(SceneRun, ThePictureDrawsTheScenesBones) {
    const SinewrigOutcome done = run(write("arm.lws", armScene()), {"--svg", file("arm.svg")});
    ASSERT_EQ(done.status, 0) << done.err;
    const std::string svg = fileText(file("arm.svg"));
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("Biceps"), std::string::npos);
}

}  // namespace
