#include "host/lws/load_scene.h"

#include <algorithm>

#include "abi/item_number.h"
#include "host/lws/text_state.h"

namespace host::lws {

std::vector<std::string_view> linesOf(const SceneText& scene, TextSpan span) {
    std::vector<std::string_view> lines;
    const std::string_view text = std::string_view(scene.text).substr(span.begin, span.end - span.begin);
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        at = end + 1;
    }
    return lines;
}

namespace {

void makeItem(const SceneText& scene, const SceneItem& from, Item& item) {
    for (int axis = 0; axis < 3; ++axis) {
        item.position[axis] = from.channels[axis];
        item.rotation[axis] = from.channels[3 + axis];
        item.scaling[axis] = from.channels[6 + axis];
        item.pivot[axis] = from.pivot[axis];
    }
    item.parent = from.parent == kNone ? nullptr : itemFromNumber(scene.items[from.parent].number);
    item.restLength = from.restLength;
    item.restPosition = from.restPosition;
    item.restRotation = from.restDirection;
    item.active = from.active;
    item.file = from.file;
}

}  // namespace

bool loadScene(const SceneText& scene, Layout& layout, MotionHandlers& handlers, std::string& error) {
    if (!layout.scene.items().empty()) {
        error = "the Layout has items already";
        return false;
    }
    for (const PluginBlock& block : scene.plugins)
        if (block.isSinewrig() && !handlers.canApply(block.name)) {
            error = "line " + std::to_string(block.line) + ": the module has no ItemMotionHandler " + block.name;
            return false;
        }
    for (const SceneItem& from : scene.items) {
        const LWItemID owner = from.object == kNone ? nullptr : itemFromNumber(scene.items[from.object].number);
        const LWItemID made = layout.scene.addNumberedItem(from.number, from.type, from.name, nullptr, owner);
        if (!made) {
            error = "line " + std::to_string(from.line) + ": the item number cannot be given";
            return false;
        }
        makeItem(scene, from, *layout.scene.find(made));
    }
    for (const PluginBlock& block : scene.plugins) {
        if (!block.isSinewrig()) continue;
        const SceneItem& item = scene.items[block.item];
        LWInstance instance = handlers.apply(block.name, itemFromNumber(item.number));
        if (!instance) {
            error = "line " + std::to_string(block.line) + ": " + block.name + " cannot be applied to " + item.name;
            return false;
        }
        TextLoadState state(linesOf(scene, block.body));
        handlers.loadFrom(instance, *state.record());
    }
    return true;
}

}  // namespace host::lws
