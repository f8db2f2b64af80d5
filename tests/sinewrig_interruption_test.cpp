// `sinewrig run` stopped by SIGINT or SIGTERM while it walks a long road:
// the built program, run as a user runs it, leaves none of its spools (beside
// the outputs and in the temporary folder), leaves the outputs of an earlier
// run as they were, and exits with 128 plus the signal's number.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/sinewrig_outcome.h"

namespace {

namespace fs = std::filesystem;

// The arm of the examples over two million frames: long enough that the
// signal comes while the frames are being written.
const std::string kLongRig = R"({
  "object": "Arm", "fps": 24, "frames": {"start": 0, "end": 2000000},
  "skelegons": [
    {"name": "UpperArm", "pivot": [0, 1.4, 0], "tip": [0, 1.4, 0.3]},
    {"name": "ForeArm", "pivot": [0, 1.4, 0.3], "tip": [0, 1.4, 0.56]},
    {"name": "Biceps", "pivot": [0, 1.44, 0.04], "tip": [0, 1.435, 0.34], "selected": true}
  ],
  "muscles": [{"skelegon": "Biceps", "reference": "ForeArm", "bulge": 0.5}],
  "keys": [{"bone": "ForeArm", "frame": 2000000, "rotation": [0, -115, 0]}]
})";

class Interruption : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        folder = fs::path(::testing::TempDir()) / ("sinewrig_interruption_" + std::to_string(GetParam()));
        fs::remove_all(folder);
        fs::create_directories(folder / "tmp");
        writeFileText(file("long.json"), kLongRig);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string file(const std::string& name) const { return (folder / name).string(); }

    // The program on the long rig, its temporary folder one of the test's own.
    pid_t start() const {
        const pid_t child = fork();
        if (child == 0) {
            setenv("TMPDIR", file("tmp").c_str(), 1);
            const int quiet = ::open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            execl(SINEWRIG_PROGRAM, SINEWRIG_PROGRAM, "run", file("long.json").c_str(), "--plugin",
                  SINEWRIG_MODULE_FILE, "--csv", file("long.csv").c_str(), "--svg", file("long.svg").c_str(),
                  "--scene", file("long.scene").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        return child;
    }

    // True once the road's channels are being written into its spool.
    bool framesUnderWay() const {
        for (const auto& entry : fs::directory_iterator(folder / "tmp")) {
            const std::string name = entry.path().filename().string();
            std::error_code failed;
            if (name.size() > 9 && name.substr(name.size() - 9) == "-channels" && fs::file_size(entry.path(), failed) > 0)
                return true;
        }
        return false;
    }

    std::vector<std::string> names(const fs::path& in) const {
        std::vector<std::string> found;
        for (const auto& entry : fs::directory_iterator(in)) found.push_back(entry.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    fs::path folder;
};

}  // namespace

TEST_P(Interruption, LeavesNoSpoolAndTheEarlierOutputsAsTheyWere) {
    const int signal = GetParam();
    writeFileText(file("long.csv"), "the table of an earlier run\n");
    writeFileText(file("long.scene"), "the scene of an earlier run\n");

    const pid_t child = start();
    ASSERT_GT(child, 0);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    int status = 0;
    bool ended = false;
    while (!framesUnderWay()) {
        ended = waitpid(child, &status, WNOHANG) == child;
        if (ended || std::chrono::steady_clock::now() > giveUp) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!ended && !framesUnderWay()) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        FAIL() << "the run wrote no frames in three minutes";
    }
    ASSERT_FALSE(ended) << "the run ended before it was interrupted, status " << status;
    // Some frames in, so that the CSV's spool holds text too.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ASSERT_EQ(kill(child, signal), 0);
    ASSERT_EQ(waitpid(child, &status, 0), child);

    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
    EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
    EXPECT_EQ(names(folder), (std::vector<std::string>{"long.csv", "long.json", "long.scene", "tmp"}));
    EXPECT_EQ(names(folder / "tmp"), std::vector<std::string>{});
    EXPECT_EQ(fileText(file("long.csv")), "the table of an earlier run\n");
    EXPECT_EQ(fileText(file("long.scene")), "the scene of an earlier run\n");
}

INSTANTIATE_TEST_SUITE_P(BySignal, Interruption, ::testing::Values(SIGINT, SIGTERM),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == SIGINT ? "Interrupt" : "Terminate");
                         });
