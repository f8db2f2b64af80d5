// `sinewrig run` refusing scenes it cannot run: status 2, the file and the
// line named, and no output written at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "tests/scratch_folder.h"
#include "tests/sinewrig_scene_text.h"

namespace {

namespace fs = std::filesystem;

class BadScene : public ScratchFolder {
protected:
    void expectRefused(const std::string& text, const std::string& reason) {
        const std::string scene = write("scene.lws", text);
        std::vector<std::string> arguments = {"run", scene, "--plugin", SINEWRIG_MODULE_FILE, "--quiet"};
        for (const char* output : {"--csv", "--svg", "--channels", "--bake", "--scene"}) {
            arguments.push_back(output);
            arguments.push_back(file(std::string(output + 2) + ".out"));
        }
        const SinewrigOutcome run = runSinewrig(arguments);
        EXPECT_EQ(run.status, 2) << run.err;
        EXPECT_NE(run.err.find(scene + reason), std::string::npos) << run.err;
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "files left behind";
    }
};

const std::string kNull = "LWSC\n3\n\nAddNullObject N\nObjectMotion\nNumChannels 1\nChannel 0\n";

TEST_F(BadScene, EachFaultIsNamedByItsLine) {
    // A cut file names the line where the open block began.
    expectRefused(kNull + "{ Envelope\n  1\n  Key 0 0 0 0 0 0 0 0 0\n", ":8: the envelope begun here is cut: the file ends at line 10");
    expectRefused(kNull + "{ Envelope\n  1\n  Key 0 0\n  Behaviors 1 1\n}\n", ":10: ");
    expectRefused(kNull + "{ Envelope\n  3\n  Key 0 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n",
                  ":11: the envelope gives 1 key where line 9 says 3");
    expectRefused(kNull + "{ Envelope\n  1\n  Key nan 0 0 0 0 0 0 0 0\n  Behaviors 1 1\n}\n", ":10: ");
    expectRefused("LWSC\n3\n\nAddNullObject N\nParentItem 10000009\n", ":5: ");
    expectRefused("LWSC\n3\n\nAddNullObject A\nParentItem 10000001\nAddNullObject B\nParentItem 10000000\n", ":7: ");
}

TEST_F(BadScene, VersionsOtherThanThreeToFiveAreRefusedNamingTheVersion) {
    expectRefused("LWSC\n1\n\nAddNullObject N\n", ":2: LWSC version 1");
    expectRefused("LWSC\n6\n\nAddNullObject N\n", ":2: LWSC version 6");
}

TEST_F(BadScene, AScenesOwnRangeWithoutFramesIsRefused) {
    expectRefused("LWSC\n3\n\nFirstFrame 10\nLastFrame 2\n\nAddNullObject N\n", ": FirstFrame 10, LastFrame 2");
}

TEST_F(BadScene, AModuleFileThatCannotBeLoadedWritesNothing) {
    const std::string scene = write("scene.lws", scene_text::armScene());
    const SinewrigOutcome run =
        runSinewrig({"run", scene, "--plugin", file("Nothing.p"), "--quiet", "--channels", file("c.csv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("Nothing.p"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(file("c.csv")));
}

TEST_F(BadScene, NoOutputReplacesTheSceneRead) {
    const std::string text = scene_text::armScene();
    const std::string scene = write("scene.lws", text);
    for (const char* output : {"--bake", "--scene"}) {
        const SinewrigOutcome run = runSinewrig({"run", scene, "--plugin", SINEWRIG_MODULE_FILE, "--quiet", output,
                                                 (folder / "." / "scene.lws").string()});
        EXPECT_EQ(run.status, 2) << output;
        EXPECT_NE(run.err.find("scene.lws: is the scene read"), std::string::npos) << run.err;
        EXPECT_EQ(fileText(scene), text);
    }
}

TEST_F(BadScene, AModuleWithoutTheHandlerIsNamedAtTheBlocksLine) {
    const std::string text = scene_text::armScene();
    const std::string scene = write("scene.lws", text);
    const std::string before = text.substr(0, text.find("Plugin ItemMotionHandler 1 Sinewrig"));
    const std::string line = std::to_string(1 + std::count(before.begin(), before.end(), '\n'));
    const SinewrigOutcome run =
        runSinewrig({"run", scene, "--plugin", WOBBLE_MODULE_FILE, "--quiet", "--channels", file("c.csv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(scene + ":" + line + ": the module has no ItemMotionHandler Sinewrig"), std::string::npos)
        << run.err;
    EXPECT_FALSE(fs::exists(file("c.csv")));
}

TEST_F(BadScene, ChannelsAndBakeAreForScenesOnly) {
    const std::string rig = write("rig.json", "{}");
    const SinewrigOutcome run = runSinewrig({"run", rig, "--channels", file("c.csv")});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--channels is for scenes"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(file("c.csv")));
}

}  // namespace
