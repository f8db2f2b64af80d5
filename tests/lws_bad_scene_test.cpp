// Scenes the stand-in refuses, each naming the line and what is wrong, with
// nothing read that a caller could take for the scene; and files that are no
// scene, named for what they are.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "lws_text.h"

namespace {

using lws_text::envelope;
using lws_text::kStill;
using lws_text::motion;

struct Refusal {
    std::string name, text;
    std::size_t line;
    std::string reason;  // a part of the message
};

// Line numbers: 1 LWSC, 2 the version, 3 empty, 4 AddNullObject, 5 ObjectMotion,
// 6 NumChannels, 7 Channel 0, 8 { Envelope, 9 the count, 10 its key, 11 Behaviors, 12 }.
const std::string kHead = "LWSC\n3\n\nAddNullObject Null\nObjectMotion\nNumChannels 1\nChannel 0\n";

std::vector<Refusal> refusals() {
    const std::string key = "  Key 0 0 0 0 0 0 0 0 0\n";
    return {
        {"cut envelope", kHead + "{ Envelope\n  1\n" + key, 8, "cut: the file ends at line 10"},
        {"cut block", "LWSC\n3\n{ Outer\n  { Inner\n  }\n", 3, "cut: the file ends at line 5"},
        {"cut inner block", "LWSC\n3\n{ Outer\n  { Inner\n", 4, "the file ends at line 4"},
        {"short key", kHead + "{ Envelope\n  1\n  Key 0 0 0 0 0\n  Behaviors 1 1\n}\n", 10, "a Key with 5 numbers"},
        {"fewer keys than nkeys", kHead + "{ Envelope\n  3\n" + key + key + "  Behaviors 1 1\n}\n", 12,
         "gives 2 keys where line 9 says 3"},
        {"fewer keys, no behaviours", kHead + "{ Envelope\n  2\n" + key + "}\n", 11, "gives 1 key where line 9 says 2"},
        {"more keys than nkeys", kHead + "{ Envelope\n  1\n" + key + key + "}\n", 11, "a key more than the 1 of line 9"},
        {"not finite", kHead + "{ Envelope\n  1\n  Key nan 0 0 0 0 0 0 0 0\n}\n", 10, "\"nan\" is not a finite number"},
        {"overflowing", kHead + "{ Envelope\n  1\n  Key 1e999 0 0 0 0 0 0 0 0\n}\n", 10, "is not a finite number"},
        {"not a number", kHead + "{ Envelope\n  1\n  Key 1 x 0 0 0 0 0 0 0\n}\n", 10, "\"x\" is not a number"},
        {"no key count", kHead + "{ Envelope\n  many\n}\n", 9, "number of keys is \"many\""},
        {"span type", kHead + "{ Envelope\n  1\n  Key 0 0 7 0 0 0 0 0 0\n}\n", 10, "span type 7 is not one of 0 to 5"},
        {"span type beyond an int", kHead + "{ Envelope\n  1\n  Key 0 0 3e27 0 0 0 0 0 0\n}\n", 10,
         "span type 3e+27 is not one of 0 to 5"},
        {"fractional span type", kHead + "{ Envelope\n  1\n  Key 0 0 2.5 0 0 0 0 0 0\n}\n", 10, "span type 2.5"},
        {"behaviour", kHead + "{ Envelope\n  0\n  Behaviors 1 6\n}\n", 10, "behaviour 6"},
        {"keys backwards", kHead + "{ Envelope\n  2\n  Key 0 1 0 0 0 0 0 0 0\n" + key + "}\n", 11,
         "a key at time 0 after one at 1"},
        {"channel out of range", "LWSC\n3\n\nAddNullObject Null\nObjectMotion\nNumChannels 1\nChannel 9\n" + envelope({}), 7,
         "Channel 9 is not one of 0 to 8"},
        {"channel twice", kHead + envelope({}) + "Channel 0\n" + envelope({}), 12, "Channel 0 is given twice"},
        {"channel without envelope", kHead + "Key 0 0 0 0 0 0 0 0 0\n", 8, "not followed by { Envelope"},
        {"parent names no item", "LWSC\n3\nAddNullObject A\nParentItem 10000005\n", 4, "ParentItem 10000005 names no item"},
        {"parent loop", "LWSC\n3\nAddNullObject A\nParentItem 10000001\nAddNullObject B\nParentItem 10000000\n", 6,
         "parent loop: B -> A -> B"},
        {"object under its own bone", "LWSC\n3\nAddNullObject A\nParentItem 40000000\nAddBone\nBoneName Arm\n", 4,
         "parent loop: A -> Arm -> A"},
        {"duplicate number", "LWSC\n4\nAddNullObject 10000000 A\nAddNullObject 10000000 B\n", 4,
         "the item number 10000000 is the item's added at line 3 already"},
        {"number of another kind", "LWSC\n4\nAddNullObject 10000000 A\nAddBone 10000001\n", 4, "not a bone's"},
        {"unterminated plug-in", "LWSC\n3\nAddNullObject A\nPlugin ItemMotionHandler 1 Sinewrig\n0\n", 4,
         "(Sinewrig) has no EndPlugin: the file ends at line 5"},
        {"nested unterminated plug-in",
         "LWSC\n3\nAddNullObject A\nPlugin ItemMotionHandler 1 Other\nPlugin Inner 1 Thing\nEndPlugin\n", 4,
         "has no EndPlugin"},
        {"muscle under no item", "LWSC\n3\nPlugin ItemMotionHandler 1 Sinewrig\nEndPlugin\n", 3, "under no item"},
        {"bone before any object", "LWSC\n3\nAddBone\n", 3, "a bone before any object"},
        {"bone keyword on a light", "LWSC\n3\nAddLight\nBoneRestLength 2\n", 4, "BoneRestLength outside a bone"},
        {"stray brace", "LWSC\n3\n}\n", 3, "a } that closes no block"},
        {"bad frame rate", "LWSC\n3\nFramesPerSecond 0\n", 3, "FramesPerSecond 0 is not above 0"},
        {"bad frame step", "LWSC\n3\nFrameStep 0\n", 3, "FrameStep 0 is below 1"},
        {"bad first frame", "LWSC\n3\nFirstFrame one\n", 3, "\"one\" is not a whole number"},
        {"short rest position", "LWSC\n3\nAddNullObject A\nAddBone\nBoneRestPosition 1 2\n", 5,
         "BoneRestPosition has 2 numbers where 3 are needed"},
        {"version 1", "LWSC\n1\n", 2, "LWSC version 1"},
        {"version 6", "LWSC\n6\n", 2, "LWSC version 6 is not read"},
        {"no version", "LWSC\n", 1, "without a version"},
    };
}

TEST(BadScenes, EachIsRefusedNamingItsLineAndNothingIsRead) {
    for (const Refusal& r : refusals()) {
        host::lws::SceneText scene = lws_text::read("LWSC\n3\nAddNullObject Kept\n");
        host::lws::SceneError error;
        EXPECT_FALSE(host::lws::readScene(r.text, scene, error)) << r.name;
        EXPECT_EQ(error.line, r.line) << r.name << ": " << error.what;
        EXPECT_NE(error.what.find(r.reason), std::string::npos) << r.name << ": " << error.what;
        // The scene the caller had is untouched.
        ASSERT_EQ(scene.items.size(), 1u) << r.name;
        EXPECT_EQ(scene.items[0].name, "Kept");
    }
}

TEST(BadScenes, CrlfScenesAreRefusedAtTheSameLines) {
    for (const Refusal& r : refusals()) {
        host::lws::SceneText scene;
        host::lws::SceneError error;
        EXPECT_FALSE(host::lws::readScene(lws_text::withCrlf(r.text), scene, error)) << r.name;
        EXPECT_EQ(error.line, r.line) << r.name << ": " << error.what;
    }
}

TEST(BadScenes, FilesThatAreNoSceneAreNamedForWhatTheyAre) {
    const std::vector<std::pair<std::string, std::string>> files = {
        {"", "an empty file, not an LWSC scene"},
        {std::string("FORM\0\0\0\x04LWO2", 12), "an object file (LWO2), not an LWSC scene"},
        {"{\n  \"object\": \"arm\",\n  \"skelegons\": []\n}\n", "a rig (JSON), not an LWSC scene"},
        {"[1, 2]", "a JSON file, not an LWSC scene"},
        {"LWSC3\n", "text whose first line is \"LWSC3\", not an LWSC scene"},
        {std::string("\x7f" "ELF\x02\x01\x01\0", 8), "a binary file, not an LWSC scene"},
        {"LWMO\n3\n", "a motion file (LWMO), not an LWSC scene"},
        {"Hello\r\nthere\n", "text whose first line is \"Hello\", not an LWSC scene"},
    };
    for (const auto& [bytes, reason] : files) {
        host::lws::SceneText scene;
        host::lws::SceneError error;
        EXPECT_FALSE(host::lws::readScene(bytes, scene, error));
        EXPECT_EQ(error.line, 0u);
        EXPECT_NE(error.what.find(reason), std::string::npos) << error.what;
    }
}

TEST(BadScenes, AFileIsNamedWithTheLineInTheError) {
    const std::string path = ::testing::TempDir() + "sinewrig_bad.lws";
    std::ofstream(path, std::ios::binary) << "LWSC\n3\nAddBone\n";
    host::lws::SceneText scene;
    std::string error;
    EXPECT_FALSE(host::lws::readSceneFile(path, scene, error));
    EXPECT_EQ(error, path + ":3: a bone before any object");
    std::remove(path.c_str());
    EXPECT_FALSE(host::lws::readSceneFile(path, scene, error));
    EXPECT_EQ(error.rfind(path + ": cannot be read", 0), 0u) << error;
}

TEST(BadScenes, LinesTheStandInDoesNotKnowAreNoFault) {
    const std::string text = "LWSC\n5\nSomethingNew 1 2 3\n  indented nonsense\n{ Block\n  Key too few\n  }\n"
                             "AddNullObject 10000000 A\nMorphTarget 10000000\nEndPlugin\nKey 1\n";
    const host::lws::SceneText scene = lws_text::read(text);
    EXPECT_EQ(scene.items.size(), 1u);
    EXPECT_EQ(lws_text::written(scene), text);
}

}  // namespace
