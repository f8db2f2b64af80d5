// Scene files: any bytes read as an LWSC scene are either refused naming a
// line of the file, or read whole. What was read writes back byte for byte;
// loaded with the module and written with its saves, or with every muscle
// baked, it reads back to the same items and channels.
#include <algorithm>
#include <cmath>
#include <sstream>

#include "abi/item_number.h"
#include "fuzz/fuzz_session.h"
#include "host/lws/load_scene.h"
#include "host/lws/scene_lines.h"
#include "host/lws/write_scene.h"

namespace {

using host::lws::SceneText;

std::string written(const SceneText& scene, const host::lws::SceneChanges& changes) {
    std::ostringstream out;
    std::string error;
    FUZZ_CHECK(host::lws::writeScene(scene, changes, out, error), "a scene read could not be written: %s", error.c_str());
    return out.str();
}

SceneText readBack(const std::string& text) {
    SceneText scene;
    host::lws::SceneError error;
    FUZZ_CHECK(host::lws::readScene(text, scene, error), "a scene written back is refused at line %zu: %s", error.line,
               error.what.c_str());
    return scene;
}

bool sameKeys(const host::Channel& a, const host::Channel& b) {
    if (a.pre != b.pre || a.post != b.post || a.keys.size() != b.keys.size()) return false;
    for (std::size_t k = 0; k < a.keys.size(); ++k) {
        const host::Key &x = a.keys[k], &y = b.keys[k];
        if (x.time != y.time || x.value != y.value || x.shape != y.shape || !std::equal(x.p, x.p + 6, y.p)) return false;
    }
    return true;
}

// The items of `again` are those of `first`; the channels too, except a baked item's, which are its keys.
void checkSameItems(const SceneText& first, const SceneText& again, const std::vector<host::lws::ItemBake>& bakes) {
    FUZZ_CHECK(first.items.size() == again.items.size(), "%zu items read back as %zu", first.items.size(),
               again.items.size());
    for (std::size_t i = 0; i < first.items.size(); ++i) {
        const host::lws::SceneItem &a = first.items[i], &b = again.items[i];
        FUZZ_CHECK(a.number == b.number && a.type == b.type && a.name == b.name && a.parent == b.parent &&
                       a.object == b.object && a.restLength == b.restLength,
                   "item %zu (%X) read back otherwise", i, a.number);
        const auto baked = std::find_if(bakes.begin(), bakes.end(), [&](const auto& bake) { return bake.item == a.number; });
        for (int c = 0; c < 9; ++c) {
            if (baked == bakes.end()) {
                FUZZ_CHECK(sameKeys(a.channels[c], b.channels[c]), "item %X channel %d read back otherwise", a.number, c);
                continue;
            }
            const host::Channel& got = b.channels[c];
            FUZZ_CHECK(got.keys.size() == baked->channels[c].size() && got.pre == host::Behavior::constant &&
                           got.post == host::Behavior::constant,
                       "item %X's baked channel %d read back otherwise", a.number, c);
            for (std::size_t k = 0; k < got.keys.size(); ++k)
                FUZZ_CHECK(got.keys[k].time == baked->channels[c][k].time && got.keys[k].value == baked->channels[c][k].value &&
                               got.keys[k].shape == host::SpanShape::linear,
                           "item %X's baked channel %d key %zu read back otherwise", a.number, c, k);
        }
    }
    for (const host::lws::PluginBlock& block : again.plugins)
        for (const auto& bake : bakes)
            FUZZ_CHECK(!(block.isSinewrig() && again.items[block.item].number == bake.item),
                       "item %X keeps its Sinewrig block after the bake", bake.item);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    SceneText scene;
    host::lws::SceneError error;
    if (!host::lws::readScene(input, scene, error)) {
        const std::size_t lines = std::count(input.begin(), input.end(), '\n') + 1;
        FUZZ_CHECK(!error.what.empty(), "a scene refused without a reason");
        FUZZ_CHECK(error.line <= lines, "a refusal names line %zu of %zu", error.line, lines);
        return 0;
    }
    FUZZ_CHECK(written(scene, {}) == input, "an unchanged scene was not written back as read");

    fuzz::Session session;
    for (const host::lws::PluginBlock& block : scene.plugins) {
        if (!block.isSinewrig()) continue;
        for (std::string_view line : host::lws::linesOf(scene, block.body))
            for (std::size_t at = 0; at < line.size();)
                if (auto number = host::lws::readHex32(host::lws::nextToken(line, at))) session.handOver(itemFromNumber(*number));
    }
    std::string loadError;
    FUZZ_CHECK(host::lws::loadScene(scene, session.layout, session.handlers, loadError), "a scene read was not loaded: %s",
               loadError.c_str());
    session.checkAll();
    session.evaluate(0.0);
    session.checkAll();
    checkSameItems(scene, readBack(written(scene, {&session.handlers, {}})), {});

    // Every muscle baked from its motion at two times.
    std::vector<host::lws::ItemBake> bakes;
    for (const host::lws::PluginBlock& block : scene.plugins)
        if (block.isSinewrig() &&
            std::none_of(bakes.begin(), bakes.end(), [&](const auto& b) { return b.item == scene.items[block.item].number; }))
            bakes.push_back({scene.items[block.item].number, {}});
    bool finite = true;
    for (double time : {0.0, 0.5}) {
        session.evaluate(time);
        for (host::lws::ItemBake& bake : bakes)
            for (LWItemParam param : {LWIP_POSITION, LWIP_ROTATION, LWIP_SCALING}) {
                double value[3];
                session.layout.itemParam(itemFromNumber(bake.item), param, time, value);
                const int first = param == LWIP_POSITION ? 0 : param == LWIP_ROTATION ? 3 : 6;
                for (int axis = 0; axis < 3; ++axis) {
                    finite = finite && std::isfinite(value[axis]);
                    bake.channels[first + axis].push_back({time, value[axis]});
                }
            }
    }
    if (finite) checkSameItems(scene, readBack(written(scene, {&session.handlers, bakes})), bakes);
    return 0;
}
