// `sinewrig check` run in this process over Sinewrig.p, our small Wobble.p
// and its faulty builds, and files that are no module at all.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/sinewrig/check/check.h"

namespace {

struct CheckRun {
    int status = -1;
    std::string out, err;

    bool hasLine(const std::string& line) const { return out.find("\n" + line + "\n") != std::string::npos; }
    std::vector<std::string> linesStartingWith(const std::string& start) const {
        std::vector<std::string> found;
        std::istringstream in(out);
        for (std::string line; std::getline(in, line);)
            if (line.rfind(start, 0) == 0) found.push_back(line);
        return found;
    }
    std::string lastLine() const {
        std::string text = out;
        while (!text.empty() && text.back() == '\n') text.pop_back();
        return text.substr(text.find_last_of('\n') + 1);  // npos + 1: the whole text
    }
};

CheckRun check(const std::string& path) {
    std::ostringstream out, err;
    CheckRun run;
    run.status = sinewrig_tool::checkModule({path}, {out, err});
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace

TEST(CheckModule, SinewrigPassesWithEveryServerProbed) {
    const CheckRun run = check(SINEWRIG_MODULE_FILE);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.lastLine(), "verdict: PASS");
    EXPECT_TRUE(run.linesStartingWith("  FAIL").empty()) << run.out;
    for (const char* heading : {"CommandSequence SetMuscle", "LayoutGeneric ReadMuscle", "ItemMotionHandler Sinewrig",
                                "ItemMotionInterface Sinewrig"})
        EXPECT_TRUE(run.hasLine(heading)) << heading << "\n" << run.out;
    EXPECT_EQ(run.linesStartingWith("  PASS refuses versions").size(), 4u) << run.out;
    EXPECT_TRUE(run.hasLine("  PASS sync word 0x04121994")) << run.out;
    EXPECT_TRUE(run.hasLine("  INFO left null: nothing")) << run.out;
    EXPECT_TRUE(run.hasLine("  PASS save, load, save on \"Lower\": byte-identical")) << run.out;
    EXPECT_TRUE(run.hasLine("  PASS cancelling left the instance's saved settings as they were")) << run.out;
    EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST(CheckModule, WobblePassesAndListsTheCallbacksItLeftNull) {
    const CheckRun run = check(WOBBLE_MODULE_FILE);
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(run.lastLine(), "verdict: PASS");
    EXPECT_TRUE(run.hasLine("servers\n  INFO ItemMotionHandler Wobble\n  INFO ItemMotionInterface Wobble")) << run.out;
    EXPECT_TRUE(run.hasLine("  INFO filled: create destroy load save evaluate")) << run.out;
    EXPECT_TRUE(run.hasLine("  INFO left null: copy descln useItems changeID flags")) << run.out;
    EXPECT_TRUE(run.hasLine("  INFO left null: options command panel")) << run.out;
    EXPECT_TRUE(run.hasLine("  PASS options of the instance on \"Lower\": options is null, not called")) << run.out;
    EXPECT_TRUE(run.hasLine("  PASS save on \"Lower\" wrote FP[2], every value finite")) << run.out;
    // Two instances, one position each, over five frames.
    EXPECT_TRUE(run.hasLine("  PASS evaluate frames 0 1 2 15 30: 10 setParam calls, every value finite")) << run.out;
    EXPECT_TRUE(run.linesStartingWith("  PASS copy").empty()) << "a null copy was reported as called";
    EXPECT_TRUE(run.linesStartingWith("  PASS descln").empty()) << "a null descln was reported as called";
}

TEST(CheckModule, FaultsOfAModuleFailTheVerdict) {
    const CheckRun run = check(CARELESS_MODULE_FILE);
    EXPECT_EQ(run.status, 1);
    // Both servers take each of the twelve other versions and fill the record given.
    const auto versions = run.linesStartingWith("  FAIL version ");
    EXPECT_EQ(versions.size(), 24u) << run.out;
    const std::string refused = "  FAIL version 0: AFUNC_OK (0), want AFUNC_BADVERSION (1); changed bytes ";
    ASSERT_FALSE(versions.empty());
    EXPECT_EQ(versions[0].rfind(refused, 0), 0u) << versions[0];
    EXPECT_NE(versions[0].find("of its local record; changed bytes "), std::string::npos) << versions[0];
    EXPECT_NE(versions[0].find("of its instance function record"), std::string::npos) << versions[0];
    const auto evaluation =
        run.linesStartingWith("  FAIL evaluate frames 0 1 2 15 30: 10 setParam calls, 2 not finite");
    ASSERT_EQ(evaluation.size(), 1u) << run.out;
    // The parent bone is evaluated first.
    EXPECT_NE(evaluation[0].find("the first setParam of position on \"Upper\" at frame 0: (0, nan"),
              std::string::npos)
        << evaluation[0];
    EXPECT_EQ(run.lastLine(), "verdict: FAIL (" + std::to_string(versions.size() + 1) + " failed)");
}

TEST(CheckModule, AWrongSyncWordFailsWithEachDescriptorFieldReported) {
    const CheckRun run = check(BADSYNC_MODULE_FILE);
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.hasLine("  PASS opens as a library\n  PASS exports _mod_descrip\n"
                            "  FAIL bad sync word 0x19940412, want 0x04121994\n"
                            "  PASS module system version 3\n  PASS machine type 0x00000300"))
        << run.out;
    EXPECT_TRUE(run.linesStartingWith("servers").empty()) << "a module the host refuses was started";
    EXPECT_EQ(run.lastLine(), "verdict: FAIL (1 failed)");
}

TEST(CheckModule, FilesThatAreNoModule) {
    {
        SCOPED_TRACE("a library without _mod_descrip is loaded and fails");
        const CheckRun run = check(NODESCRIPTOR_MODULE_FILE);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.hasLine("  PASS opens as a library\n  FAIL exports no _mod_descrip\nverdict: FAIL (1 failed)"))
            << run.out;
    }
    {
        SCOPED_TRACE("a text file cannot be loaded at all; a bare name is the one in this folder");
        std::ofstream("NotAModule.p") << "This is a text file, not a module.\n";
        const CheckRun run = check("NotAModule.p");
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("NotAModule.p: cannot be loaded"), std::string::npos) << run.err;
        EXPECT_EQ(run.lastLine(), "verdict: FAIL (the file cannot be loaded)");
        std::remove("NotAModule.p");
    }
    {
        SCOPED_TRACE("a missing file");
        const CheckRun run = check("no-such-dir/Nothing.p");
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find("no-such-dir/Nothing.p: cannot be loaded"), std::string::npos) << run.err;
    }
}
