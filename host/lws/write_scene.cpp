#include "host/lws/write_scene.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_map>

#include "abi/item_number.h"
#include "host/lws/text_state.h"

namespace host::lws {

namespace {

// A run of the file replaced by new text (an insertion when begin == end).
struct Edit {
    std::size_t begin, end;
    std::string text;
};

void appendNumber(std::string& out, double value) {
    char text[40];
    out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
}

const char* motionKeyword(LWItemType type) {
    switch (type) {
    case LWI_BONE: return "BoneMotion";
    case LWI_LIGHT: return "LightMotion";
    case LWI_CAMERA: return "CameraMotion";
    default: return "ObjectMotion";
    }
}

bool checkBakes(const SceneText& scene, const std::vector<ItemBake>& bakes, std::string& error) {
    std::unordered_map<std::uint32_t, bool> seen;
    for (const ItemBake& bake : bakes) {
        char number[12];
        std::snprintf(number, sizeof number, "%08X", bake.item);
        if (!scene.item(bake.item)) {
            error = std::string("the bake names item ") + number + ", which the scene does not have";
            return false;
        }
        if (!seen.emplace(bake.item, true).second) {
            error = std::string("the bake names item ") + number + " twice";
            return false;
        }
        for (int c = 0; c < 9; ++c) {
            const std::vector<BakedKey>& keys = bake.channels[c];
            for (std::size_t k = 0; k < keys.size(); ++k) {
                const std::string where = std::string("item ") + number + " channel " + std::to_string(c) + " key " +
                                          std::to_string(k);
                if (!std::isfinite(keys[k].time) || !std::isfinite(keys[k].value)) {
                    error = where + " is not finite";
                    return false;
                }
                if (k > 0 && keys[k].time < keys[k - 1].time) {
                    error = where + " comes before the key above it";
                    return false;
                }
            }
        }
    }
    return true;
}

// The edits that bake an item: each channel's envelope in place of the old
// one (the missing ones after its motion), NumChannels 9, its Sinewrig blocks gone.
void bakeEdits(const SceneText& scene, const SceneItem& item, const ItemBake& bake, std::vector<Edit>& edits) {
    const std::string& end = scene.lineEnd;
    const std::string& indent = item.motionIndent;
    const bool hasMotion = item.motionEnd != kNone;
    std::string missing;
    if (!hasMotion) missing += indent + motionKeyword(item.type) + end;
    if (item.numChannelsLine.empty()) {
        missing += indent + "NumChannels 9" + end;
    } else if (item.numChannels != 9) {
        edits.push_back({item.numChannelsLine.begin, item.numChannelsLine.end, indent + "NumChannels 9" + end});
    }
    for (int c = 0; c < 9; ++c) {
        std::string channel = bakedChannel(c, bake.channels[c], indent, end);
        if (item.channelText[c].empty())
            missing += channel;
        else
            edits.push_back({item.channelText[c].begin, item.channelText[c].end, std::move(channel)});
    }
    if (!missing.empty()) {
        std::size_t at = hasMotion ? item.motionEnd : item.headerEnd;
        // NumChannels belongs before the channels the item has.
        if (item.numChannelsLine.empty())
            for (const TextSpan& given : item.channelText)
                if (!given.empty()) at = std::min(at, given.begin);
        // After a last line without a line end, the new lines start on a line of their own.
        if (at == scene.text.size() && at > 0 && scene.text.back() != '\n') missing.insert(0, end);
        edits.push_back({at, at, std::move(missing)});
    }
}

}  // namespace

std::string bakedChannel(int channel, const std::vector<BakedKey>& keys, const std::string& indent,
                         const std::string& lineEnd) {
    std::string text;
    text.reserve(64 + keys.size() * 48);
    text += indent + "Channel " + std::to_string(channel) + lineEnd;
    text += indent + "{ Envelope" + lineEnd;
    text += indent + "  " + std::to_string(keys.size()) + lineEnd;
    for (const BakedKey& key : keys) {
        text += indent;
        text += "  Key ";
        appendNumber(text, key.value);
        text += ' ';
        appendNumber(text, key.time);
        text += " 3 0 0 0 0 0 0";
        text += lineEnd;
    }
    text += indent + "  Behaviors 1 1" + lineEnd;
    text += indent + "}" + lineEnd;
    return text;
}

bool writeScene(const SceneText& scene, const SceneChanges& changes, std::ostream& out, std::string& error) {
    if (!checkBakes(scene, changes.bakes, error)) return false;
    std::unordered_map<std::uint32_t, const ItemBake*> baked;
    for (const ItemBake& bake : changes.bakes) baked.emplace(bake.item, &bake);

    // Each item's Sinewrig instances in the order they were applied.
    std::unordered_map<std::uint32_t, std::vector<LWInstance>> instances;
    if (changes.handlers)
        for (const MotionHandlers::Applied& applied : changes.handlers->instances())
            if (applied.server->name == "Sinewrig") instances[itemNumber(applied.item)].push_back(applied.instance);

    std::vector<Edit> edits;
    std::unordered_map<std::uint32_t, std::size_t> blocksMet;
    for (const PluginBlock& block : scene.plugins) {
        if (!block.isSinewrig()) continue;
        const std::uint32_t item = scene.items[block.item].number;
        if (baked.count(item)) {
            edits.push_back({block.whole.begin, block.whole.end, {}});
            continue;
        }
        const std::size_t k = blocksMet[item]++;
        auto of = instances.find(item);
        if (!changes.handlers || of == instances.end() || k >= of->second.size()) continue;
        Edit edit{block.body.begin, block.body.end, {}};
        TextSaveState state(edit.text, block.indent, scene.lineEnd);
        changes.handlers->saveTo(of->second[k], *state.record());
        edits.push_back(std::move(edit));
    }
    for (const ItemBake& bake : changes.bakes) bakeEdits(scene, *scene.item(bake.item), bake, edits);

    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.begin != b.begin ? a.begin < b.begin : a.end < b.end; });
    std::size_t at = 0;
    for (const Edit& edit : edits) {
        out.write(scene.text.data() + at, static_cast<std::streamsize>(edit.begin - at));
        out.write(edit.text.data(), static_cast<std::streamsize>(edit.text.size()));
        at = edit.end;
    }
    out.write(scene.text.data() + at, static_cast<std::streamsize>(scene.text.size() - at));
    if (!out) {
        error = "the scene could not be written";
        return false;
    }
    return true;
}

}  // namespace host::lws
