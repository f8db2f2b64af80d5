// A rig saved as the host's scene file: a small rig's scene and object
// against values worked out by hand, and every example rig's scene read back
// by a fresh host bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

#include "host/lws/load_scene.h"
#include "host/object_file/object_file.h"
#include "tests/scratch_folder.h"
#include "tools/sinewrig/rig/rig_file.h"
#include "tools/sinewrig/road/rig_scene.h"
#include "tools/sinewrig/road/road.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// An upper bone along +Z from (0, 1, 0), a lower one along +X from its tip,
// and a muscle along +Z from the origin reaching for the lower bone, which
// turns 30 degrees of heading over the first second.
const char* const kSmallRig = R"({
  "object": "Small",
  "fps": 10,
  "frames": {"start": 0, "end": 10, "step": 1},
  "skelegons": [
    {"name": "Upper", "pivot": [0, 1, 0], "tip": [0, 1, 2]},
    {"name": "Lower", "pivot": [0, 1, 2], "tip": [1, 1, 2]},
    {"name": "Muscle", "pivot": [0, 0, 0], "tip": [0, 0, 1], "selected": true}
  ],
  "muscles": [{"skelegon": "Muscle", "reference": "Lower"}],
  "keys": [
    {"bone": "Lower", "frame": 0, "rotation": [0, 0, 0]},
    {"bone": "Lower", "frame": 10, "rotation": [30, 0, 0]}
  ]
})";

// The lines from the one that is `first` up to (not with) the next empty one.
std::vector<std::string> block(const std::string& text, const std::string& first) {
    std::vector<std::string> lines;
    std::size_t at = text.find("\n" + first + "\n");
    if (at == std::string::npos) return lines;
    std::istringstream in(text.substr(at + 1));
    for (std::string line; std::getline(in, line) && !line.empty();) lines.push_back(line);
    return lines;
}

std::vector<std::string> without(const std::vector<std::string>& lines, const std::string& prefix) {
    std::vector<std::string> kept;
    for (const std::string& line : lines)
        if (line.rfind(prefix, 0) != 0) kept.push_back(line);
    return kept;
}

std::vector<double> numbersAfter(const std::vector<std::string>& lines, const std::string& keyword) {
    std::vector<double> values;
    for (const std::string& line : lines)
        if (line.rfind(keyword + " ", 0) == 0) {
            std::istringstream in(line.substr(keyword.size()));
            for (double v; in >> v;) values.push_back(v);
        }
    return values;
}

class RigScene : public ScratchFolder {
protected:
    sinewrig_tool::RoadResult walk(const std::string& rigPath, const std::string& name) {
        sinewrig_tool::Rig rig;
        std::vector<std::string> warnings;
        std::string error;
        EXPECT_TRUE(sinewrig_tool::loadRig(rigPath, rig, warnings, error)) << error;
        sinewrig_tool::RoadResult road;
        const auto status = sinewrig_tool::walkRoad(rig, rig.frames, SINEWRIG_MODULE_FILE,
                                                    {file(name + ".lws"), file(name + ".lwo"), name + ".lwo"}, nullptr,
                                                    nullptr, road, error);
        EXPECT_EQ(status, sinewrig_tool::RoadStatus::Done) << error;
        return road;
    }
};

}  // namespace

TEST_F(RigScene, ASmallRigsSceneHoldsTheBonesKeysAndMuscleAsWorkedOutByHand) {
    const sinewrig_tool::RoadResult road = walk(write("small.json", kSmallRig), "small");
    EXPECT_TRUE(road.roundTripIdentical);
    const std::string text = fileText(file("small.lws"));
    EXPECT_EQ(text.substr(0, text.find("\n\nLoadObjectLayer")),
              "LWSC\n3\n\nFirstFrame 0\nLastFrame 10\nFrameStep 1\nPreviewFirstFrame 0\nPreviewLastFrame 10\n"
              "PreviewFrameStep 1\nCurrentFrame 0\nFramesPerSecond 10");
    EXPECT_EQ(block(text, "LoadObjectLayer 1 small.lwo").back(), "PivotPosition 0 0 0");

    // Bones in skelegon order; only the lower one hangs from another bone.
    const std::vector<std::string> upper = block(text, "BoneName Upper");
    const std::vector<std::string> lower = block(text, "BoneName Lower");
    const std::vector<std::string> muscle = block(text, "BoneName Muscle");
    ASSERT_FALSE(upper.empty() || lower.empty() || muscle.empty()) << text;
    EXPECT_LT(text.find("BoneName Upper"), text.find("BoneName Lower"));
    EXPECT_LT(text.find("BoneName Lower"), text.find("BoneName Muscle"));
    EXPECT_EQ(std::vector<std::string>(upper.begin(), upper.begin() + 3),
              (std::vector<std::string>{"BoneName Upper", "BoneActive 1", "BoneRestPosition 0 1 0"}));
    EXPECT_EQ(numbersAfter(upper, "BoneRestDirection"), (std::vector<double>{0, 0, 0}));  // "-0" reads as 0 too
    EXPECT_EQ(std::vector<std::string>(upper.begin() + 4, upper.begin() + 6),
              (std::vector<std::string>{"BoneRestLength 2", "BoneMotion"}));
    EXPECT_EQ(without(upper, "ParentItem").size(), upper.size());
    EXPECT_EQ(numbersAfter(lower, "BoneRestPosition"), (std::vector<double>{0, 0, 2}));
    const std::vector<double> direction = numbersAfter(lower, "BoneRestDirection");
    ASSERT_EQ(direction.size(), 3u);
    EXPECT_NEAR(direction[0], 90, 1e-12);
    EXPECT_NEAR(direction[1], 0, 1e-12);
    EXPECT_EQ(numbersAfter(lower, "BoneRestLength"), (std::vector<double>{1}));
    EXPECT_EQ(lower.back(), "ParentItem 40000000");
    EXPECT_EQ(numbersAfter(muscle, "BoneRestPosition"), (std::vector<double>{0, 0, 0}));

    // The lower bone's heading: linear keys at 0 s and 1 s, 90 and 120 degrees, constant ends.
    const std::size_t heading = text.find("Channel 3\n", text.find("BoneName Lower"));
    std::istringstream envelope(text.substr(heading));
    std::string line, count, key0, key1, behaviours;
    std::getline(envelope, line);
    std::getline(envelope, line);
    EXPECT_EQ(line, "{ Envelope");
    std::getline(envelope, count);
    std::getline(envelope, key0);
    std::getline(envelope, key1);
    std::getline(envelope, behaviours);
    EXPECT_EQ(count, "  2");
    EXPECT_EQ(behaviours, "  Behaviors 1 1");
    double value, time, shape;
    std::istringstream(key0.substr(6)) >> value >> time >> shape;
    EXPECT_NEAR(value, kPi / 2, 1e-12);
    EXPECT_EQ(time, 0.0);
    EXPECT_EQ(shape, 3.0);
    std::istringstream(key1.substr(6)) >> value >> time >> shape;
    EXPECT_NEAR(value, 2 * kPi / 3, 1e-12);
    EXPECT_EQ(time, 1.0);
    EXPECT_EQ(shape, 3.0);

    // The muscle's block: its bone and reference, no preserved volume, after
    // IK, its rest length, and its tip (0, 0, 1) in the lower bone's axes at
    // rest, whose +Z is the world's +X and +X the world's -Z: (1, -1, 0).
    const std::size_t plugin = text.find("Plugin ItemMotionHandler 1 Sinewrig\n");
    ASSERT_NE(plugin, std::string::npos);
    EXPECT_EQ(text.find("Plugin ", plugin + 1), std::string::npos);  // the one muscle only
    const std::vector<std::string> body = block(text.substr(plugin - 1), "Plugin ItemMotionHandler 1 Sinewrig");
    ASSERT_EQ(body.size(), 8u) << text.substr(plugin);
    EXPECT_EQ(std::vector<std::string>(body.begin() + 1, body.begin() + 6),
              (std::vector<std::string>{"40020000", "40010000", "0", "1", "1"}));
    std::istringstream tip(body[6]);
    double x, y, z;
    tip >> x >> y >> z;
    EXPECT_NEAR(x, 1, 1e-6);
    EXPECT_NEAR(y, -1, 1e-6);
    EXPECT_NEAR(z, 0, 1e-6);
    EXPECT_EQ(body[7], "EndPlugin");
    EXPECT_LT(text.find("BoneName Muscle"), plugin);

    // The object beside it holds the skelegons with the tags SetMuscle wrote.
    host::ObjectFile object;
    host::MeshObject mesh;
    std::string error;
    ASSERT_TRUE(host::loadObjectFile(file("small.lwo"), object, mesh, error)) << error;
    ASSERT_EQ(mesh.layerCount(), 1);
    const auto& polygons = mesh.layerAt(0).polygons;
    ASSERT_EQ(polygons.size(), 3u);
    EXPECT_STREQ(polygons[1]->tag(LWPTAG_PART), "Lower");
    EXPECT_STREQ(polygons[2]->tag(LWPTAG_PART), "Muscle");
    EXPECT_STREQ(polygons[2]->tag(LWID_('M', 'T', 'I', 'P')), "Lower");
    EXPECT_EQ(polygons[0]->tag(LWID_('M', 'T', 'I', 'P')), nullptr);
    const auto* tipPoint = static_cast<const host::MeshPoint*>(polygons[1]->points[1]);
    EXPECT_EQ(tipPoint->position[0], 1.0);
    EXPECT_EQ(tipPoint->position[2], 2.0);
}

TEST_F(RigScene, EveryExampleRigComesBackBitForBitFromItsScene) {
    for (const char* name : {"arm", "neck", "hips", "controls", "vertical", "arm_object"}) {
        SCOPED_TRACE(name);
        const sinewrig_tool::RoadResult road =
            walk(std::string(SINEWRIG_SOURCE_DIR) + "/examples/" + name + ".json", name);
        EXPECT_TRUE(road.roundTripIdentical) << road.roundTripDifferences << " differences";
        host::lws::SceneText scene;
        std::string error;
        ASSERT_TRUE(host::lws::readSceneFile(file(std::string(name) + ".lws"), scene, error)) << error;
        std::size_t blocks = 0;
        for (const host::lws::PluginBlock& plugin : scene.plugins) blocks += plugin.isSinewrig();
        EXPECT_EQ(blocks, road.muscles.size());
        EXPECT_EQ(scene.items[0].file, std::string(name) + ".lwo");
    }
    // The hips' brace sits on layer 2: a second LoadObjectLayer of the same
    // file, its bone under that object, and the layer in the object file.
    const std::string hips = fileText(file("hips.lws"));
    const std::size_t second = hips.find("\nLoadObjectLayer 2 hips.lwo\n");
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(hips.find("\nLoadObjectLayer 1 hips.lwo\n"), hips.find("\nLoadObjectLayer"));
    EXPECT_GT(hips.find("\nBoneName Brace\n"), second);
    host::ObjectFile object;
    host::MeshObject mesh;
    std::string error;
    ASSERT_TRUE(host::loadObjectFile(file("hips.lwo"), object, mesh, error)) << error;
    ASSERT_EQ(mesh.layerCount(), 2);
    ASSERT_EQ(mesh.layerAt(1).polygons.size(), 1u);
    EXPECT_STREQ(mesh.layerAt(1).polygons[0]->tag(LWPTAG_PART), "Brace");
}

TEST(RigSceneFiles, TheObjectFileBesideAScene) {
    EXPECT_EQ(sinewrig_tool::objectPathBeside("out/arm.lws"), "out/arm.lwo");
    EXPECT_EQ(sinewrig_tool::objectPathBeside("C:\\takes\\ARM.LWS"), "C:\\takes\\ARM.lwo");
    EXPECT_EQ(sinewrig_tool::objectPathBeside("take"), "take.lwo");
    EXPECT_EQ(sinewrig_tool::objectPathBeside(".lws"), ".lws.lwo");
    EXPECT_EQ(sinewrig_tool::fileNameOf("C:\\takes\\arm.lwo"), "arm.lwo");
    EXPECT_EQ(sinewrig_tool::fileNameOf("out/arm.lwo"), "arm.lwo");
}
