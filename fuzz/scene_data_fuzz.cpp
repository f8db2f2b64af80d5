// Scene data: instances on a few bones each load a stream of any shape (the
// six values with odd contents, short, long or of other types), then save,
// evaluation and descln. What is saved must load back to the same data.
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_session.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    fuzz::Session session;
    const std::vector<std::string> names = {"Biceps", "Triceps", "Fore"};
    const std::vector<LWItemID> items = fuzz::addItems(session, in, names, 5);

    std::vector<LWInstance> instances;
    for (int count = in.ConsumeIntegralInRange(1, 6); count > 0; --count)
        if (LWInstance instance = session.apply(fuzz::pick(in, items))) instances.push_back(instance);
    session.checkAll();
    if (instances.empty()) return 0;

    for (int loads = in.ConsumeIntegralInRange(1, 8); loads > 0; --loads) {
        session.load(fuzz::pick(in, instances), fuzz::sceneStream(in, items));
        session.checkAll();
    }
    for (LWInstance instance : instances) {
        const host::SceneData saved = session.save(instance);
        session.load(instance, saved);
        FUZZ_CHECK(session.save(instance) == saved, "saved data did not load back to itself");
    }
    for (int times = in.ConsumeIntegralInRange(1, 3); times > 0; --times) {
        session.evaluate(fuzz::evaluationTime(in));
        session.checkAll();
    }
    for (LWInstance instance : instances) session.save(instance);
    return 0;
}
