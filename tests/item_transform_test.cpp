#include <gtest/gtest.h>

#include <numbers>
#include <random>

#include "host/layout/item_info.h"
#include "host/layout/layout.h"
#include "items/item_transform.h"
#include "small_stack.h"
#include "tests/matrix4.h"

using namespace sinewrig;

namespace {

constexpr double kHalfPi = std::numbers::pi / 2;

struct ItemTransform : ::testing::Test {
    host::Layout layout;
    const LWItemInfo* info =
        static_cast<const LWItemInfo*>(host::Services::globalLookup("LW Item Info 3", GFUSE_TRANSIENT));

    LWItemID add(LWItemID parent, Vec3 position, Vec3 rotation = {}) {
        LWItemID id = layout.scene.addItem(LWI_BONE, "bone", parent);
        const double pos[3] = {position.x, position.y, position.z};
        const double rot[3] = {rotation.x, rotation.y, rotation.z};
        layout.scene.setValue(id, LWIP_POSITION, pos);
        layout.scene.setValue(id, LWIP_ROTATION, rot);
        return id;
    }
};

// The item's world matrix as the points it carries: the origin and the three axes.
Matrix4 itemWorldMatrix(LWItemID item, const LWItemInfo* info, LWTime time) {
    const Vec3 origin = itemToWorld(item, info, time, {});
    const Vec3 axes[3] = {itemToWorld(item, info, time, {1, 0, 0}), itemToWorld(item, info, time, {0, 1, 0}),
                          itemToWorld(item, info, time, {0, 0, 1})};
    RigidTransform world{{{axes[0] + -origin, axes[1] + -origin, axes[2] + -origin}}, origin};
    return toMatrix4(world);
}

Matrix4 itemInverseWorldMatrix(LWItemID item, const LWItemInfo* info, LWTime time) {
    return toMatrix4(itemInverseWorldTransform(item, info, time));
}

Vec3 transformed(const Matrix4& m, Vec3 v) {
    m.transformPoint(v);
    return v;
}

void expectNear(Vec3 actual, Vec3 expected, double tolerance) {
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

void expectIdentity(const Matrix4& m, double tolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(m.m[r][c], r == c ? 1.0 : 0.0, tolerance) << r << "," << c;
}

}  // namespace

TEST_F(ItemTransform, RootItemIsItsTranslation) {
    ASSERT_NE(info, nullptr);
    LWItemID item = add(nullptr, {1, 2, 3});
    Matrix4 world = itemWorldMatrix(item, info, 0.0);
    Matrix4 expected;
    expected.translate(1, 2, 3);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(world.m[r][c], expected.m[r][c]);
    Vec3 p = transformed(world, {0, 0, 1});
    EXPECT_EQ(p.x, 1.0);
    EXPECT_EQ(p.y, 2.0);
    EXPECT_EQ(p.z, 4.0);
    expectNear(transformed(itemInverseWorldMatrix(item, info, 0.0), {1, 2, 4}), {0, 0, 1}, 0.0);
}

TEST_F(ItemTransform, ChildOffsetTurnsWithItsParent) {
    LWItemID parent = add(nullptr, {5, 0, 0}, {kHalfPi, 0, 0});
    LWItemID child = add(parent, {0, 0, 1});
    expectNear(transformed(itemWorldMatrix(child, info, 0.0), {0, 0, 0}), {6, 0, 0}, 1e-15);
    expectNear(transformed(itemInverseWorldMatrix(child, info, 0.0), {6, 0, 0}), {0, 0, 0}, 1e-15);
}

TEST_F(ItemTransform, ScalingIsNotRead) {
    LWItemID plain = add(nullptr, {1, -2, 3}, {0.3, 0.2, 0.1});
    LWItemID scaled = add(nullptr, {1, -2, 3}, {0.3, 0.2, 0.1});
    const double two[3] = {2, 2, 2};
    layout.scene.setValue(scaled, LWIP_SCALING, two);
    Matrix4 a = itemWorldMatrix(plain, info, 0.0), b = itemWorldMatrix(scaled, info, 0.0);
    Matrix4 ai = itemInverseWorldMatrix(plain, info, 0.0), bi = itemInverseWorldMatrix(scaled, info, 0.0);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(a.m[r][c], b.m[r][c]);
            EXPECT_EQ(ai.m[r][c], bi.m[r][c]);
        }
}

TEST_F(ItemTransform, AsksTheHostItemByItemInTheBuildersOrders) {
    LWItemID root = add(nullptr, {1, 0, 0});
    LWItemID child = add(root, {0, 1, 0});
    layout.log.clear();
    itemToWorld(child, info, 2.5, {});
    const std::vector<std::pair<std::string, int>> forward = {
        {"param", LWIP_ROTATION}, {"param", LWIP_POSITION}, {"parent", 0},
        {"param", LWIP_ROTATION}, {"param", LWIP_POSITION}, {"parent", 0}};
    ASSERT_EQ(layout.log.calls.size(), forward.size());
    for (size_t i = 0; i < forward.size(); ++i) {
        EXPECT_EQ(layout.log.calls[i].function, forward[i].first) << i;
        EXPECT_EQ(layout.log.calls[i].param, forward[i].second) << i;
        EXPECT_EQ(layout.log.calls[i].item, i < 3 ? child : root) << i;
        if (forward[i].first == "param") {
            EXPECT_EQ(layout.log.calls[i].time, 2.5);
        }
    }

    layout.log.clear();
    itemInverseWorldMatrix(child, info, 2.5);
    const int inverseParams[] = {LWIP_POSITION, LWIP_ROTATION, 0, LWIP_POSITION, LWIP_ROTATION, 0};
    ASSERT_EQ(layout.log.calls.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(layout.log.calls[i].function, inverseParams[i] ? "param" : "parent") << i;
        EXPECT_EQ(layout.log.calls[i].param, inverseParams[i]) << i;
        EXPECT_EQ(layout.log.calls[i].item, i < 3 ? child : root) << i;
    }
}

TEST_F(ItemTransform, KeyedChannelsAreReadAtTheGivenTime) {
    LWItemID item = add(nullptr, {0, 0, 0});
    const double start[3] = {0, 0, 0}, end[3] = {10, 0, 0};
    layout.scene.setKey(item, LWIP_POSITION, 0.0, start);
    layout.scene.setKey(item, LWIP_POSITION, 1.0, end);
    expectNear(transformed(itemWorldMatrix(item, info, 0.25), {0, 0, 0}), {2.5, 0, 0}, 1e-15);
    expectNear(transformed(itemWorldMatrix(item, info, 7.0), {0, 0, 0}), {10, 0, 0}, 0.0);
    expectNear(transformed(itemWorldMatrix(item, info, -1.0), {0, 0, 0}), {0, 0, 0}, 0.0);
}

TEST_F(ItemTransform, WorldTimesInverseIsIdentityForRandomChains) {
    std::mt19937 random(77);
    std::uniform_real_distribution<double> coord(-5.0, 5.0), angle(-4.0, 4.0);
    std::uniform_int_distribution<int> depth(0, 6);
    for (int chain = 0; chain < 200; ++chain) {
        LWItemID item = nullptr;
        for (int level = depth(random); level >= 0; --level)
            item = add(item, {coord(random), coord(random), coord(random)},
                       {angle(random), angle(random), angle(random)});
        Matrix4 world = itemWorldMatrix(item, info, 0.0);
        Matrix4 inverse = itemInverseWorldMatrix(item, info, 0.0);
        expectIdentity(multiply(world, inverse), 1e-12);
        expectIdentity(multiply(inverse, world), 1e-12);
    }
}

TEST_F(ItemTransform, DeepChainsFitTheHostsStack) {
    // 32-bit builds may run under wine through qemu, whose guest heap holds
    // about 100 MB, too little for 100,000 stand-in items with their channels.
#if defined(_WIN32) && !defined(_WIN64)
    constexpr int kDepth = 20000;
#else
    constexpr int kDepth = 100000;
#endif
    LWItemID item = nullptr;
    for (int level = 0; level < kDepth; ++level) item = add(item, {0, 0, 1});
    layout.log.enabled = false;
    Vec3 origin, back;
    runOnSmallStack([&] {
        origin = transformed(itemWorldMatrix(item, info, 0.0), {0, 0, 0});
        back = transformed(itemInverseWorldMatrix(item, info, 0.0), origin);
    });
    expectNear(origin, {0, 0, double(kDepth)}, 1e-6);
    expectNear(back, {0, 0, 0}, 1e-6);
}

TEST_F(ItemTransform, LoopingChainStopsAtTheItemThatClosesTheLoop) {
    // tail -> c -> b -> a -> c: a, whose parent loops back, counts as the root.
    LWItemID a = add(nullptr, {1, 0, 0});
    LWItemID b = add(a, {0, 1, 0});
    LWItemID c = add(b, {0, 0, 1});
    LWItemID tail = add(c, {0, 0, 10});
    layout.scene.find(a)->parent = c;
    layout.log.enabled = false;
    Vec3 world = transformed(itemWorldMatrix(tail, info, 0.0), {0, 0, 0});
    expectNear(world, {1, 1, 11}, 1e-15);
    expectNear(transformed(itemInverseWorldMatrix(tail, info, 0.0), world), {0, 0, 0}, 1e-15);

    LWItemID self = add(nullptr, {2, 3, 4});
    layout.scene.find(self)->parent = self;
    expectNear(transformed(itemWorldMatrix(self, info, 0.0), {0, 0, 0}), {2, 3, 4}, 0.0);
    expectNear(transformed(itemInverseWorldMatrix(self, info, 0.0), {2, 3, 4}), {0, 0, 0}, 0.0);
}

TEST_F(ItemTransform, NoItemOrNoServiceGivesIdentity) {
    expectIdentity(itemWorldMatrix(nullptr, info, 0.0), 0.0);
    expectIdentity(itemInverseWorldMatrix(nullptr, info, 0.0), 0.0);
    LWItemID item = add(nullptr, {1, 2, 3});
    expectIdentity(itemWorldMatrix(item, nullptr, 0.0), 0.0);
    expectIdentity(itemInverseWorldMatrix(item, nullptr, 0.0), 0.0);
}
