// Evaluation must allocate nothing. This program replaces the global operator
// new, and the loaded Sinewrig.p resolves its allocations to it on Linux. A
// Windows DLL carries its own runtime, whose allocations no program sees, so
// this test is built for Linux only.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "muscle_host.h"

namespace {
bool counting = false;
long allocations = 0;

void* allocate(std::size_t size) {
    if (counting) ++allocations;
    return std::malloc(size ? size : 1);
}
}  // namespace

void* operator new(std::size_t size) {
    if (void* p = allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Bone and reference each under a chain of parents, the reference moving.
struct AllocationScene : MuscleHost {
    LWItemID bone = nullptr, reference = nullptr;
    AllocationScene() {
        for (int i = 0; i < 4; ++i) bone = add(LWI_BONE, "bone", bone, {0.1, 0.2, 1}, {0.1, 0.2, 0.3});
        for (int i = 0; i < 4; ++i) reference = add(LWI_OBJECT, "ref", reference, {0.3, 0, 1}, {0.2, 0, 0.1});
        key(reference, LWIP_POSITION, 1.0, {1, 1, 2});
        layout.log.enabled = false;
    }

    // Evaluates the way the host does for one item, without the host's own
    // bookkeeping of the evaluation order.
    long allocationsOver(const LWItemMotionHandler& table, LWInstance instance, int times) {
        long before = allocations;
        for (int i = 0; i < times; ++i) {
            layout.motion.start(i / 100.0);
            layout.motion.enter(layout.scene, bone);
            const LWItemMotionAccess access = layout.motion.access();
            counting = true;
            table.evaluate(instance, &access);
            counting = false;
            layout.motion.leave(true);
        }
        return allocations - before;
    }
};

}  // namespace

TEST(EvaluationAllocations, TheLoadedModuleAllocatesNothingPerEvaluation) {
    AllocationScene host;
    counting = true;
    long before = allocations;
    LWInstance instance = host.handlers->apply(host.bone);
    counting = false;
    ASSERT_GT(allocations, before) << "the module's allocations are not counted here";
    host.handlers->load(instance, MuscleHost::muscleData(host.bone, host.reference, 1));
    EXPECT_EQ(host.allocationsOver(host.handlers->table(), instance, 10000), 0);
    EXPECT_GT(host.motionOf(host.bone).scaling[2], 0.0);
    // And with every muscle control in use: Y axis only, bulge, both limits, influence.
    host.handlers->load(instance, withControls(MuscleHost::muscleData(host.bone, host.reference, 1),
                                               {.bulge = 2.5f, .volumeAxes = 2, .stretchMin = 0.8f, .stretchMax = 1.2f,
                                                .influence = 0.7f}));
    ASSERT_EQ(host.handlers->save(instance).size(), 12u);
    EXPECT_EQ(host.allocationsOver(host.handlers->table(), instance, 10000), 0);
    // And aimed by the shortest turn, whole and at half influence.
    for (float influence : {1.0f, 0.5f}) {
        host.handlers->load(instance, withControls(MuscleHost::muscleData(host.bone, host.reference, 1),
                                                   {.influence = influence, .aim = 1}));
        ASSERT_EQ(host.handlers->save(instance).size(), 13u);
        EXPECT_EQ(host.allocationsOver(host.handlers->table(), instance, 10000), 0);
    }
}
