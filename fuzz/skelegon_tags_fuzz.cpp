// Skelegon tags: an object of skelegons and other polygons whose PART, MTIP,
// MFLG and COLR texts are anything at all, made into bones, through ReadMuscle
// and then evaluation. Every command ReadMuscle issues must be one the host
// can do.
#include <cstdio>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_session.h"
#include "host/modeler/mesh_object.h"

namespace {

constexpr LWID kPart = LWID_('P', 'A', 'R', 'T');
constexpr LWID kTip = LWID_('M', 'T', 'I', 'P');
constexpr LWID kFlags = LWID_('M', 'F', 'L', 'G');
constexpr LWID kColour = LWID_('C', 'O', 'L', 'R');

std::string flagsText(FuzzedDataProvider& in, const std::vector<std::string>& names) {
    static const char* const kFlagTexts[] = {"0", "1", "2", "3", " 3", "\t+2x", "-1", "-0", "4", "7",
                                             "99999999999999999999", "-99999999999999999999", "2147483647",
                                             "-2147483648", "0x3", "abc"};
    return in.ConsumeBool() ? in.PickValueInArray(kFlagTexts) : fuzz::text(in, names);
}

std::string colourText(FuzzedDataProvider& in, const std::vector<std::string>& names) {
    static const char* const kColours[] = {"Black", "DkRed", "White", "Orang", "Magenta", "dkred", "DkRed ", ""};
    return in.ConsumeBool() ? in.PickValueInArray(kColours) : fuzz::text(in, names);
}

float coordinate(FuzzedDataProvider& in) {
    return in.ConsumeIntegralInRange(0, 7) == 0 ? in.ConsumeFloatingPoint<float>()
                                                 : in.ConsumeFloatingPointInRange(-5.0f, 5.0f);
}

// One layer of skelegons, most of them chained tip to pivot, and a few faces;
// each tag present or not, with names drawn from a small pool so that MTIP
// texts meet PART texts.
void buildLayer(host::MeshObject& mesh, FuzzedDataProvider& in, const std::vector<std::string>& names) {
    double tip[3] = {0, 0, 0};
    for (int count = in.ConsumeIntegralInRange(0, 12); count > 0; --count) {
        const int kind = in.ConsumeIntegralInRange(0, 5);
        LWPolID polygon;
        if (kind == 0) {
            std::vector<LWPntID> points;
            for (int p = 0; p < 3; ++p) points.push_back(mesh.addPoint(0, coordinate(in), coordinate(in), coordinate(in)));
            polygon = mesh.addPolygon(0, host::kFacePolygon, points, in.ConsumeBool());
        } else if (kind == 1) {  // a BONE polygon of one point, which makes no bone
            polygon = mesh.addPolygon(0, LWPOLTYPE_BONE, {mesh.addPoint(0, 0, 0, 0)}, false);
        } else {
            double pivot[3] = {tip[0], tip[1], tip[2]};
            if (in.ConsumeIntegralInRange(0, 3) == 0)
                for (double& c : pivot) c = coordinate(in);
            for (double& c : tip) c = in.ConsumeBool() ? coordinate(in) : 0.0;
            tip[2] += in.ConsumeIntegralInRange(0, 3) == 0 ? 0.0 : 1.0;
            polygon = mesh.addSkelegon(0, nullptr, in.ConsumeBool(), pivot, tip);
        }
        auto& tags = mesh.polygon(polygon)->tags;
        if (in.ConsumeIntegralInRange(0, 5) != 0) tags[kPart] = fuzz::text(in, names);
        if (in.ConsumeIntegralInRange(0, 3) != 0) tags[kFlags] = flagsText(in, names);
        if (in.ConsumeBool()) tags[kTip] = fuzz::text(in, names);
        if (in.ConsumeBool()) tags[kColour] = colourText(in, names);
        if (in.ConsumeIntegralInRange(0, 7) == 0) tags[in.ConsumeIntegral<LWID>()] = fuzz::text(in, names);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<std::string> names;
    for (int count = in.ConsumeIntegralInRange(1, 5); count > 0; --count) names.push_back(fuzz::text(in, {"Bone"}));

    host::MeshObject mesh;
    buildLayer(mesh, in, names);
    fuzz::Session session;
    host::Layout& layout = session.layout;
    LWItemID object = layout.addObject("Body", host::ObjectMesh::fromLayer(mesh.primary()));
    std::vector<LWItemID> bones = layout.convertSkelegons(object);
    // Another object of the same skelegons: its bones bear the same names.
    if (in.ConsumeIntegralInRange(0, 3) == 0)
        layout.convertSkelegons(layout.addObject("Twin", host::ObjectMesh::fromLayer(mesh.primary())));
    for (LWItemID bone : bones)
        if (in.ConsumeIntegralInRange(0, 3) == 0) {
            const double bent[3] = {in.ConsumeFloatingPointInRange(-3.0, 3.0), in.ConsumeFloatingPointInRange(-3.0, 3.0), 0};
            layout.scene.setKey(bone, LWIP_ROTATION, 1.0, bent);
        }

    for (int runs = in.ConsumeIntegralInRange(1, 2); runs > 0; --runs) {
        std::vector<LWItemID> selection;
        switch (in.ConsumeIntegralInRange(0, 7)) {
            case 0: break;
            case 1: if (!bones.empty()) selection = {bones.front()}; break;
            case 2: selection = {layout.scene.addItem(LWI_OBJECT, "Null")}; break;
            case 3: selection = {layout.scene.addItem(LWI_LIGHT, "Light"), object}; break;
            default: selection = {object}; break;
        }
        layout.select(selection);
        const std::size_t commandsBefore = layout.commands.size(), messagesBefore = layout.messages.size();
        FUZZ_CHECK(session.readMuscle() == AFUNC_OK, "ReadMuscle did not return AFUNC_OK");
        for (std::size_t c = commandsBefore; c < layout.commands.size(); ++c)
            FUZZ_CHECK(layout.commands[c].done, "ReadMuscle issued \"%.100s\", which the host cannot do",
                       layout.commands[c].text.c_str());
        const bool anObject = !selection.empty() && selection[0] == object;
        FUZZ_CHECK(layout.messages.size() - messagesBefore == (anObject ? 0u : 1u),
                   "ReadMuscle showed %zu messages", layout.messages.size() - messagesBefore);
        session.checkAll();
    }

    for (int times = in.ConsumeIntegralInRange(1, 3); times > 0; --times) {
        session.evaluate(fuzz::evaluationTime(in));
        session.checkAll();
    }
    for (const host::MotionHandlers::Applied& applied : session.handlers.instances()) session.save(applied.instance);
    return 0;
}
