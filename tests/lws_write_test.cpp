// Writing a scene back: every line the stand-in does not regenerate stays
// byte for byte and in place; Sinewrig's blocks hold what the module's save
// writes; a bake replaces a muscle's block with plain keys.
#include <gtest/gtest.h>

#include <cmath>

#include "abi/item_number.h"
#include "lws_text.h"
#include "muscle_host.h"

namespace {

using lws_text::kStill;
using lws_text::motion;
using lws_text::read;
using lws_text::written;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A muscle on a bone reaching for a null, with another plug-in after it and
// lines of no interest around.
std::string muscleScene(const std::string& indent = "") {
    return "LWSC\n3\n\nFramesPerSecond 30\n\nAddNullObject Target\nObjectMotion\n" +
           motion({"0", "0", "1", "0", "0", "0", "1", "1", "1"}) +
           "\nLoadObjectLayer 1 Objects/body.lwo\nObjectMotion\n" + motion(kStill) +
           "SurfaceThing \"a b\"  7\n\nAddBone\nBoneName Muscle\nBoneRestLength 1\nBoneMotion\n" + motion(kStill) +
           indent + "Plugin ItemMotionHandler 1 Sinewrig\n" + indent + "40000001\n" + indent + "10000000\n" + indent +
           "0\n" + indent + "1\n" + indent + "1.0\n" + indent + "0 0 1.0\n" + indent + "EndPlugin\n" +
           "Plugin ItemMotionHandler 2 Oscillator\n  { Wave\n    2\n  }\nEndPlugin\nBoneColor 3\n\nRenderMode 2\n";
}

struct SceneWriting : ::testing::Test {
    MuscleHost host;
    host::lws::SceneText scene;

    void load(const std::string& text) {
        scene = read(text);
        std::string error;
        ASSERT_TRUE(host::lws::loadScene(scene, host.layout, *host.handlers, error)) << error;
    }
    std::string writtenWithSave() { return written(scene, {host.handlers.get(), {}}); }
};

TEST_F(SceneWriting, WithoutChangesTheFileComesBackByteForByte) {
    for (const std::string& text : {muscleScene(), lws_text::withCrlf(muscleScene()), muscleScene().substr(0, muscleScene().size() - 1),
                                    std::string("LWSC\n5\nodd   spacing\t\tkept\n{ Block\n  \xe8\x85\x95\n}\n")})
        EXPECT_EQ(written(read(text)), text);
}

TEST_F(SceneWriting, OnlyTheSinewrigBlocksBodyIsRegeneratedFromTheModulesSave) {
    load(muscleScene());
    // "1.0" as another writer spelled it comes back as the shortest float.
    const std::string expected = replaced(muscleScene(), "1.0\n0 0 1.0\n", "1\n0 0 1\n");
    EXPECT_EQ(writtenWithSave(), expected);
    // After an evaluation the module's rest data is its own: the tip sits on the target's origin.
    host.handlers->evaluate(0.0);
    EXPECT_EQ(writtenWithSave(), replaced(muscleScene(), "1.0\n0 0 1.0\n", "1\n0 0 0\n"));
}

TEST_F(SceneWriting, TheBodyIsIndentedAsTheBlockSitsAndCrlfIsKept) {
    load(lws_text::withCrlf(muscleScene("    ")));
    EXPECT_EQ(writtenWithSave(),
              lws_text::withCrlf(replaced(muscleScene("    "), "    1.0\n    0 0 1.0\n", "    1\n    0 0 1\n")));
}

TEST_F(SceneWriting, ABlockWhoseInstanceIsGoneStaysAsRead) {
    load(muscleScene());
    host.handlers->remove(host.handlers->instances()[0].instance);
    EXPECT_EQ(writtenWithSave(), muscleScene());
}

// The muscle's baked channels as the host writes linear keys: c at 0 s and
// c + 0.25 at 0.5 s on channel c.
host::lws::ItemBake bakeOf(std::uint32_t item) {
    host::lws::ItemBake bake;
    bake.item = item;
    for (int c = 0; c < 9; ++c) bake.channels[c] = {{0.0, double(c)}, {0.5, c + 0.25}};
    return bake;
}

std::string bakedMotion(const std::string& indent = "") {
    std::string text;
    for (int c = 0; c < 9; ++c) {
        const std::string v = std::to_string(c);
        text += indent + "Channel " + v + "\n" + indent + "{ Envelope\n" + indent + "  2\n" + indent + "  Key " + v +
                " 0 3 0 0 0 0 0 0\n" + indent + "  Key " + v + ".25 0.5 3 0 0 0 0 0 0\n" + indent +
                "  Behaviors 1 1\n" + indent + "}\n";
    }
    return text;
}

TEST_F(SceneWriting, ABakeReplacesTheMusclesBlockAndChannelsAndKeepsEveryOtherLine) {
    load(muscleScene());
    const std::string block = "Plugin ItemMotionHandler 1 Sinewrig\n40000001\n10000000\n0\n1\n1.0\n0 0 1.0\nEndPlugin\n";
    const std::string boneMotion = "BoneMotion\n" + motion(kStill) + block;
    const std::string expected = replaced(muscleScene(), boneMotion, "BoneMotion\nNumChannels 9\n" + bakedMotion());
    const std::string baked = written(scene, {host.handlers.get(), {bakeOf(0x40000001)}});
    EXPECT_EQ(baked, expected);

    // Read back, the bone carries the keys and no muscle; the other plug-in is still there.
    const host::lws::SceneText again = read(baked);
    const host::lws::SceneItem* bone = again.item(0x40000001);
    ASSERT_NE(bone, nullptr);
    EXPECT_EQ(bone->channels[4].keys.size(), 2u);
    EXPECT_EQ(bone->channels[4].valueAt(0.25), 4.125);
    ASSERT_EQ(again.plugins.size(), 1u);
    EXPECT_EQ(again.plugins[0].name, "Oscillator");
}

TEST_F(SceneWriting, ABakeGivesAnItemWithoutAllNineChannelsTheMissingOnes) {
    // One bone lists two channels, another none, the file ends without a line end.
    const std::string text = "LWSC\n3\n\nAddNullObject Body\nAddBone\nBoneName Partial\nBoneMotion\nNumChannels 2\n"
                             "Channel 0\n" + lws_text::envelope({"5 0 0 0 0 0 0 0 0"}) +
                             "Channel 1\n" + lws_text::envelope({"6 0 0 0 0 0 0 0 0"}) +
                             "BoneColor 2\nAddBone\nBoneName Bare";
    scene = read(text);
    const std::string baked = written(scene, {nullptr, {bakeOf(0x40000000), bakeOf(0x40010000)}});
    const host::lws::SceneText again = read(baked);
    for (std::uint32_t number : {0x40000000u, 0x40010000u}) {
        const host::lws::SceneItem* bone = again.item(number);
        ASSERT_NE(bone, nullptr);
        EXPECT_EQ(bone->numChannels, 9);
        for (int c = 0; c < 9; ++c) EXPECT_EQ(bone->channels[c].valueAt(0.5), c + 0.25) << number << " " << c;
    }
    EXPECT_EQ(baked.substr(0, baked.find("Channel 0")), "LWSC\n3\n\nAddNullObject Body\nAddBone\nBoneName Partial\nBoneMotion\nNumChannels 9\n");
    EXPECT_NE(baked.find("BoneColor 2\nAddBone\nBoneName Bare\nBoneMotion\nNumChannels 9\nChannel 0\n"), std::string::npos);
}

TEST_F(SceneWriting, ABakeThatCannotBeWrittenWritesNothing) {
    scene = read(muscleScene());
    auto refused = [&](host::lws::ItemBake bake, const std::string& reason, host::lws::ItemBake second = {}) {
        std::vector<host::lws::ItemBake> bakes = {bake};
        if (second.item) bakes.push_back(second);
        std::ostringstream out;
        std::string error;
        EXPECT_FALSE(host::lws::writeScene(scene, {nullptr, bakes}, out, error));
        EXPECT_EQ(error, reason);
        EXPECT_TRUE(out.str().empty());
    };
    refused(bakeOf(0x40000009), "the bake names item 40000009, which the scene does not have");
    refused(bakeOf(0x40000001), "the bake names item 40000001 twice", bakeOf(0x40000001));
    host::lws::ItemBake notFinite = bakeOf(0x40000001);
    notFinite.channels[2][1].value = std::nan("");
    refused(notFinite, "item 40000001 channel 2 key 1 is not finite");
    host::lws::ItemBake backwards = bakeOf(0x40000001);
    backwards.channels[0][1].time = -1;
    refused(backwards, "item 40000001 channel 0 key 1 comes before the key above it");
}

}  // namespace
