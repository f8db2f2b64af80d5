// The panels: SetMuscle's list clicked anywhere (rows and x in and out of
// range), its chooser answered with OK or Cancel and any index, the panel
// confirmed or not, sometimes with panel services failing; then the object
// through ReadMuscle and the options panel of its muscles given any values
// (items that exist, that do not, 0), and evaluation.
#include <algorithm>

#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_session.h"
#include "host/modeler/modeler.h"
#include "host/process/services.h"

namespace {

constexpr LWID kPart = LWID_('P', 'A', 'R', 'T');
constexpr LWID kTip = LWID_('M', 'T', 'I', 'P');
constexpr LWID kFlags = LWID_('M', 'F', 'L', 'G');
constexpr LWID kColour = LWID_('C', 'O', 'L', 'R');

struct ModelerObject {
    std::vector<LWPolID> skelegons;  // of the primary layer, in scan order
    std::vector<LWPolID> rows;       // the selected ones among them
};

ModelerObject buildObject(host::MeshObject& object, FuzzedDataProvider& in, const std::vector<std::string>& names) {
    ModelerObject made;
    double tip[3] = {0, 0, 0};
    for (int count = in.ConsumeIntegralInRange(0, 8); count > 0; --count) {
        const bool selected = in.ConsumeBool();
        if (in.ConsumeIntegralInRange(0, 5) == 0) {  // a face, selected or not, is never a row
            std::vector<LWPntID> points;
            for (int p = 0; p < 3; ++p) points.push_back(object.addPoint(0, p, 0, 0));
            object.addPolygon(0, host::kFacePolygon, points, selected);
            continue;
        }
        const double pivot[3] = {tip[0], tip[1], tip[2]};
        tip[in.ConsumeIntegralInRange(0, 2)] += in.ConsumeFloatingPointInRange(-2.0, 2.0);
        const bool named = in.ConsumeIntegralInRange(0, 5) != 0;
        const std::string part = fuzz::text(in, names);
        LWPolID skelegon = object.addSkelegon(0, named ? part.c_str() : nullptr, selected, pivot, tip);
        made.skelegons.push_back(skelegon);
        if (selected) made.rows.push_back(skelegon);
    }
    // A skelegon on another layer: neither a row nor a choice.
    if (in.ConsumeBool()) object.addSkelegon(1, "Elsewhere", true);
    return made;
}

int clickX(FuzzedDataProvider& in) {
    static const int kEdges[] = {60, 180, 270, 330, 0, 120, 121, 239, 240, 299, 300, 359, 360, 361, -1};
    return in.ConsumeBool() ? in.PickValueInArray(kEdges) : in.ConsumeIntegralInRange(-1000, 1000);
}

// The list's script and, after it, one for each chooser a click opens.
void queueSetMuscle(host::PanelServices& panels, FuzzedDataProvider& in, const ModelerObject& made) {
    host::OpenScript list;
    std::vector<host::OpenScript> choosers;
    const int rows = static_cast<int>(made.rows.size());
    for (int clicks = in.ConsumeIntegralInRange(0, 10); clicks > 0; --clicks) {
        const int row = in.ConsumeIntegralInRange(-2, rows + 1), x = clickX(in);
        list.actions.push_back(host::clickCell(row, x));
        if (row < 0 || row >= rows || x <= 120 || x >= 240) continue;
        host::OpenScript chooser;
        if (in.ConsumeBool())
            chooser.actions.push_back(
                host::chooseItem(in.ConsumeIntegralInRange(-1, static_cast<int>(made.skelegons.size()))));
        chooser.confirm = in.ConsumeBool();
        choosers.push_back(chooser);
    }
    list.confirm = in.ConsumeIntegralInRange(0, 3) != 0;
    panels.queue(list);
    for (host::OpenScript& chooser : choosers) panels.queue(std::move(chooser));
}

void runSetMuscle(host::Modeler& modeler, FuzzedDataProvider& in, const ModelerObject& made) {
    modeler.makeActive();
    switch (in.ConsumeIntegralInRange(0, 15)) {
        case 0: modeler.failEditBegin = true; break;
        case 1: modeler.panels.createsBeforeFailure = in.ConsumeIntegralInRange(0, 2); break;
        case 2: modeler.panels.refusedKinds = {in.ConsumeBool() ? "PopupControl" : "MultiListBoxControl"}; break;
        case 3: modeler.services.remove("LWPanelServices"); break;
        default: break;
    }
    queueSetMuscle(modeler.panels, in, made);
    const int result =
        fuzz::module().activate("CommandSequence", "SetMuscle", 3, host::Services::global(), &modeler.command);
    FUZZ_CHECK(result == (modeler.failEditBegin ? AFUNC_BADGLOBAL : AFUNC_OK), "SetMuscle returned %d", result);
    for (const std::string& problem : modeler.panels.problems)
        FUZZ_CHECK(fuzz::isScriptMisfit(problem), "Modeler's panels noted misuse: %s", problem.c_str());
    if (modeler.failEditBegin) return;

    const auto done = modeler.callsTo("done");
    FUZZ_CHECK(done.size() == 1 && done[0].args == (std::vector<int>{EDERR_NONE, 0}),
               "the mesh edit was not ended once without error");
    // Tags only on the rows' skelegons: DkRed, a flags word of two bits, the PART of a skelegon.
    for (const host::EditCall& call : modeler.callsTo("polTag")) {
        FUZZ_CHECK(std::count(made.rows.begin(), made.rows.end(), call.polygon) == 1,
                   "SetMuscle tagged a polygon that is no row");
        FUZZ_CHECK(call.text, "SetMuscle wrote a tag without text");
        const std::string& text = *call.text;
        if (call.tag == kColour) FUZZ_CHECK(text == "DkRed", "COLR written as \"%.80s\"", text.c_str());
        else if (call.tag == kFlags)
            FUZZ_CHECK(text.size() == 1 && text[0] >= '0' && text[0] <= '3', "MFLG written as \"%.80s\"", text.c_str());
        else if (call.tag == kTip)
            FUZZ_CHECK(std::any_of(made.skelegons.begin(), made.skelegons.end(),
                                   [&](LWPolID s) { return modeler.object.tag(s, kPart) && text == modeler.object.tag(s, kPart); }),
                       "MTIP written as \"%.80s\", the name of no skelegon", text.c_str());
        else
            fuzz::fail("SetMuscle wrote a tag of type %08X", call.tag);
    }
}

// One opening of a muscle's options panel with any values; Cancel, or a
// panel that never opened, leaves the muscle exactly as it was.
void runOptions(fuzz::Session& session, FuzzedDataProvider& in, LWInstance instance,
                const std::vector<LWItemID>& items) {
    host::Layout& layout = session.layout;
    if (in.ConsumeIntegralInRange(0, 3) == 0) {
        // A reference of any ID, existing or not, through scene data.
        host::SceneData data = session.save(instance);
        data[1].values = {double(fuzz::itemNumber(in, items))};
        session.load(instance, data);
    }
    switch (in.ConsumeIntegralInRange(0, 11)) {
        case 0: layout.panels.createsBeforeFailure = 0; break;
        case 1: layout.panels.refusedKinds = {in.ConsumeBool() ? "LWListControl" : "BoolControl"}; break;
        case 2: layout.services.remove("LWPanelServices"); break;
        default: break;
    }

    host::OpenScript script;
    for (int actions = in.ConsumeIntegralInRange(0, 5); actions > 0; --actions) {
        switch (in.ConsumeIntegralInRange(0, 3)) {
            case 0: script.actions.push_back(host::pickItem(in.ConsumeBool() ? nullptr : fuzz::pick(in, items))); break;
            case 1: script.actions.push_back(host::setCheck(in.ConsumeIntegralInRange(1, 4), in.ConsumeBool())); break;
            // A popup's choice (the volume axes or the aim), or any value a careless host hands back for one.
            case 2: {
                const bool axes = in.ConsumeBool();
                script.actions.push_back(host::chooseItem(in.ConsumeIntegralInRange(0, axes ? 2 : 1), axes ? 4 : 9));
                break;
            }
            default: script.actions.push_back(host::forceValue(in.ConsumeBool() ? 4 : 9, in.ConsumeIntegral<int>())); break;
        }
    }
    script.confirm = in.ConsumeBool();
    const host::SceneData before = session.save(instance);
    const std::size_t panelsBefore = layout.panels.panels.size();
    session.openOptions(instance, script);
    // A script left by a panel that never opened is taken by the next one,
    // so whether this one was confirmed is read from the host's log.
    const bool opened = layout.panels.panels.size() > panelsBefore && !layout.panels.panels.back()->openFlags.empty();
    const std::string ok = opened ? std::to_string(layout.panels.panels.back()->number) + "> OK" : "";
    const bool confirmed =
        opened && std::find(layout.panels.log.begin(), layout.panels.log.end(), ok) != layout.panels.log.end();
    if (!confirmed) FUZZ_CHECK(session.save(instance) == before, "options changed the muscle without an OK");

    layout.panels.createsBeforeFailure = -1;
    layout.panels.refusedKinds.clear();
    layout.services.add("LWPanelServices", layout.panels.record());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    std::vector<std::string> names = {"Upper", "Fore", "Biceps"};
    if (in.ConsumeBool()) names.push_back(fuzz::text(in, names));

    fuzz::Session session;
    host::Modeler modeler;
    const ModelerObject made = buildObject(modeler.object, in, names);
    runSetMuscle(modeler, in, made);

    session.layout.makeActive();
    host::Layout& layout = session.layout;
    LWItemID object = layout.addObject("Body", host::ObjectMesh::fromLayer(modeler.object.primary()));
    std::vector<LWItemID> items = layout.convertSkelegons(object);
    items.push_back(layout.scene.addItem(LWI_LIGHT, "Light"));
    layout.select({object});
    FUZZ_CHECK(session.readMuscle() == AFUNC_OK, "ReadMuscle did not return AFUNC_OK");
    session.checkAll();

    std::vector<LWInstance> instances;
    for (const host::MotionHandlers::Applied& applied : session.handlers.instances()) instances.push_back(applied.instance);
    if (instances.empty() || in.ConsumeIntegralInRange(0, 3) == 0)
        if (LWInstance extra = session.apply(fuzz::pick(in, items))) instances.push_back(extra);
    for (int rounds = in.ConsumeIntegralInRange(0, 4); rounds > 0 && !instances.empty(); --rounds) {
        runOptions(session, in, fuzz::pick(in, instances), items);
        session.checkAll();
        session.evaluate(fuzz::evaluationTime(in));
        session.checkAll();
    }
    session.evaluate(fuzz::evaluationTime(in));
    session.checkAll();
    return 0;
}
