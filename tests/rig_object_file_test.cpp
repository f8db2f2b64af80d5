// `sinewrig run` on rigs whose skelegons come from an object file: the road
// is the same as from the rig's own skelegons, an object already tagged runs
// from its tags without SetMuscle, and skelegons named by BONE make bones of
// that name.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/arm_object_bytes.h"
#include "tests/scratch_folder.h"
#include "tools/sinewrig/cli.h"

namespace {

namespace fs = std::filesystem;
using arm_object_bytes::armObject;

const std::string kExamples = std::string(SINEWRIG_SOURCE_DIR) + "/examples/";

class RigObjectFile : public ScratchFolder {
protected:
    std::string csvOf(const std::string& rig) {
        const std::string csv = (folder / "out.csv").string();
        const SinewrigOutcome run = runSinewrig({"run", rig, "--quiet", "--csv", csv, "--plugin", SINEWRIG_MODULE_FILE});
        EXPECT_EQ(run.status, 0) << run.err;
        return fileText(csv);
    }
};

TEST_F(RigObjectFile, TheExampleObjectRunsAsTheExampleRig) {
    const std::string fromRig = csvOf(kExamples + "arm.json");
    ASSERT_FALSE(fromRig.empty());
    EXPECT_EQ(csvOf(kExamples + "arm_object.json"), fromRig);
}

TEST_F(RigObjectFile, AnObjectAlreadyTaggedRunsFromItsTagsWithoutSetMuscle) {
    // Tag the example object with the example's choices, then run it with no muscles listed.
    write("choices.json", R"({"muscles": [{"skelegon": "Biceps", "reference": "ForeArm", "preserveVolume": true},
                                          {"skelegon": "Triceps", "reference": "ForeArm"}]})");
    const SinewrigOutcome tag = runSinewrig({"tag", kExamples + "arm.lwo", "--muscles", (folder / "choices.json").string(), "-o",
                                  (folder / "tagged.lwo").string(), "--plugin", SINEWRIG_MODULE_FILE});
    ASSERT_EQ(tag.status, 0) << tag.err;
    const std::string rig = write("rig.json", R"({"objectFile": "tagged.lwo", "fps": 24,
        "frames": {"start": 0, "end": 48},
        "keys": [{"bone": "ForeArm", "frame": 0, "rotation": [0, 0, 0]},
                 {"bone": "ForeArm", "frame": 36, "rotation": [0, -115, 0]},
                 {"bone": "ForeArm", "frame": 48, "rotation": [0, -115, 0]}]})");
    const SinewrigOutcome run = runSinewrig({"run", rig, "--quiet", "--plugin", SINEWRIG_MODULE_FILE});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("SetMuscle: skipped"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("  Biceps -> ForeArm\n  Triceps -> ForeArm\n"), std::string::npos) << run.out;
    EXPECT_EQ(csvOf(rig), csvOf(kExamples + "arm.json"));
}

TEST_F(RigObjectFile, SkelegonsNamedByBoneOnlyMakeBonesOfThatName) {
    write("arm.lwo", armObject(false));
    const std::string rig = write("rig.json", R"({"objectFile": "arm.lwo", "primaryLayer": 2,
        "frames": {"start": 0, "end": 2},
        "muscles": [{"skelegon": "Hand", "reference": "Upper"}],
        "keys": [{"bone": "Upper", "frame": 2, "rotation": [0, 30, 0]}]})");
    const SinewrigOutcome run = runSinewrig({"run", rig, "--quiet", "--plugin", SINEWRIG_MODULE_FILE});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Hand: COLR DkRed, MTIP Upper, MFLG 2"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("1 muscle bone(s):\n  Hand -> Upper\n"), std::string::npos) << run.out;
}

TEST_F(RigObjectFile, AnObjectThatCannotServeIsNamed) {
    write("arm.lwo", armObject(false));
    struct Case {
        std::string rig, message;
    };
    const Case cases[] = {
        {R"({"objectFile": "none.lwo", "frames": {"start": 0, "end": 1}})",
         "none.lwo: cannot be read (No such file or directory)"},
        {R"({"objectFile": ".", "frames": {"start": 0, "end": 1}})", ".: cannot be read (Is a directory)"},
        {R"({"objectFile": "arm.lwo", "frames": {"start": 0, "end": 1}, "muscles": [{"skelegon": "Hnad"}]})",
         "muscles[0].skelegon: unknown skelegon \"Hnad\"; did you mean \"Hand\"?"},
        {R"({"objectFile": "arm.lwo", "frames": {"start": 0, "end": 1}, "skelegons": []})", "not both"},
        {R"({"objectFile": "arm.lwo", "frames": {"start": 0, "end": 1}, "muscles": [{"skelegon": "Upper"}]})",
         "\"Upper\" is not a selected skelegon of the primary layer"},
        {R"({"objectFile": "rig.json", "frames": {"start": 0, "end": 1}})", "rig.json: is a JSON or other text file"},
    };
    for (const Case& c : cases) {
        const SinewrigOutcome run = runSinewrig({"run", write("rig.json", c.rig), "--quiet", "--plugin", SINEWRIG_MODULE_FILE});
        EXPECT_EQ(run.status, 2) << c.rig;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

}  // namespace
