// Lifecycle: any sequence of the host's calls on instances over a few bones
// (create, destroy, copy, onto itself too, clone, load, save, changeID,
// useItems, descln, flags, evaluate, the options panel with OK or Cancel, and
// ReadMuscle), with every instance and the registry checked after each step.
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_session.h"
#include "host/modeler/mesh_object.h"
#include "abi/item_number.h"

namespace {

constexpr LWID kTipTag = LWID_('M', 'T', 'I', 'P');
constexpr LWID kFlagsTag = LWID_('M', 'F', 'L', 'G');

enum Step {
    kCreate, kDestroy, kCopy, kClone, kLoad, kSave, kChangeID, kUseItems, kDescln, kFlags, kEvaluate, kOptions,
    kReadMuscle, kStepCount
};

// An object of three tagged skelegons, the last reaching for the first, for ReadMuscle.
LWItemID addTaggedObject(fuzz::Session& session, FuzzedDataProvider& in, std::vector<LWItemID>& items) {
    host::MeshObject mesh;
    const char* const parts[] = {"Upper", "Fore", "Biceps"};
    const double at[4][3] = {{0, 0, 0}, {0, 0, 2}, {0, 0, 4}, {0, 0.3, 2.5}};
    for (int i = 0; i < 3; ++i) {
        LWPolID skelegon = mesh.addSkelegon(0, parts[i], false, at[i], at[i + 1]);
        if (in.ConsumeBool()) mesh.polygon(skelegon)->tags[kFlagsTag] = std::to_string(in.ConsumeIntegralInRange(0, 3));
        if (in.ConsumeBool()) mesh.polygon(skelegon)->tags[kTipTag] = parts[in.ConsumeIntegralInRange(0, 2)];
    }
    LWItemID object = session.layout.addObject("Arm", host::ObjectMesh::fromLayer(mesh.primary()));
    for (LWItemID bone : session.layout.convertSkelegons(object)) items.push_back(bone);
    return object;
}

std::vector<std::pair<LWItemID, LWItemID>> renumbering(FuzzedDataProvider& in, fuzz::Session& session,
                                                       const std::vector<LWItemID>& items) {
    std::vector<std::pair<LWItemID, LWItemID>> pairs;
    for (int count = in.ConsumeIntegralInRange(1, 3); count > 0; --count) {
        // Old IDs the instances hold, so that pairs meet them; new ones anywhere.
        LWItemID from = fuzz::pick(in, items);
        if (in.ConsumeBool() && !session.handlers.instances().empty()) {
            const auto used = session.handlers.useItems(fuzz::pick(in, session.handlers.instances()).instance);
            if (!used.empty()) from = fuzz::pick(in, used);
        }
        LWItemID to = in.ConsumeBool() ? fuzz::pick(in, items)
                                       : ::itemFromNumber(in.ConsumeIntegralInRange<std::uint32_t>(1, 0xFFFFFFFFu));
        if (from) pairs.emplace_back(from, to);
    }
    return pairs;
}

host::OpenScript optionsScript(FuzzedDataProvider& in, const std::vector<LWItemID>& items) {
    host::OpenScript script;
    if (in.ConsumeBool()) script.actions.push_back(host::pickItem(in.ConsumeBool() ? nullptr : fuzz::pick(in, items)));
    if (in.ConsumeBool()) script.actions.push_back(host::setCheck(2, in.ConsumeBool()));
    if (in.ConsumeBool()) script.actions.push_back(host::setCheck(3, in.ConsumeBool()));
    if (in.ConsumeBool()) script.actions.push_back(host::chooseItem(in.ConsumeIntegralInRange(0, 1), 9));
    script.confirm = in.ConsumeBool();
    return script;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    fuzz::Session session;
    std::vector<LWItemID> items = fuzz::addItems(session, in, {"A", "B", "C"}, 4);
    const LWItemID object = addTaggedObject(session, in, items);
    std::vector<host::SceneData> saved;

    for (int steps = 0; steps < 48 && in.remaining_bytes() > 0; ++steps) {
        auto step = static_cast<Step>(in.ConsumeIntegralInRange<int>(0, kStepCount - 1));
        const auto& live = session.handlers.instances();
        bool onAnInstance = step != kCreate && step != kChangeID && step != kEvaluate && step != kReadMuscle;
        if (onAnInstance && live.empty()) {
            step = kCreate;
            onAnInstance = false;
        }
        const LWInstance instance = onAnInstance ? fuzz::pick(in, live).instance : nullptr;
        switch (step) {
            case kCreate: session.apply(fuzz::pick(in, items)); break;
            case kDestroy: session.remove(instance); break;
            case kCopy: {
                const LWInstance from = in.ConsumeBool() ? instance : fuzz::pick(in, live).instance;
                FUZZ_CHECK(!session.handlers.copy(instance, from), "copy reported an error");
                break;
            }
            case kClone:
                if (LWItemID clone = session.cloneItem(session.handlers.find(instance)->item)) items.push_back(clone);
                break;
            case kLoad:
                session.load(instance, saved.empty() || in.ConsumeBool() ? fuzz::sceneStream(in, items)
                                                                         : fuzz::pick(in, saved));
                break;
            case kSave: saved.push_back(session.save(instance)); break;
            case kChangeID: session.changeIDs(renumbering(in, session, items)); break;
            case kUseItems: session.handlers.useItems(instance); break;
            case kDescln: session.handlers.description(instance); break;
            case kFlags: session.handlers.flags(instance); break;
            case kEvaluate: session.evaluate(fuzz::evaluationTime(in)); break;
            case kOptions: session.openOptions(instance, optionsScript(in, items)); break;
            case kReadMuscle:
                session.layout.select({in.ConsumeIntegralInRange(0, 3) == 0 ? fuzz::pick(in, items) : object});
                FUZZ_CHECK(session.readMuscle() == AFUNC_OK, "ReadMuscle did not return AFUNC_OK");
                break;
            case kStepCount: break;
        }
        session.checkAll();
    }
    session.evaluate(fuzz::evaluationTime(in));
    session.checkAll();
    return 0;
}
