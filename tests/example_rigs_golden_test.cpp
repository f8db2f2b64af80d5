// The example rigs' muscles, none of which uses the muscle controls, must move
// bit for bit as they did before the controls existed: every channel of every
// frame is compared with golden data kept from that module. With
// SINEWRIG_GOLDEN_WRITE=FOLDER (and SINEWRIG_GOLDEN_PLUGIN, the module to
// record) the test writes the golden files instead.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/sinewrig/rig/rig_file.h"
#include "tools/sinewrig/road/road.h"

namespace {

// x87 arithmetic (the 32-bit Windows build) rounds differently from SSE2,
// which the Linux and 64-bit Windows builds share to the bit.
#if defined(_WIN32) && !defined(_WIN64)
constexpr const char* kGoldenFolder = "x87";
#else
constexpr const char* kGoldenFolder = "sse2";
#endif

// One line per frame and muscle bone: its nine channels' bits.
void addChannelLines(std::ostringstream& lines, const sinewrig_tool::RoadResult& result,
                     const sinewrig_tool::FrameSample& frame) {
    for (std::size_t muscle = 0; muscle < frame.muscles.size(); ++muscle) {
            lines << frame.frame << ' ' << result.muscles[muscle].name;
            for (double value : frame.muscles[muscle]) {
                std::uint64_t bits;
                std::memcpy(&bits, &value, sizeof bits);
                char hex[24];
                std::snprintf(hex, sizeof hex, " %016" PRIx64, bits);
                lines << hex;
            }
            lines << '\n';
    }
}

class ExampleRigGolden : public ::testing::TestWithParam<const char*> {};

TEST_P(ExampleRigGolden, EveryChannelAsBeforeTheMuscleControls) {
    const std::string name = GetParam();
    sinewrig_tool::Rig rig;
    std::string error;
    std::vector<std::string> warnings;
    ASSERT_TRUE(sinewrig_tool::loadRig(std::string(SINEWRIG_SOURCE_DIR) + "/examples/" + name + ".json", rig, warnings,
                                       error))
        << error;
    const char* plugin = std::getenv("SINEWRIG_GOLDEN_PLUGIN");
    sinewrig_tool::RoadResult result;
    const std::string scene = ::testing::TempDir() + "golden_" + name + ".lws";
    std::ostringstream lines;
    const sinewrig_tool::RoadStatus status = sinewrig_tool::walkRoad(
        rig, rig.frames, plugin ? plugin : SINEWRIG_MODULE_FILE, {scene, {}, name + ".lwo"}, nullptr,
        [&](const sinewrig_tool::FrameSample& frame) { addChannelLines(lines, result, frame); }, result, error);
    std::remove(scene.c_str());
    ASSERT_EQ(status, sinewrig_tool::RoadStatus::Done) << error;
    const std::string actual = lines.str();
    ASSERT_FALSE(actual.empty());

    const std::string file = std::string(kGoldenFolder) + "/" + name + ".channels";
    if (const char* folder = std::getenv("SINEWRIG_GOLDEN_WRITE")) {
        std::ofstream(std::string(folder) + "/" + file, std::ios::binary) << actual;
        return;
    }
    std::ifstream golden(std::string(SINEWRIG_SOURCE_DIR) + "/tests/golden/" + file, std::ios::binary);
    ASSERT_TRUE(golden) << "no golden data " << file;
    std::ostringstream expected;
    expected << golden.rdbuf();
    // Line by line, so that a failure names the frame and the bone.
    std::istringstream want(expected.str()), got(actual);
    std::string wantLine, gotLine;
    int differing = 0;
    while (std::getline(want, wantLine)) {
        if (!std::getline(got, gotLine)) gotLine = "(no line)";
        if (wantLine != gotLine && ++differing <= 5) ADD_FAILURE() << "want " << wantLine << "\n got " << gotLine;
    }
    EXPECT_FALSE(std::getline(got, gotLine)) << "more channels than the golden data";
    EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Examples, ExampleRigGolden, ::testing::Values("arm", "neck", "hips"));

}  // namespace
