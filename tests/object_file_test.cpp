// The stand-in's object file reader and writer, on object files whose bytes
// are written out here chunk by chunk.
#include <gtest/gtest.h>

#include <sstream>

#include "host/object_file/object_file.h"
#include "tests/arm_object_bytes.h"

namespace {

using namespace lwo2_bytes;
using arm_object_bytes::armObject;

constexpr LWID kPart = LWID_('P', 'A', 'R', 'T');
constexpr LWID kColour = LWID_('C', 'O', 'L', 'R');
constexpr LWID kTip = LWID_('M', 'T', 'I', 'P');
constexpr LWID kFlags = LWID_('M', 'F', 'L', 'G');
constexpr LWID kSurface = LWID_('S', 'U', 'R', 'F');

std::vector<char> bytesOf(const std::string& text) { return std::vector<char>(text.begin(), text.end()); }

struct Loaded {
    host::ObjectFile file;
    host::MeshObject mesh;
    std::string error;
    bool ok = false;
};

std::unique_ptr<Loaded> load(const std::string& bytes) {
    auto loaded = std::make_unique<Loaded>();
    loaded->ok = host::readObjectFile(bytesOf(bytes), loaded->file, loaded->mesh, loaded->error);
    return loaded;
}

std::string written(const Loaded& loaded) {
    std::ostringstream out;
    std::string error;
    EXPECT_TRUE(host::writeObjectFile(loaded.file, loaded.mesh, out, error)) << error;
    return out.str();
}

std::vector<host::MeshPolygon*> skelegons(host::MeshLayer& layer) {
    std::vector<host::MeshPolygon*> found;
    for (auto& polygon : layer.polygons)
        if (polygon->type == LWPOLTYPE_BONE) found.push_back(polygon.get());
    return found;
}

TEST(ObjectFile, ReadsLayersPointsPolygonsAndEveryTag) {
    auto arm = load(armObject(false));
    ASSERT_TRUE(arm->ok) << arm->error;
    ASSERT_EQ(arm->file.layers.size(), 2u);
    host::MeshLayer& body = arm->mesh.layer(0);
    host::MeshLayer& rig = arm->mesh.layer(1);
    EXPECT_EQ(body.name, "Body");
    EXPECT_EQ(body.number, 1);
    EXPECT_FALSE(body.hidden);
    EXPECT_EQ(body.parent, -1);
    EXPECT_EQ(rig.name, "Rig");
    EXPECT_EQ(rig.number, 2);
    EXPECT_TRUE(rig.hidden);
    EXPECT_EQ(rig.parent, 0);
    EXPECT_EQ(rig.pivot[0], 1);
    EXPECT_EQ(rig.pivot[2], 3);
    ASSERT_EQ(body.points.size(), 4u);
    ASSERT_EQ(rig.points.size(), 4u);
    EXPECT_EQ(rig.points[3]->position[1], 3);
    ASSERT_EQ(body.polygons.size(), 1u);
    EXPECT_EQ(body.polygons[0]->points.size(), 4u);
    EXPECT_EQ(body.polygons[0]->surface, "Skin");
    ASSERT_EQ(rig.polygons.size(), 4u);
    EXPECT_EQ(rig.polygons[0]->type, host::kFacePolygon);

    const auto bones = skelegons(rig);
    ASSERT_EQ(bones.size(), 3u);
    EXPECT_EQ(bones[1]->points[0], rig.points[1].get());
    EXPECT_EQ(bones[1]->points[1], rig.points[2].get());
    EXPECT_STREQ(bones[0]->tag(kPart), "Upper");
    EXPECT_STREQ(bones[1]->tag(kPart), "Fore");
    EXPECT_STREQ(bones[2]->tag(kColour), "DkBlu");
    // Named by BONE only: the PART query gives that name, but the mesh holds no PART tag.
    EXPECT_STREQ(bones[2]->tag(kPart), "Hand");
    EXPECT_EQ(bones[2]->tags.count(kPart), 0u);
    EXPECT_EQ(rig.polygons[0]->tag(kPart), nullptr);  // a face is never named by BONE
}

TEST(ObjectFile, WritesAnUnchangedObjectBackByteForByte) {
    for (const std::string& bytes : {armObject(false), armObject(true)}) {
        auto arm = load(bytes);
        ASSERT_TRUE(arm->ok) << arm->error;
        EXPECT_EQ(written(*arm), bytes);
    }
}

TEST(ObjectFile, ChangedTagsGoWhereTheFormatPutsThemAndNothingElseMoves) {
    auto arm = load(armObject(false));
    ASSERT_TRUE(arm->ok) << arm->error;
    const auto bones = skelegons(arm->mesh.layer(1));
    bones[0]->tags[kColour] = "DkRed";
    bones[0]->tags[kTip] = "Fore";
    bones[0]->tags[kFlags] = "3";
    bones[2]->tags[kColour] = "DkRed";
    bones[2]->tags[kFlags] = "0";
    bones[1]->tags[kColour] = "DkBlu";  // the same text: no change
    EXPECT_EQ(written(*arm), armObject(true));

    auto again = load(armObject(true));
    ASSERT_TRUE(again->ok) << again->error;
    EXPECT_STREQ(skelegons(again->mesh.layer(1))[2]->tag(kFlags), "0");
    EXPECT_STREQ(skelegons(again->mesh.layer(1))[0]->tag(kTip), "Fore");
}

TEST(ObjectFile, ATagOnAnObjectWithoutTagStringsBringsItsOwnTagsChunk) {
    // LAYR 0 "L"; PNTS two points; POLS BONE one skelegon; the last chunk, an
    // odd DESC, without its pad byte, as some writers leave the file.
    const std::string layer = chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("L")}));
    const std::string points = chunk("PNTS", cat({vec(0, 0, 0), vec(0, 0, 1)}));
    const std::string bones = chunk("POLS", cat({"BONE", u2(2), vx(0), vx(1)}));
    std::string desc = chunk("DESC", std::string("An arm") + '\0');  // seven bytes: padded
    ASSERT_EQ(desc.size(), 8u + 8u);
    const std::string unpadded = form(layer + points + bones + desc.substr(0, desc.size() - 1));
    auto object = load(unpadded);
    ASSERT_TRUE(object->ok) << object->error;
    EXPECT_EQ(written(*object), unpadded);

    skelegons(object->mesh.layer(0))[0]->tags[kPart] = "Arm";
    const std::string expected = form(cat({layer, points, bones,
                                           // TAGS: the new string; PTAG PART after the POLS.
                                           chunk("TAGS", s0("Arm")), chunk("PTAG", cat({"PART", vx(0), u2(0)})),
                                           desc.substr(0, desc.size() - 1)}));
    EXPECT_EQ(written(*object), expected);
}

TEST(ObjectFile, IndicesFrom65280OnAreFourBytesBothWays) {
    // 70,000 points; 65,300 one-point polygons then a skelegon over the last
    // two points (indices 69,998 and 69,999 as four-byte VX); PART tags on
    // polygon 0 (two bytes) and the skelegon, polygon 65,300 (four bytes).
    constexpr std::uint32_t kPoints = 70000, kDots = 65300;
    std::string points, polygons = "BONE";
    for (std::uint32_t i = 0; i < kPoints; ++i) points += vec(float(i), 0, 0);
    std::string dots = "PTCH";
    for (std::uint32_t i = 0; i < kDots; ++i) dots += u2(1) + vx(i);
    polygons += u2(2) + vx(69998) + vx(69999);
    ASSERT_EQ(vx(69998).size(), 4u);
    const std::string bytes = form(cat({
        chunk("TAGS", cat({s0("Dot"), s0("Arm")})),                   // TAGS: 0 "Dot", 1 "Arm"
        chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("")})),     // LAYR 0, no name
        chunk("PNTS", points),                                        // PNTS: 70,000 points
        chunk("POLS", dots),                                          // POLS PTCH: 65,300 one-point patches
        chunk("PTAG", cat({"PART", vx(0), u2(0), vx(65299), u2(0)})), // PTAG PART: the first and last patch
        chunk("POLS", polygons),                                      // POLS BONE: one skelegon
        chunk("PTAG", cat({"PART", vx(0), u2(1)})),                   // PTAG PART: it is "Arm"
    }));
    auto object = load(bytes);
    ASSERT_TRUE(object->ok) << object->error;
    host::MeshLayer& layer = object->mesh.layer(0);
    ASSERT_EQ(layer.polygons.size(), kDots + 1);
    EXPECT_EQ(layer.polygons[kDots - 1]->points[0], layer.points[kDots - 1].get());
    EXPECT_STREQ(layer.polygons[kDots - 1]->tag(kPart), "Dot");
    EXPECT_EQ(layer.polygons[kDots]->points[1], layer.points[69999].get());
    EXPECT_STREQ(layer.polygons[kDots]->tag(kPart), "Arm");
    EXPECT_EQ(written(*object), bytes);

    // A new tag on patch 65,299 is a four-byte polygon index in a new PTAG.
    layer.polygons[kDots - 1]->tags[kColour] = "Arm";
    const std::string out = written(*object);
    const std::string added = chunk("PTAG", cat({"COLR", vx(65299), u2(1)}));
    const std::size_t at = bytes.find(chunk("POLS", polygons));
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(out.substr(at, added.size()), added);
    EXPECT_EQ(out.substr(at + added.size()), bytes.substr(at));
}

TEST(ObjectFile, EachPolsChunkKeepsItsOwnTagsAndANewTypeFollowsItsLastPtag) {
    const std::string bytes = form(cat({
        chunk("TAGS", cat({s0("A"), s0("B")})),                          // TAGS: 0 "A", 1 "B"
        chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("L")})),       // LAYR 0 "L"
        chunk("PNTS", cat({vec(0, 0, 0), vec(0, 0, 1), vec(0, 0, 2)})),  // PNTS: three points
        chunk("POLS", cat({"BONE", u2(2), vx(0), vx(1)})),               // POLS BONE: skelegon A
        chunk("PTAG", cat({"PART", vx(0), u2(0)})),                      // PTAG PART: "A"
        chunk("TAGS", cat({s0("C")})),                                   // TAGS: 0 "C", for what follows
        chunk("POLS", cat({"BONE", u2(2), vx(1), vx(2)})),               // POLS BONE: skelegon C
        chunk("PTAG", cat({"PART", vx(0), u2(0)})),                      // PTAG PART: "C"
        chunk("DESC", s0("end")),                                        // DESC
    }));
    auto object = load(bytes);
    ASSERT_TRUE(object->ok) << object->error;
    const auto bones = skelegons(object->mesh.layer(0));
    ASSERT_EQ(bones.size(), 2u);
    EXPECT_STREQ(bones[1]->tag(kPart), "C");
    bones[0]->tags[kFlags] = "B";  // a string of the first TAGS: reused there
    bones[1]->tags[kFlags] = "A";  // not in the second TAGS: appended to it
    const std::string expected = form(cat({
        chunk("TAGS", cat({s0("A"), s0("B")})),
        chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("L")})),
        chunk("PNTS", cat({vec(0, 0, 0), vec(0, 0, 1), vec(0, 0, 2)})),
        chunk("POLS", cat({"BONE", u2(2), vx(0), vx(1)})),
        chunk("PTAG", cat({"PART", vx(0), u2(0)})),
        chunk("PTAG", cat({"MFLG", vx(0), u2(1)})),  // new, after the first POLS's last PTAG
        chunk("TAGS", cat({s0("C"), s0("A")})),      // "A" appended
        chunk("POLS", cat({"BONE", u2(2), vx(1), vx(2)})),
        chunk("PTAG", cat({"PART", vx(0), u2(0)})),
        chunk("PTAG", cat({"MFLG", vx(0), u2(1)})),  // new, after the second's
        chunk("DESC", s0("end")),
    }));
    EXPECT_EQ(written(*object), expected);
}

TEST(ObjectFile, ATagThatATagIndexCannotReachIsAnErrorNamingTheTagsChunk) {
    std::string strings;
    for (int i = 0; i < 65536; ++i) strings += s0(std::to_string(i));
    const std::string bytes = form(cat({
        chunk("TAGS", strings),                                     // TAGS: "0" to "65535", all a U2 reaches
        chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("L")})),  // LAYR 0 "L"
        chunk("PNTS", cat({vec(0, 0, 0), vec(0, 0, 1)})),           // PNTS: two points
        chunk("POLS", cat({"BONE", u2(2), vx(0), vx(1)})),          // POLS BONE: one skelegon
        chunk("PTAG", cat({"PART", vx(0), u2(65535)})),             // PTAG PART: "65535"
    }));
    auto object = load(bytes);
    ASSERT_TRUE(object->ok) << object->error;
    host::MeshPolygon* bone = skelegons(object->mesh.layer(0))[0];
    EXPECT_STREQ(bone->tag(kPart), "65535");
    bone->tags[kFlags] = "3";  // reused: fits
    std::ostringstream out;
    std::string error;
    EXPECT_TRUE(host::writeObjectFile(object->file, object->mesh, out, error)) << error;
    bone->tags[kTip] = "Arm";  // a new string: does not
    EXPECT_FALSE(host::writeObjectFile(object->file, object->mesh, out, error));
    EXPECT_NE(error.find("TAGS chunk at offset 12: the tag \"Arm\" would be string 65537"), std::string::npos) << error;
}

std::string refusal(const std::string& bytes) {
    auto object = load(bytes);
    EXPECT_FALSE(object->ok);
    return object->error;
}

TEST(ObjectFile, OtherFilesAreRefusedSayingWhatTheyAre) {
    const std::string layer = chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("L")}));
    EXPECT_NE(refusal(form(layer, "LWOB")).find("LWOB object file"), std::string::npos);
    EXPECT_NE(refusal(form(layer, "LWO3")).find("LWO3 object file"), std::string::npos);
    EXPECT_NE(refusal(form(layer, "ILBM")).find("IFF file of type \"ILBM\""), std::string::npos);
    EXPECT_NE(refusal("").find("empty"), std::string::npos);
    EXPECT_NE(refusal("\x89PNG\r\n\x1a\n0000000000").find("PNG image"), std::string::npos);
    EXPECT_NE(refusal("{\"rig\": 1}\n").find("text file"), std::string::npos);
    EXPECT_NE(refusal("LWSC\n3\n\nFirstFrame 1\n").find("scene file"), std::string::npos);
}

TEST(ObjectFile, EveryCutOfTheFileIsRefusedNamingAChunk) {
    const std::string whole = armObject(true);
    for (std::size_t size = 12; size < whole.size(); ++size) {
        const std::string message = refusal(whole.substr(0, size));
        EXPECT_NE(message.find("offset"), std::string::npos) << size << ": " << message;
    }
    // Cut, but with the FORM length mended to match: a chunk overruns it.
    std::string cut = whole.substr(0, whole.size() - 20);
    cut.replace(4, 4, u4(static_cast<std::uint32_t>(cut.size() - 8)));
    EXPECT_NE(refusal(cut).find("SURF chunk at offset"), std::string::npos) << refusal(cut);
}

TEST(ObjectFile, CountsAndIndicesThatDoNotFitAreRefusedNamingTheChunk) {
    const std::string tags = chunk("TAGS", s0("A"));  // offset 12
    const std::string layer = chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0), s0("L")}));  // offset 22
    const std::string points = chunk("PNTS", cat({vec(0, 0, 0), vec(0, 0, 1)}));  // offset 48
    const std::string bone = chunk("POLS", cat({"BONE", u2(2), vx(0), vx(1)}));  // offset 80
    auto expectRefused = [&](const std::string& bytes, const std::string& where) {
        const std::string message = refusal(bytes);
        EXPECT_NE(message.find(where), std::string::npos) << message;
    };
    expectRefused(form(tags + layer + chunk("PNTS", std::string(13, '\0'))), "PNTS chunk at offset 48");
    expectRefused(form(tags + layer + points + chunk("POLS", cat({"BONE", u2(2), vx(0), vx(2)}))),
                  "POLS chunk at offset 80: the polygon at byte 4 names point 2");
    expectRefused(form(tags + layer + points + chunk("POLS", cat({"BONE", u2(3), vx(0), vx(1)}))),
                  "POLS chunk at offset 80");
    expectRefused(form(tags + layer + points + bone + chunk("PTAG", cat({"PART", vx(1), u2(0)}))),
                  "PTAG chunk at offset 98: polygon 1");
    expectRefused(form(tags + layer + points + bone + chunk("PTAG", cat({"PART", vx(0), u2(1)}))),
                  "PTAG chunk at offset 98: tag 1");
    expectRefused(form(tags + layer + points + bone + chunk("PTAG", cat({"PART", vx(0)}))),
                  "PTAG chunk at offset 98: a tag index");
    expectRefused(form(layer + points + bone + chunk("PTAG", cat({"PART", vx(0), u2(0)}))), "no TAGS chunk");
    // A smoothing group's number is no string index: kept, not refused.
    const std::string groups = form(tags + layer + points + bone + chunk("PTAG", cat({"SMGP", vx(0), u2(0)})) +
                                    chunk("PTAG", cat({"SMGP", vx(0), u2(7)})));
    auto grouped = load(groups);
    ASSERT_TRUE(grouped->ok) << grouped->error;
    EXPECT_EQ(written(*grouped), groups);
    expectRefused(form(tags + chunk("PTAG", cat({"PART", vx(0), u2(0)}))), "no POLS chunk");
    expectRefused(form(chunk("TAGS", "AB")), "TAGS chunk at offset 12: a tag string");
    expectRefused(form(chunk("LAYR", cat({u2(0), u2(0), vec(0, 0, 0)}))), "LAYR chunk at offset 12: the layer name");
    // Maps: a point the PNTS does not have, a polygon the layer does not have, values cut short.
    expectRefused(form(tags + layer + points + chunk("VMAP", cat({"WGHT", u2(1), s0("W"), vx(2), f4(1)}))),
                  "VMAP chunk at offset 80: the entry at byte 8 names point 2");
    expectRefused(form(tags + layer + points + bone + chunk("VMAD", cat({"TXUV", u2(2), s0("UV"), vx(1), vx(1), f4(0), f4(0)}))),
                  "VMAD chunk at offset 98: the entry at byte 10 names polygon 1");
    expectRefused(form(tags + layer + points + chunk("VMAP", cat({"TXUV", u2(2), s0("UV"), vx(1), f4(0)}))),
                  "VMAP chunk at offset 80: a map entry's values");
    EXPECT_TRUE(load(form(tags + layer + points + bone + chunk("VMAD", cat({"TXUV", u2(2), s0("UV"), vx(1), vx(0), f4(0), f4(1)}))))->ok);
    // A length that lands in the middle of the next chunk's data.
    std::string overrun = form(tags + layer + points);
    overrun.replace(22 + 4, 4, u4(20));
    expectRefused(overrun, "; the LAYR chunk at offset 22 may have a wrong length");
    // A length beyond the file.
    std::string huge = form(tags + layer);
    huge.replace(12 + 4, 4, u4(0xFFFFFFF0u));
    expectRefused(huge, "TAGS chunk at offset 12: says 4294967280 bytes");
    // A FORM longer than the file.
    std::string form_ = form(tags);
    form_.replace(4, 4, u4(1000));
    expectRefused(form_, "FORM chunk at offset 0: says 1000 bytes");
    // A FORM shorter than the file: the bytes after it are no part of the object.
    expectRefused(form(tags) + "junk", "FORM chunk at offset 0: says 14 bytes, but 4 more follow it");
}

}  // namespace
