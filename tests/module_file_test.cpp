#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "host/process/module_file.h"
#include "host/process/services.h"

namespace {

std::unique_ptr<host::ModuleFile> loadModule() {
    std::string error;
    auto module = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
    EXPECT_TRUE(module) << error;
    return module;
}

}  // namespace

TEST(ModuleFile, DescriptorIdentifiesAHostModule) {
    auto module = loadModule();
    ASSERT_TRUE(module);
    const ModuleDescriptor& d = module->descriptor();
    EXPECT_EQ(d.sysSync, 0x04121994u);
    EXPECT_EQ(d.sysVersion, 3u);
    EXPECT_EQ(d.sysMachine, 0x300u);
    EXPECT_NE(d.serverDefs, nullptr);
    EXPECT_EQ(module->serverData(), reinterpret_cast<void*>(4));
}

TEST(ModuleFile, StartupAndShutdownHaveNoEffect) {
    auto module = loadModule();
    ASSERT_TRUE(module);
    const ModuleDescriptor& d = module->descriptor();
    EXPECT_EQ(d.startup(), reinterpret_cast<void*>(4));
    d.shutdown(nullptr);
    d.shutdown(module->serverData());
    EXPECT_EQ(d.startup(), reinterpret_cast<void*>(4));
}

TEST(ModuleFile, ServerTableEndsWithAnAllZeroRow) {
    auto module = loadModule();
    ASSERT_TRUE(module);
    const ServerRecord* row = module->descriptor().serverDefs;
    size_t rows = module->servers().size();
    const ServerRecord& end = row[rows];
    EXPECT_EQ(end.className, nullptr);
    EXPECT_EQ(end.name, nullptr);
    EXPECT_EQ(end.activate, nullptr);
    EXPECT_EQ(end.tagInfo, nullptr);
    for (size_t i = 0; i < rows; ++i) {
        EXPECT_NE(row[i].name, nullptr);
        EXPECT_NE(row[i].activate, nullptr);
        EXPECT_EQ(row[i].tagInfo, nullptr);
    }
}

TEST(ModuleFile, LoadsAgainAfterUnloading) {
    for (int i = 0; i < 3; ++i) {
        auto module = loadModule();
        ASSERT_TRUE(module);
        EXPECT_EQ(module->descriptor().sysSync, 0x04121994u);
    }
}

TEST(ModuleFile, ReportsAFileThatIsNoModule) {
    std::string error;
    EXPECT_FALSE(host::ModuleFile::load("no-such-dir/Nothing.p", error));
    EXPECT_NE(error.find("no-such-dir/Nothing.p"), std::string::npos) << error;
    EXPECT_NE(error.find("cannot be loaded"), std::string::npos) << error;
}

TEST(ModuleFile, OffersItsFourServersInOrder) {
    auto module = loadModule();
    ASSERT_TRUE(module);
    std::vector<std::string> rows;
    for (const ServerRecord* row : module->servers()) rows.push_back(std::string(row->className) + " " + row->name);
    EXPECT_EQ(rows, (std::vector<std::string>{"CommandSequence SetMuscle", "LayoutGeneric ReadMuscle",
                                              "ItemMotionHandler Sinewrig", "ItemMotionInterface Sinewrig"}));
}

// A wrong version must leave the local record exactly as the host filled it.
TEST(ModuleFile, EveryServerRefusesEveryVersionButItsOwn) {
    auto module = loadModule();
    ASSERT_TRUE(module);
    const std::pair<const char*, int> accepted[] = {
        {"SetMuscle", 3}, {"ReadMuscle", 2}, {"Sinewrig", 4}, {"Sinewrig", 4}};
    auto rows = module->servers();
    ASSERT_EQ(rows.size(), 4u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_STREQ(rows[i]->name, accepted[i].first);
        for (int version : {0, 1, 2, 3, 4, 5, 6, -1, 1000}) {
            if (version == accepted[i].second) continue;
            unsigned char local[64];
            std::memset(local, 0xA5, sizeof local);
            unsigned char before[64];
            std::memcpy(before, local, sizeof local);
            EXPECT_EQ(rows[i]->activate(version, host::Services::global(), local, module->serverData()),
                      AFUNC_BADVERSION)
                << rows[i]->className << " " << version;
            EXPECT_EQ(std::memcmp(local, before, sizeof local), 0) << rows[i]->className << " " << version;
        }
    }
}
