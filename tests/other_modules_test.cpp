// The stand-in host with module files other than Sinewrig.p: what it reads of
// a descriptor, and a motion handler that leaves its optional callbacks null.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/process/module_file.h"
#include "host/process/module_probe.h"

namespace {

std::string loadError(const std::string& path) {
    std::string error;
    EXPECT_FALSE(host::ModuleFile::load(path, error));
    return error;
}

// A stand-in Layout with Wobble.p loaded and its motion handler hosted.
struct WobbleLayout : ::testing::Test {
    void SetUp() override {
        std::string error;
        module = host::ModuleFile::load(WOBBLE_MODULE_FILE, error);
        ASSERT_TRUE(module) << error;
        handlers = std::make_unique<host::MotionHandlers>(layout, *module, "Wobble");
    }
    void TearDown() override { handlers.reset(); }

    host::Layout layout;
    std::unique_ptr<host::ModuleFile> module;
    std::unique_ptr<host::MotionHandlers> handlers;
};

}  // namespace

TEST(ModuleProbe, ReportsEveryDescriptorCheckWhereLoadingStopsAtTheFirst) {
    const host::ModuleProbe probe = host::probeModuleFile(BADSYNC_MODULE_FILE);
    EXPECT_TRUE(probe.error.empty()) << probe.error;
    ASSERT_TRUE(probe.hasDescriptor);
    ASSERT_EQ(probe.checks.size(), 4u);
    EXPECT_EQ(probe.checks[0].what, "sync word");
    EXPECT_EQ(probe.checks[0].found, "0x19940412");
    EXPECT_FALSE(probe.checks[0].passed);
    for (std::size_t i = 1; i < probe.checks.size(); ++i) EXPECT_TRUE(probe.checks[i].passed) << probe.checks[i].what;
    EXPECT_EQ(loadError(BADSYNC_MODULE_FILE),
              std::string(BADSYNC_MODULE_FILE) + ": bad sync word 0x19940412, want 0x04121994");
}

TEST(ModuleProbe, EachRefusalSaysWhatTheHostWants) {
    ModuleDescriptor d = {0x04121994, 2, 0x8664, nullptr, nullptr, nullptr};
    const std::vector<host::DescriptorCheck> checks = host::checkDescriptor(d);
    ASSERT_EQ(checks.size(), 4u);
    EXPECT_TRUE(checks[0].passed);
    EXPECT_FALSE(checks[1].passed);
    EXPECT_EQ(checks[1].found, "2");
    EXPECT_EQ(checks[1].reason, "module system version 2, want 3");
    EXPECT_FALSE(checks[2].passed);
    EXPECT_EQ(checks[2].found, "0x00008664");
    EXPECT_EQ(checks[2].reason, "machine type 0x00008664, want 0x300");
    EXPECT_FALSE(checks[3].passed);
    EXPECT_EQ(checks[3].reason, "has no startup function");
}

TEST(ModuleProbe, FilesThatAreNoModule) {
    const host::ModuleProbe plain = host::probeModuleFile(NODESCRIPTOR_MODULE_FILE);
    EXPECT_TRUE(plain.error.empty()) << plain.error;
    EXPECT_FALSE(plain.hasDescriptor);
    EXPECT_TRUE(plain.checks.empty());
    EXPECT_EQ(loadError(NODESCRIPTOR_MODULE_FILE), std::string(NODESCRIPTOR_MODULE_FILE) + ": exports no _mod_descrip");

    std::ofstream("./probe-text.p") << "not a library\n";
    const host::ModuleProbe text = host::probeModuleFile("./probe-text.p");
    EXPECT_EQ(text.error, loadError("./probe-text.p"));
    EXPECT_EQ(text.error.rfind("./probe-text.p: cannot be loaded", 0), 0u) << text.error;
    std::remove("./probe-text.p");
}

// Wobble leaves copy, descln, flags, the item functions and its interface's
// options null: every host path that would call them must step round them.
TEST_F(WobbleLayout, NullCallbacksAreNeverCalledOnAnyHostPath) {
    host::MotionHandlers& handlers = *this->handlers;
    LWItemID bone = layout.scene.addItem(LWI_BONE, "Bone");
    LWInstance instance = handlers.apply(bone);
    ASSERT_NE(instance, nullptr);
    const host::MotionHandlers::Server& tables = handlers.tablesOf("Wobble");
    EXPECT_EQ(tables.inst.copy, nullptr);
    EXPECT_EQ(tables.inst.descln, nullptr);
    EXPECT_EQ(tables.item.useItems, nullptr);
    EXPECT_EQ(tables.item.changeID, nullptr);
    EXPECT_EQ(tables.table.flags, nullptr);

    LWItemID clone = handlers.cloneItem(bone);
    EXPECT_EQ(handlers.instancesOf(clone).size(), 1u);
    handlers.changeIDs({{bone, clone}});
    EXPECT_TRUE(handlers.useItems(instance).empty());
    EXPECT_EQ(handlers.description(instance), "");
    EXPECT_EQ(handlers.flags(instance), 0u);
    EXPECT_EQ(handlers.copy(instance, handlers.instancesOf(clone)[0]), nullptr);
    handlers.evaluate(0.5);
    const host::MotionHandlers::Options options = handlers.openOptions(instance);
    EXPECT_EQ(options.activation, AFUNC_OK);
    EXPECT_EQ(options.local.options, nullptr);
    EXPECT_FALSE(options.called);
    handlers.remove(instance);
    EXPECT_EQ(handlers.instances().size(), 1u);
}

TEST_F(WobbleLayout, SetParamRecordKeepsEveryCallsValuesWhileTheCallLogIsOn) {
    host::MotionHandlers& handlers = *this->handlers;
    LWItemID item = layout.scene.addItem(LWI_OBJECT, "Ball");
    const double start[3] = {1, 2, 3};
    layout.scene.setValue(item, LWIP_POSITION, start);
    ASSERT_NE(handlers.apply(item), nullptr);

    handlers.evaluate(0.1);
    handlers.evaluate(0.2);
    ASSERT_EQ(layout.motion.writes.size(), 2u) << "a new evaluation keeps the writes before it";
    for (int i = 0; i < 2; ++i) {
        const host::ParamWrite& write = layout.motion.writes[i];
        const double time = 0.1 * (i + 1);
        EXPECT_EQ(write.item, item);
        EXPECT_EQ(write.param, LWIP_POSITION);
        EXPECT_EQ(write.time, time);
        EXPECT_EQ(write.value[0], 1.0);
        EXPECT_DOUBLE_EQ(write.value[1], 2.0 + double(0.05f) * std::sin(6.283185307179586 * double(1.5f) * time));
        EXPECT_EQ(write.value[2], 3.0);
    }
    layout.log.enabled = false;
    handlers.evaluate(0.3);
    EXPECT_EQ(layout.motion.writes.size(), 2u);
}
