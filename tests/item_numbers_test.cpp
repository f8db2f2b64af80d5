// The stand-in numbers its items as the host's scenes do, and an item's
// LWItemID is that number: counted per kind from 0, bones within their
// object, or the number a scene baked.
#include <gtest/gtest.h>

#include <cstdint>

#include "abi/item_number.h"
#include "host/layout/layout.h"

namespace {

std::uint32_t number(LWItemID id) { return itemNumber(id); }

TEST(ItemNumbers, EachKindIsCountedFromZeroAndBonesWithinTheirObject) {
    host::Scene scene;
    LWItemID body = scene.addItem(LWI_OBJECT, "body");
    LWItemID light = scene.addItem(LWI_LIGHT, "Light");
    LWItemID arm = scene.addItem(LWI_OBJECT, "arm");
    LWItemID upper = scene.addItem(LWI_BONE, "upper", arm);
    LWItemID lower = scene.addItem(LWI_BONE, "lower", upper);  // owned by arm through its parent
    LWItemID spine = scene.addItem(LWI_BONE, "spine", body);
    LWItemID camera = scene.addItem(LWI_CAMERA, "Camera");
    LWItemID fill = scene.addItem(LWI_LIGHT, "Fill");
    EXPECT_EQ(number(body), 0x10000000u);
    EXPECT_EQ(number(arm), 0x10000001u);
    EXPECT_EQ(number(light), 0x20000000u);
    EXPECT_EQ(number(fill), 0x20000001u);
    EXPECT_EQ(number(camera), 0x30000000u);
    EXPECT_EQ(number(upper), 0x40000001u);  // bone 0 of object 1
    EXPECT_EQ(number(lower), 0x40010001u);  // bone 1 of object 1
    EXPECT_EQ(number(spine), 0x40000000u);  // bone 0 of object 0
    EXPECT_EQ(scene.find(lower)->owner, arm);
    EXPECT_EQ(scene.find(lower)->name, "lower");
    EXPECT_EQ(scene.find(itemFromNumber(0x40000002)), nullptr);
}

TEST(ItemNumbers, BakedNumbersAreKeptWithTheirGapsAndStillCount) {
    host::Scene scene;
    LWItemID null = scene.addNumberedItem(0x10000003, LWI_OBJECT, "Null");
    LWItemID bone = scene.addNumberedItem(0x4024000A, LWI_BONE, "deep", null);
    LWItemID counted = scene.addItem(LWI_OBJECT, "next");  // the second object counted
    EXPECT_EQ(number(null), 0x10000003u);
    EXPECT_EQ(number(bone), 0x4024000Au);
    EXPECT_EQ(number(counted), 0x10000001u);
    EXPECT_EQ(scene.find(bone)->owner, null);
    // A number held already, or 0, makes no item.
    EXPECT_EQ(scene.addNumberedItem(0x10000003, LWI_OBJECT, "again"), nullptr);
    EXPECT_EQ(scene.addNumberedItem(0, LWI_LIGHT, "none"), nullptr);
    EXPECT_EQ(scene.items().size(), 3u);
    // A counted number a baked one holds goes to the highest free number of the kind.
    host::Scene taken;
    taken.addNumberedItem(0x10000000, LWI_OBJECT, "baked");
    taken.addNumberedItem(0x10000001, LWI_OBJECT, "baked too");
    EXPECT_EQ(number(taken.addItem(LWI_OBJECT, "third")), 0x10000002u);
    taken.addNumberedItem(0x10000004, LWI_OBJECT, "fourth, baked ahead");
    EXPECT_EQ(number(taken.addItem(LWI_OBJECT, "fifth")), 0x1FFFFFFFu);  // its count, 4, is held
}

TEST(ItemNumbers, BonesBeyondWhatTheFormHoldsGetNumbersOfTheirOwnAndAreFoundByThem) {
    host::Scene scene;
    LWItemID body = scene.addItem(LWI_OBJECT, "body");
    std::vector<LWItemID> bones;
    for (int i = 0; i < 0x1002; ++i) bones.push_back(scene.addItem(LWI_BONE, "b" + std::to_string(i), body));
    EXPECT_EQ(number(bones[0xFFF]), 0x4FFF0000u);  // bone FFF of object 0, the last the form holds
    EXPECT_EQ(number(bones[0x1000]), 0x4FFFFFFFu);
    EXPECT_EQ(number(bones[0x1001]), 0x4FFFFFFEu);
    for (std::size_t i = 0; i < bones.size(); i += 511) EXPECT_EQ(scene.find(bones[i])->name, "b" + std::to_string(i));
    // Bones of no object count as the object FFFF's.
    EXPECT_EQ(number(scene.addItem(LWI_BONE, "loose")), 0x4000FFFFu);
    EXPECT_EQ(number(scene.addItem(LWI_BONE, "loose too")), 0x4001FFFFu);
}

TEST(ItemNumbers, PlainNumberingCountsEveryItemFromOne) {
    host::Scene scene;
    scene.numbering = host::Scene::Numbering::plain;
    EXPECT_EQ(number(scene.addItem(LWI_BONE, "a")), 1u);
    EXPECT_EQ(number(scene.addItem(LWI_LIGHT, "b")), 2u);
    EXPECT_EQ(scene.find(itemFromNumber(2))->name, "b");
}

TEST(ItemNumbers, ItemInfoWalksAnObjectsBonesByTheirNumbers) {
    host::Layout layout;
    LWItemID body = layout.scene.addNumberedItem(0x10000002, LWI_OBJECT, "body");
    LWItemID first = layout.scene.addNumberedItem(0x40050002, LWI_BONE, "first", body);
    LWItemID second = layout.scene.addItem(LWI_BONE, "second", first);
    const auto* info = static_cast<const LWItemInfo*>(layout.services.lookup("LW Item Info 3"));
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->first(LWI_BONE, body), first);
    EXPECT_EQ(info->next(first), second);
    EXPECT_EQ(info->parent(second), first);
    EXPECT_EQ(number(second), 0x40010002u);  // counted: the object's second bone
    EXPECT_STREQ(info->name(second), "second");
}

}  // namespace

TEST(ItemNumbers, ThousandsOfBonesOfOneObjectAreEachFoundByTheirNumber) {
    // An object holds bones 000 to FFF by count; the 4096th on take the
    // kind's spare numbers from the top, 4FFFFFFF down.
    host::Scene scene;
    LWItemID object = scene.addItem(LWI_OBJECT, "Rig");
    std::vector<LWItemID> bones;
    for (int i = 0; i < 6000; ++i) bones.push_back(scene.addItem(LWI_BONE, "B" + std::to_string(i), object));
    EXPECT_EQ(number(bones[0]), 0x40000000u);
    EXPECT_EQ(number(bones[4095]), 0x4FFF0000u);
    EXPECT_EQ(number(bones[4096]), 0x4FFFFFFFu);
    EXPECT_EQ(number(bones[5999]), 0x4FFFFFFFu - 1903);
    for (int i = 0; i < 6000; i += 7) {
        ASSERT_NE(scene.find(bones[i]), nullptr) << i;
        EXPECT_EQ(scene.find(bones[i])->name, "B" + std::to_string(i));
    }
    EXPECT_EQ(scene.find(object)->name, "Rig");
    EXPECT_EQ(scene.find(itemFromNumber(0x40000001)), nullptr);  // bone 0 of object 1: none
    EXPECT_EQ(scene.find(itemFromNumber(0x4FFFFFFF - 1904)), nullptr);
    EXPECT_EQ(scene.addNumberedItem(0x4FFF0000, LWI_BONE, "taken"), nullptr);
}
