#include <gtest/gtest.h>

#include "host/process/module_file.h"

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

TEST(ModuleFile, OffersTheModelerCommandThenTheMotionHandler) {
    auto module = loadModule();
    ASSERT_TRUE(module);
    auto rows = module->servers();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_STREQ(rows[0]->className, "CommandSequence");
    EXPECT_STREQ(rows[0]->name, "SetMuscle");
    EXPECT_STREQ(rows[1]->className, "ItemMotionHandler");
    EXPECT_STREQ(rows[1]->name, "Sinewrig");
    EXPECT_EQ(module->findServer("ItemMotionInterface", "Sinewrig"), nullptr);
}
