// A plug-in's data in a scene file's text: how each write call becomes a line,
// how reads take values a line at a time, and the module's muscles saved and
// loaded through them.
#include <gtest/gtest.h>

#include <cfloat>

#include "abi/item_number.h"
#include "host/lws/text_state.h"
#include "muscle_host.h"

namespace {

using host::lws::TextLoadState;
using host::lws::TextSaveState;

TEST(TextSaveState, EachWriteIsOneLineInTheFormTheHostsFilesShow) {
    std::string out;
    TextSaveState state(out);
    const LWSaveState& s = *state.record();
    EXPECT_EQ(s.ioMode, LWIO_SCENE);
    const unsigned int u4[] = {0x1f4, 0, 0x40010000, 0xFFFFFFFF};
    const unsigned char u1[] = {0, 1, 0xFF};
    const unsigned short u2[] = {0xABCD};
    const int i4[] = {-5, 12};
    const short i2[] = {-32768};
    const char i1[] = {-128, 127};
    const float fp[] = {0.3f, 1.0f, -2.5f, 1e-7f, FLT_MAX, 0.1f + 0.2f};
    s.writeU4(s.writeData, u4, 4);
    s.writeU1(s.writeData, u1, 3);
    s.writeU2(s.writeData, u2, 1);
    s.writeI4(s.writeData, i4, 2);
    s.writeI2(s.writeData, i2, 1);
    s.writeI1(s.writeData, i1, 2);
    s.writeFP(s.writeData, fp, 6);
    s.write(s.writeData, "\x01\xff", 2);
    s.writeU4(s.writeData, u4, 0);  // no values: no line
    s.writeFP(s.writeData, nullptr, 3);
    EXPECT_EQ(out,
              "1f4 0 40010000 ffffffff\n"
              "0 1 ff\n"
              "abcd\n"
              "-5 12\n"
              "-32768\n"
              "-128 127\n"
              "0.3 1 -2.5 1e-07 3.4028235e+38 0.3\n"  // 0.1f + 0.2f is the float nearest 0.3
              "1 ff\n");
}

TEST(TextSaveState, LinesTakeTheIndentAndLineEndTheyAreGiven) {
    std::string out = "before\r\n";
    TextSaveState state(out, "    ", "\r\n");
    const unsigned int one = 1;
    const float half = 0.5f;
    state.record()->writeU4(state.record()->writeData, &one, 1);
    state.record()->writeFP(state.record()->writeData, &half, 1);
    EXPECT_EQ(out, "before\r\n    1\r\n    0.5\r\n");
}

TEST(TextLoadState, ReadsTakeValuesFromOneLineInAnySpellingThenMoveOn) {
    TextLoadState state({"1F4  0x2a\t7", "3 4 5 6 7", "", "zz 5", "1 2", "0.30000001 -1.5e0 +2 3", "0000000000001f",
                         "ABCDEF 0X10"});
    const LWLoadState& s = *state.record();
    EXPECT_EQ(s.ioMode, LWIO_SCENE);
    unsigned int u4[6] = {};
    ASSERT_EQ(s.readU4(s.readData, u4, 3), 3);
    EXPECT_EQ(u4[0], 0x1f4u);
    EXPECT_EQ(u4[1], 0x2au);
    EXPECT_EQ(u4[2], 7u);
    EXPECT_EQ(s.readU4(s.readData, u4, 6), 5);  // six asked, five on the line
    EXPECT_EQ(u4[4], 7u);
    EXPECT_EQ(s.readU4(s.readData, u4, 1), 0);  // the empty line
    EXPECT_EQ(s.readU4(s.readData, u4, 2), 0);  // "zz" ends the read at once
    EXPECT_EQ(s.readU4(s.readData, u4, 1), 1);  // "1"; the "2" goes with its line
    float fp[3] = {};
    ASSERT_EQ(s.readFP(s.readData, fp, 3), 3);
    EXPECT_EQ(fp[0], 0.3f);
    EXPECT_EQ(fp[1], -1.5f);
    EXPECT_EQ(fp[2], 2.0f);
    EXPECT_EQ(s.readU4(s.readData, u4, 0), 0);  // no values asked: the line stays
    EXPECT_EQ(s.readU4(s.readData, u4, 1), 1);
    EXPECT_EQ(u4[0], 0x1fu);
    EXPECT_EQ(s.readU4(s.readData, u4, 2), 2);
    EXPECT_EQ(u4[0], 0xabcdefu);
    EXPECT_EQ(u4[1], 0x10u);
    EXPECT_TRUE(state.atEnd());
    EXPECT_EQ(s.readU4(s.readData, u4, 1), -1);
    EXPECT_EQ(s.readFP(s.readData, fp, 1), -1);
    EXPECT_EQ(s.readU4(s.readData, u4, 0), -1);
}

TEST(TextLoadState, AValueThatDoesNotFitTheTypeReadEndsTheRead) {
    TextLoadState state({"ff 100", "ffff 10000", "ffffffff 100000000", "127 -128 128", "-1", "0x", "1e38 1e39",
                         "nan", "-inf", "32767 -32769", "2 x", "ff 1ff"});
    const LWLoadState& s = *state.record();
    unsigned char u1[2];
    unsigned short u2[2];
    unsigned int u4[2];
    char i1[3];
    short i2[2];
    float fp[2];
    char bytes[2];
    EXPECT_EQ(s.readU1(s.readData, u1, 2), 1);
    EXPECT_EQ(s.readU2(s.readData, u2, 2), 1);
    EXPECT_EQ(s.readU4(s.readData, u4, 2), 1);
    EXPECT_EQ(u4[0], 0xffffffffu);
    EXPECT_EQ(s.readI1(s.readData, i1, 3), 2);
    EXPECT_EQ(i1[1], -128);
    EXPECT_EQ(s.readU4(s.readData, u4, 1), 0);  // unsigned values have no sign
    EXPECT_EQ(s.readU4(s.readData, u4, 1), 0);  // "0x" without digits
    EXPECT_EQ(s.readFP(s.readData, fp, 2), 1);  // 1e39 is beyond a float
    EXPECT_EQ(s.readFP(s.readData, fp, 1), 0);  // no NaN reaches the plug-in
    EXPECT_EQ(s.readFP(s.readData, fp, 1), 0);  // nor infinity
    EXPECT_EQ(s.readI2(s.readData, i2, 2), 1);
    EXPECT_EQ(s.readI4(s.readData, reinterpret_cast<int*>(u4), 2), 1);
    EXPECT_EQ(s.read(s.readData, bytes, 2), 1);  // bytes are hex like U1
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xffu);
    EXPECT_EQ(s.readU4(s.readData, u4, 1), -1);
}

// The module's muscle as a scene file holds it, and back.
struct TextMuscle : ::testing::Test {
    MuscleHost host;
    LWItemID body = host.layout.scene.addItem(LWI_OBJECT, "body");
    LWItemID bone = host.layout.scene.addItem(LWI_BONE, "muscle", body);
    LWItemID reference = host.layout.scene.addItem(LWI_BONE, "reference", body);

    std::string savedText(LWInstance instance, const std::string& indent = "") {
        std::string out;
        TextSaveState state(out, indent);
        host.handlers->saveTo(instance, *state.record());
        return out;
    }
};

TEST_F(TextMuscle, SaveWritesTheSixValuesOnaLineEach) {
    LWInstance instance = host.handlers->apply(bone);
    host.handlers->load(instance, MuscleHost::muscleData(bone, reference, 1, 0, 0.3f, {0.1, 0, 2}));
    EXPECT_EQ(savedText(instance, "  "), "  40000000\n  40010000\n  1\n  0\n  0.3\n  0.1 0 2\n");
}

TEST_F(TextMuscle, LoadTakesTheLinesBackAndEveryReadBeyondThemGetsTheEnd) {
    LWInstance instance = host.handlers->apply(bone);
    TextLoadState state({"40000000", "40010000", "1", "0", "0.30000001", "0.1 0 2"});
    EXPECT_EQ(host.handlers->loadFrom(instance, *state.record()), nullptr);
    EXPECT_TRUE(state.atEnd());
    EXPECT_EQ(host.handlers->save(instance), MuscleHost::muscleData(bone, reference, 1, 0, 0.3f, {0.1, 0, 2}));
    // The muscle controls' extension goes through as well, marker and all.
    const host::SceneData controls = {{"U4", {double(0x4D535831)}}, {"FP", {2.5}}, {"U1", {2}},
                                      {"FP", {0.75}},                {"FP", {1.5}}, {"FP", {0.5}}};
    host::SceneData extended = MuscleHost::muscleData(bone, reference);
    extended.insert(extended.end(), controls.begin(), controls.end());
    host.handlers->load(instance, extended);
    const std::string text = savedText(instance);
    EXPECT_EQ(text, "40000000\n40010000\n0\n1\n1\n0 0 0\n4d535831\n2.5\n2\n0.75\n1.5\n0.5\n");
    LWInstance other = host.handlers->apply(reference);
    std::vector<std::string_view> lines;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(std::string_view(text).substr(at, end - at));
    TextLoadState again(lines);
    host.handlers->loadFrom(other, *again.record());
    EXPECT_EQ(host.handlers->save(other), extended);
}

}  // namespace
