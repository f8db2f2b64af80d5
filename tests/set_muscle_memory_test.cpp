// SetMuscle when memory runs out while it collects skelegons. Allocation
// failure is forced only inside the module's scan callback, through this
// program's operator new, which the loaded Sinewrig.p resolves to on Linux; a
// Windows DLL carries its own runtime, so this test is built for Linux only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <string>

#include "host/modeler/modeler.h"
#include "host/process/module_file.h"

namespace {
bool failAllocations = false;
}

// The replacements pair malloc with free; GCC cannot see that and warns.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (failAllocations) throw std::bad_alloc();
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { ::operator delete(memory); }

namespace {

// Stands between the host's scan and the module's callback, and makes every
// allocation fail from the polygon at `failFrom` on.
struct FailingScan {
    static inline MeshEditOp* (*hostEditBegin)(int, int, EltOpSelect) = nullptr;
    static inline EDError (*hostPolyScan)(EDStateRef, EDPolyScanFunc*, void*, EltOpLayer) = nullptr;
    static inline EDPolyScanFunc* moduleScan = nullptr;
    static inline void* moduleData = nullptr;
    static inline MeshEditOp op{};
    static inline int failFrom = 0;
    static inline int visited = 0;

    static EDError visit(void*, const EDPolygonInfo* polygon) {
        failAllocations = visited++ >= failFrom;
        EDError result = moduleScan(moduleData, polygon);
        failAllocations = false;
        return result;
    }
    static EDError polyScan(EDStateRef state, EDPolyScanFunc* func, void* data, EltOpLayer layer) {
        moduleScan = func;
        moduleData = data;
        return hostPolyScan(state, visit, nullptr, layer);
    }
    static MeshEditOp* editBegin(int pntBuf, int polBuf, EltOpSelect select) {
        MeshEditOp* hostOp = hostEditBegin(pntBuf, polBuf, select);
        if (!hostOp) return nullptr;
        op = *hostOp;
        hostPolyScan = hostOp->polyScan;
        op.polyScan = polyScan;
        return &op;
    }
};

TEST(SetMuscleOutOfMemory, EndsTheEditOnceAndTagsNothing) {
    std::string error;
    const std::unique_ptr<host::ModuleFile> module = host::ModuleFile::load(SINEWRIG_MODULE_FILE, error);
    ASSERT_TRUE(module) << error;
    constexpr int kSkelegons = 5;
    for (int failFrom = 0; failFrom < kSkelegons; ++failFrom) {
        host::Modeler modeler;
        for (int i = 0; i < kSkelegons; ++i) modeler.object.addSkelegon(0, "Bone", true);
        FailingScan::hostEditBegin = modeler.command.editBegin;
        FailingScan::failFrom = failFrom;
        FailingScan::visited = 0;
        LWModCommand command = modeler.command;
        command.editBegin = FailingScan::editBegin;

        int result = -1;
        EXPECT_NO_THROW(result = module->activate("CommandSequence", "SetMuscle", 3, host::Services::global(), &command));
        EXPECT_EQ(result, AFUNC_OK);
        EXPECT_EQ(FailingScan::visited, kSkelegons) << "the scan was stopped";
        EXPECT_TRUE(modeler.panels.log.empty()) << "a panel was shown, failing from " << failFrom;
        EXPECT_TRUE(modeler.callsTo("polTag").empty());
        auto done = modeler.callsTo("done");
        ASSERT_EQ(done.size(), 1u);
        EXPECT_EQ(done[0].args, (std::vector<int>{EDERR_NONE, 0}));
    }
}

}  // namespace
