// `sinewrig check` runs the module in child processes: a module that crashes
// fails the step it crashed in and the checker still gives its verdict; a file
// cut short is refused before it is loaded; a server that needs a service the
// stand-in lacks is reported as not exercised, not as a failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tools/sinewrig/check/check.h"
#include "tools/sinewrig/check/child_process.h"

namespace {

namespace fs = std::filesystem;

struct Checked {
    int status = -1;
    std::string out, err;
    std::string lastLine() const {
        std::string text = out;
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text.substr(text.find_last_of('\n') + 1);
    }
    bool has(const std::string& text) const { return out.find(text) != std::string::npos; }
};

Checked check(const std::string& path) {
    std::ostringstream out, err;
    Checked run;
    run.status = sinewrig_tool::checkModule({path}, {out, err});
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace

#if !defined(_WIN32)
TEST(CheckInChildProcess, ACrashFailsTheStepItHappenedInAndTheOtherServersAreStillChecked) {
    const Checked run = check(CRASHY_MODULE_FILE);
    EXPECT_EQ(run.status, 1) << run.out;
    // A sanitizer catches the fault itself and ends the process with a status instead of the signal.
    const bool crashed = run.has("  FAIL ItemMotionHandler Wobble: the module crashed with signal 11 (Segmentation fault), after "
                                 "\"PASS save, load, save on") ||
                         run.has("  FAIL ItemMotionHandler Wobble: the module ended the process with status 1, after "
                                 "\"PASS save, load, save on");
    EXPECT_TRUE(crashed) << run.out;
    // The interface server comes after the crashed one and is checked in full.
    EXPECT_TRUE(run.has("ItemMotionInterface Wobble\n  PASS refuses versions")) << run.out;
    EXPECT_EQ(run.lastLine(), "verdict: FAIL (1 failed)");
}

TEST(CheckInChildProcess, AHangIsStoppedAtTheTimeLimitAndFailsTheStep) {
    setenv("SINEWRIG_CHECK_SECONDS", "2", 1);
    const Checked run = check(HANGS_MODULE_FILE);
    unsetenv("SINEWRIG_CHECK_SECONDS");
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_TRUE(run.has("  FAIL ItemMotionHandler Wobble: the module did not finish within 2 s, after \"PASS save, load, save on"))
        << run.out;
    EXPECT_EQ(run.lastLine(), "verdict: FAIL (1 failed)");
}
#endif

TEST(CheckInChildProcess, AFileCutShortIsRefusedBeforeLoading) {
    std::ifstream whole(SINEWRIG_CHECK_MODULE_FILE, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(whole), std::istreambuf_iterator<char>()};
    const std::string cut = (fs::path(::testing::TempDir()) / "sinewrig_CutShort.p").string();
    for (const std::size_t size : {std::size_t{40}, std::size_t{2000}, bytes.size() / 2, bytes.size() - 1}) {
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, size);
        const Checked run = check(cut);
        EXPECT_EQ(run.status, 2) << size;
        EXPECT_NE(run.err.find("the file is cut short"), std::string::npos) << size << ": " << run.err;
        EXPECT_TRUE(run.has("refused before loading")) << run.out;
        EXPECT_EQ(run.lastLine(), "verdict: FAIL (the file cannot be loaded)");
    }
    fs::remove(cut);
}

TEST(CheckInChildProcess, AServerNeedingAnUnofferedServiceIsNotExercisedAndEveryLookupIsListed) {
    const Checked run = check(XPANELS_MODULE_FILE);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(run.has("  INFO activation with version 4 into a zeroed record: AFUNC_BADGLOBAL (2) after asking for "
                        "\"LWXPanelFuncs\", which the stand-in does not offer: not exercised"))
        << run.out;
    EXPECT_TRUE(run.has("  INFO services looked up: \"LWXPanelFuncs\" (not offered)")) << run.out;
    EXPECT_EQ(run.lastLine(), "verdict: PASS");
}

TEST(CheckInChildProcess, ServicesEachServerLookedUpAreListed) {
    const Checked run = check(SINEWRIG_CHECK_MODULE_FILE);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(run.has("  INFO services looked up: \"Global Memory\", \"LW Item Info 3\"")) << run.out;
    // Sinewrig's instances in the checker's scene have no reference, so they move nothing.
    EXPECT_TRUE(run.has("the module wrote no channel, so its motion was not checked")) << run.out;
    const Checked wobble = check(WOBBLE_MODULE_FILE);
    EXPECT_TRUE(wobble.has("  INFO services looked up: none")) << wobble.out;
    EXPECT_TRUE(wobble.has("setParam calls, every value finite")) << wobble.out;
}

// A server's names come from the module and may hold anything: what the
// child sends about them arrives as it was sent, after the step's report.
TEST(CheckInChildProcess, AStepsMessagesArriveWholeWhateverTheyHold) {
    std::ostringstream out;
    sinewrig_tool::CheckReport report(out);
    const sinewrig_tool::StepEnd end =
        sinewrig_tool::runStep(report, "odd names", [](sinewrig_tool::CheckReport& child, sinewrig_tool::StepMessages& messages) {
            child.fail("one");
            messages.send(sinewrig_tool::ServerListed{"Item\tMotion", "line\nend \\t \x01"});
            messages.send(sinewrig_tool::ModuleUnloadable{"no\\nreason"});
        });
    EXPECT_TRUE(end.finished);
    ASSERT_EQ(end.messages.size(), 2u);
    const auto* server = std::get_if<sinewrig_tool::ServerListed>(&end.messages[0]);
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->className, "Item\tMotion");
    EXPECT_EQ(server->name, "line\nend \\t \x01");
    const auto* unloadable = std::get_if<sinewrig_tool::ModuleUnloadable>(&end.messages[1]);
    ASSERT_NE(unloadable, nullptr);
    EXPECT_EQ(unloadable->reason, "no\\nreason");
    EXPECT_EQ(out.str(), "  FAIL one\n");
    EXPECT_EQ(report.failures(), 1);
}
