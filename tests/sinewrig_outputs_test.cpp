// Where `sinewrig run` writes: "-" is standard output, a device or FIFO is
// written into and a symlink's target replaced, never the special file or
// the link itself; the outputs of a run appear together or not at all, and
// an output that cannot be written is named with the system's reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#if !defined(_WIN32)
#include <sys/stat.h>
#include <unistd.h>

#include <thread>
#endif

#include "tests/sinewrig_outcome.h"

namespace {

namespace fs = std::filesystem;

const std::string kArm = std::string(SINEWRIG_SOURCE_DIR) + "/examples/arm.json";
const std::string kCsvHeader = "frame,time (s),bone,";

class Outputs : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::path(::testing::TempDir()) /
                 ("sinewrig_outputs_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string file(const std::string& name) const { return (folder / name).string(); }
    SinewrigOutcome run(std::vector<std::string> outputs, const std::string& plugin = SINEWRIG_MODULE_FILE) {
        std::vector<std::string> arguments{"run", kArm, "--plugin", plugin, "--quiet"};
        arguments.insert(arguments.end(), outputs.begin(), outputs.end());
        return runSinewrig(arguments);
    }
    // The names in the folder: nothing but what the test put there and the run's outputs.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(folder)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path folder;
};

}  // namespace

TEST_F(Outputs, ADashIsStandardOutputAndTheReportMovesToStandardError) {
    const SinewrigOutcome outcome = run({"--csv", "-", "--svg", file("arm.svg")});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out.rfind(kCsvHeader, 0), 0u) << outcome.out.substr(0, 200);
    EXPECT_EQ(outcome.out.find("round trip"), std::string::npos);
    EXPECT_NE(outcome.err.find("back bit for bit"), std::string::npos);
    EXPECT_EQ(runSinewrig({"run", kArm, "--csv", "-", "--svg", "-"}).status, 2);
}

TEST_F(Outputs, EveryOutputIsWholeAndNoSpoolIsLeft) {
    writeFileText(file("arm.csv"), "an older table");
    const SinewrigOutcome outcome = run({"--csv", file("arm.csv"), "--svg", file("arm.svg"), "--scene", file("arm.lws")});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(fileText(file("arm.csv")).rfind(kCsvHeader, 0), 0u);
    EXPECT_NE(fileText(file("arm.svg")).find("</svg>"), std::string::npos);
    EXPECT_EQ(fileText(file("arm.lws")).rfind("LWSC\n3\n", 0), 0u);
    EXPECT_EQ(fileText(file("arm.lwo")).substr(8, 4), "LWO2");
    EXPECT_NE(outcome.out.find("wrote " + file("arm.lwo")), std::string::npos);
    EXPECT_EQ(names(), (std::vector<std::string>{"arm.csv", "arm.lwo", "arm.lws", "arm.svg"}));
}

#if !defined(_WIN32)
// A spool is made under a name no file has yet: those left by earlier runs
// with this process number are passed over, not written into or taken away.
TEST_F(Outputs, SpoolNamesAlreadyTakenArePassedOver) {
    std::vector<std::string> expected{"arm.csv"};
    for (int number = 1; number <= 64; ++number) {
        expected.push_back(".arm.csv.sinewrig-" + std::to_string(getpid()) + "-" + std::to_string(number));
        writeFileText(file(expected.back()), "another run's spool");
    }
    const SinewrigOutcome outcome = run({"--csv", file("arm.csv")});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(fileText(file("arm.csv")).rfind(kCsvHeader, 0), 0u);
    for (std::size_t i = 1; i < expected.size(); ++i) EXPECT_EQ(fileText(file(expected[i])), "another run's spool");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names(), expected);
}
#endif

TEST_F(Outputs, ALateFailureLeavesNoOutputAndEarlierFilesUntouched) {
    writeFileText(file("arm.csv"), "an older table");
    fs::create_directory(file("pictures"));
    // The picture's place is a folder: refused before the road, naming it.
    SinewrigOutcome outcome = run({"--csv", file("arm.csv"), "--scene", file("arm.lws"), "--svg", file("pictures")});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find(file("pictures") + ": is a folder"), std::string::npos) << outcome.err;
    EXPECT_EQ(fileText(file("arm.csv")), "an older table");
    EXPECT_EQ(names(), (std::vector<std::string>{"arm.csv", "pictures"}));

    // The module cannot be loaded: the road fails after the outputs were staged.
    outcome = run({"--csv", file("arm.csv"), "--scene", file("arm.lws")}, file("Nothing.p"));
    EXPECT_EQ(outcome.status, 2);
    EXPECT_EQ(fileText(file("arm.csv")), "an older table");
    EXPECT_EQ(names(), (std::vector<std::string>{"arm.csv", "pictures"}));
}

TEST_F(Outputs, AnOutputThatCannotBeWrittenIsNamedWithTheSystemsReason) {
    for (const std::string option : {"--csv", "--svg", "--scene"}) {
        const std::string path = file("no-such-folder/out");
        const SinewrigOutcome outcome = run({option, path});
        EXPECT_EQ(outcome.status, 2) << option;
        EXPECT_NE(outcome.err.find(path + ": cannot be written (No such file or directory)"), std::string::npos)
            << outcome.err;
        EXPECT_EQ(outcome.err.find(".sinewrig-"), std::string::npos) << "a spool named: " << outcome.err;
    }
    const SinewrigOutcome twice = run({"--csv", file("same"), "--svg", file("same")});
    EXPECT_EQ(twice.status, 2);
    EXPECT_NE(twice.err.find("is also another output of this run"), std::string::npos);
}

#if !defined(_WIN32)
TEST_F(Outputs, ASymlinksTargetIsWrittenAndTheLinkKept) {
    writeFileText(file("real.csv"), "old");
    fs::create_symlink("real.csv", file("link.csv"));
    fs::create_symlink(file("later.csv"), file("dangling.csv"));
    const SinewrigOutcome outcome = run({"--csv", file("link.csv"), "--scene", file("dangling.csv")});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(file("link.csv"))));
    EXPECT_EQ(fileText(file("real.csv")).rfind(kCsvHeader, 0), 0u);
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(file("dangling.csv"))));
    EXPECT_TRUE(fs::is_regular_file(file("later.csv")));
}

TEST_F(Outputs, DevicesAndFifosAreWrittenIntoNeverReplaced) {
    SinewrigOutcome outcome = run({"--csv", "/dev/null", "--svg", file("arm.svg")});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::exists(file("arm.svg")));

    ASSERT_EQ(mkfifo(file("pipe").c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = fileText(file("pipe")); });
    outcome = run({"--csv", file("pipe")});
    reader.join();
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::is_fifo(file("pipe")));
    EXPECT_EQ(received.rfind(kCsvHeader, 0), 0u);
}

TEST_F(Outputs, AFullDeviceFailsTheRunAndPutsBackTheFilesItReplaced) {
    if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    writeFileText(file("arm.lws"), "an older scene");
    writeFileText(file("arm.lwo"), "an older object");
    const SinewrigOutcome outcome = run({"--scene", file("arm.lws"), "--csv", "/dev/full", "--svg", file("arm.svg")});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("/dev/full: cannot be written (No space left on device)"), std::string::npos) << outcome.err;
    EXPECT_EQ(fileText(file("arm.lws")), "an older scene");
    EXPECT_EQ(fileText(file("arm.lwo")), "an older object");
    EXPECT_EQ(names(), (std::vector<std::string>{"arm.lwo", "arm.lws"}));
}
#endif

// The scene's object file is an output of its own, staged with the others.
TEST_F(Outputs, TheScenesObjectBesideItIsStagedWithTheOthers) {
    fs::create_directory(file("arm.lwo"));
    SinewrigOutcome outcome = run({"--csv", file("arm.csv"), "--scene", file("arm.lws")});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find(file("arm.lwo") + ": is a folder"), std::string::npos) << outcome.err;
    EXPECT_EQ(names(), (std::vector<std::string>{"arm.lwo"}));

    // A scene named otherwise gets .lwo added; one in capitals has its extension changed.
    fs::remove(file("arm.lwo"));
    ASSERT_EQ(run({"--scene", file("take")}).status, 0);
    ASSERT_EQ(run({"--scene", file("ARM.LWS")}).status, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"ARM.LWS", "ARM.lwo", "take", "take.lwo"}));
    EXPECT_NE(fileText(file("take")).find("\nLoadObjectLayer 1 take.lwo\n"), std::string::npos);

    // Standard output has no place beside it for the object.
    outcome = run({"--scene", "-"});
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("--scene -: a rig's scene loads its object from a file beside it"), std::string::npos)
        << outcome.err;
    EXPECT_EQ(outcome.out, "");
}

TEST_F(Outputs, ProgressGoesToStandardErrorAlsoOffATerminalAndQuietSilencesIt) {
    SinewrigOutcome outcome = runSinewrig({"run", kArm, "--plugin", SINEWRIG_MODULE_FILE});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    for (const char* phase : {"sinewrig run: SetMuscle\n", "sinewrig run: ReadMuscle\n", "sinewrig run: evaluating: 1 of 49\n",
                              "sinewrig run: evaluating the reloaded scene: 1 of 49\n"})
        EXPECT_NE(outcome.err.find(phase), std::string::npos) << phase << outcome.err;
    EXPECT_EQ(outcome.out.find("sinewrig run: "), std::string::npos);
    EXPECT_EQ(run({}).err, "");
}

TEST_F(Outputs, TheFrameTableIsPrintedForSmallRigsOrWhenAsked) {
    EXPECT_NE(run({}).out.find("frame  bone"), std::string::npos);
    // Fifty muscles over fifty frames: 2,500 rows.
    std::string rig = "{\"frames\": {\"start\": 0, \"end\": 49}, \"skelegons\": [";
    for (int i = 0; i < 50; ++i)
        rig += std::string(i ? ", " : "") + "{\"name\": \"M" + std::to_string(i) + "\", \"pivot\": [" + std::to_string(i) +
               ", 0, 0], \"tip\": [" + std::to_string(i) + ", 1, 0], \"selected\": true}";
    writeFileText(file("wide.json"), rig + "]}");
    const SinewrigOutcome large = runSinewrig({"run", file("wide.json"), "--plugin", SINEWRIG_MODULE_FILE, "--quiet"});
    ASSERT_EQ(large.status, 0) << large.err;
    EXPECT_EQ(large.out.find("frame  bone"), std::string::npos);
    EXPECT_NE(large.out.find("the table of 2500 rows"), std::string::npos) << large.out;
    EXPECT_NE(large.out.find("  M49 -> (no reference)"), std::string::npos);
    const SinewrigOutcome asked =
        runSinewrig({"run", file("wide.json"), "--plugin", SINEWRIG_MODULE_FILE, "--quiet", "--table"});
    EXPECT_NE(asked.out.find("frame  bone"), std::string::npos);
    EXPECT_NE(asked.out.find("    49  M49 "), std::string::npos);
}
