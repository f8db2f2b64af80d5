// The stand-in Layout's new pieces, which the ReadMuscle and options tests
// rely on to judge the module: bones made from skelegons, mesh views, the
// Layout command strings and the item list control.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "host/geometry/item_world.h"
#include "host/layout/layout.h"
#include "host/layout/motion_handlers.h"
#include "host/modeler/mesh_object.h"

namespace {

struct Point {
    double x, y, z;
};

// Where the host puts a bone's tip in the object's frame, from the channels alone.
Point worldTip(host::Layout& layout, LWItemID bone) {
    const host::Vector3 tip =
        host::apply(host::itemWorldTransform(layout, bone, 0.0), {0, 0, layout.scene.find(bone)->restLength});
    return {tip[0], tip[1], tip[2]};
}

struct SkelegonBones : ::testing::Test {
    host::Layout layout;
    host::MeshObject mesh;

    LWPolID skelegon(const char* name, Point pivot, Point tip) {
        const double from[3] = {pivot.x, pivot.y, pivot.z}, to[3] = {tip.x, tip.y, tip.z};
        return mesh.addSkelegon(0, name, false, from, to);
    }
    std::vector<LWItemID> convert() {
        LWItemID object = layout.addObject("Rig", host::ObjectMesh::fromLayer(mesh.primary()));
        return layout.convertSkelegons(object);
    }
    void expectTip(LWItemID bone, Point at) {
        const Point tip = worldTip(layout, bone);
        EXPECT_NEAR(tip.x, at.x, 1e-6);
        EXPECT_NEAR(tip.y, at.y, 1e-6);
        EXPECT_NEAR(tip.z, at.z, 1e-6);
    }
};

}  // namespace

TEST_F(SkelegonBones, ConnectedSkelegonsBecomeAChainWhoseTipsLieOnTheSkelegons) {
    skelegon("Upper", {0, 1, 0}, {0, 1, 2});
    skelegon("Fore", {0, 1, 2}, {1.5, 0.5, 3});
    skelegon("Hand", {1.5, 0.5, 3}, {1.5, -0.5, 3});
    skelegon(nullptr, {5, 5, 5}, {5, 6, 5});
    const std::vector<LWItemID> bones = convert();
    ASSERT_EQ(bones.size(), 4u);
    const host::Item& upper = *layout.scene.find(bones[0]);
    EXPECT_EQ(upper.name, "Upper");
    EXPECT_EQ(upper.type, LWI_BONE);
    EXPECT_EQ(layout.scene.find(upper.parent)->type, LWI_OBJECT);
    EXPECT_EQ(layout.scene.find(bones[1])->parent, bones[0]);
    EXPECT_EQ(layout.scene.find(bones[2])->parent, bones[1]);
    EXPECT_EQ(layout.scene.find(bones[3])->name, "Bone");
    EXPECT_EQ(layout.scene.find(bones[3])->parent, upper.parent);
    EXPECT_DOUBLE_EQ(upper.restLength, 2.0);
    EXPECT_NEAR(layout.scene.find(bones[1])->restLength, std::sqrt(1.5 * 1.5 + 0.25 + 1), 1e-6);
    // A connected child rests at its parent's tip, in the parent's frame.
    double position[3];
    layout.scene.channelValue(bones[1], LWIP_POSITION, 0.0, position);
    EXPECT_NEAR(position[0], 0, 1e-9);
    EXPECT_NEAR(position[1], 0, 1e-9);
    EXPECT_NEAR(position[2], 2, 1e-9);
    expectTip(bones[0], {0, 1, 2});
    expectTip(bones[1], {1.5, 0.5, 3});
    expectTip(bones[2], {1.5, -0.5, 3});
    expectTip(bones[3], {5, 6, 5});
    // Bones belong to the object: item info walks them with first(LWI_BONE, object).
    auto* info = static_cast<const LWItemInfo*>(layout.services.lookup("LW Item Info 3"));
    std::vector<LWItemID> walked;
    for (LWItemID bone = info->first(LWI_BONE, upper.parent); bone; bone = info->next(bone)) walked.push_back(bone);
    EXPECT_EQ(walked, bones);
}

TEST_F(SkelegonBones, SkelegonsEndingInEachOtherDoNotMakeALoop) {
    skelegon("A", {0, 0, 0}, {0, 0, 1});
    skelegon("B", {0, 0, 1}, {0, 0, 0});
    skelegon("Zero", {2, 2, 2}, {2, 2, 2});
    const std::vector<LWItemID> bones = convert();
    ASSERT_EQ(bones.size(), 3u);
    EXPECT_EQ(layout.scene.find(bones[0])->parent, bones[1]);
    EXPECT_EQ(layout.scene.find(layout.scene.find(bones[1])->parent)->type, LWI_OBJECT);
    EXPECT_EQ(layout.scene.find(layout.scene.find(bones[2])->parent)->type, LWI_OBJECT);
    EXPECT_EQ(layout.scene.find(bones[2])->restLength, 0.0);
    expectTip(bones[0], {0, 0, 1});
    expectTip(bones[1], {0, 0, 0});
}

TEST(StandInMeshViews, ViewsServeTagsAndReportUseAfterDestroyAndViewsLeftOpen) {
    host::Layout layout;
    host::MeshObject mesh;
    LWPolID source = mesh.addSkelegon(0, "Upper", false);
    mesh.polygon(source)->tags[LWID_('M', 'F', 'L', 'G')] = "3";
    LWItemID object = layout.addObject("Rig", host::ObjectMesh::fromLayer(mesh.primary()));
    auto* objects = static_cast<const LWObjectInfo*>(layout.services.lookup("LW Object Info 6"));
    EXPECT_EQ(objects->meshInfo(layout.scene.addItem(LWI_LIGHT, "Light"), 0), nullptr);
    LWMeshInfo* view = objects->meshInfo(object, 0);
    ASSERT_NE(view, nullptr);
    std::vector<LWPolID> seen;
    auto remember = [](void* data, LWPolID polygon) -> size_t {
        static_cast<std::vector<LWPolID>*>(data)->push_back(polygon);
        return 0;
    };
    EXPECT_EQ(view->scanPolys(view, remember, &seen), 0u);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(view->polType(view, seen[0]), LWPOLTYPE_BONE);
    EXPECT_STREQ(view->polTag(view, seen[0], LWPTAG_PART), "Upper");
    EXPECT_STREQ(view->polTag(view, seen[0], LWID_('M', 'F', 'L', 'G')), "3");
    EXPECT_EQ(view->polTag(view, seen[0], LWID_('M', 'T', 'I', 'P')), nullptr);
    EXPECT_EQ(view->polSize(view, seen[0]), 2);
    // Later edits in Modeler do not reach an object already loaded.
    mesh.polygon(source)->tags[LWID_('M', 'F', 'L', 'G')] = "0";
    EXPECT_STREQ(view->polTag(view, seen[0], LWID_('M', 'F', 'L', 'G')), "3");
    EXPECT_EQ(layout.problems(), std::vector<std::string>{"mesh view 1 never destroyed"});
    view->destroy(view);
    EXPECT_TRUE(layout.problems().empty());
    view->polType(view, seen[0]);
    EXPECT_EQ(layout.problems(), std::vector<std::string>{"mesh view 1: polType after destroy"});
}

TEST(StandInLayoutCommands, KnownCommandsChangeTheSceneAndOthersFailChangingNothing) {
    host::Layout layout;
    layout.scene.numbering = host::Scene::Numbering::plain;
    LWItemID first = layout.scene.addItem(LWI_BONE, "First");
    LWItemID second = layout.scene.addItem(LWI_BONE, "Second");
    LWLayoutGeneric* generic = layout.generic();
    EXPECT_EQ(generic->evaluate(generic->data, "SelectItem 2"), 1);
    EXPECT_EQ(layout.selection(), std::vector<LWItemID>{second});
    EXPECT_EQ(generic->evaluate(generic->data, "ItemColor 14"), 1);
    EXPECT_EQ(layout.scene.find(second)->colour, 14);
    EXPECT_EQ(layout.scene.find(first)->colour, -1);
    for (const char* bad : {"SelectItem 9", "SelectItem 0x1", "SelectItem", "SelectItem 1 2", "SelectItem  1",
                            "selectitem 1", "ItemColor 15", "ItemColor -1", "ItemColor x", "Nothing",
                            "ApplyServer ItemMotionHandler Sinewrig", ""})
        EXPECT_EQ(generic->evaluate(generic->data, bad), 0) << bad;
    EXPECT_EQ(layout.selection(), std::vector<LWItemID>{second});
    EXPECT_EQ(layout.scene.find(second)->colour, 14);
    ASSERT_EQ(layout.commands.size(), 14u);
    EXPECT_TRUE(layout.commands[0].done);
    EXPECT_FALSE(layout.commands.back().done);
}

TEST(StandInMotionAccess, FramesAreTheTimeAtThirtyPerSecondHeldWithinAnInt) {
    host::MotionState motion;
    const std::vector<std::pair<double, LWFrame>> cases = {
        {0.0, 0},         {1.0, 30},       {-1.0, -30},      {0.0166, 0},       {0.0167, 1},
        {7e7, 2100000000}, {7.2e7, INT_MAX}, {-7.2e7, INT_MIN}, {1e300, INT_MAX}, {-1e300, INT_MIN}};
    for (const auto& [time, frame] : cases) {
        motion.start(time);
        EXPECT_EQ(motion.access().frame, frame) << time;
    }
}
