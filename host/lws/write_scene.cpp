#include "host/lws/write_scene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "abi/item_number.h"
#include "host/lws/text_state.h"
#include "host/text/text_format.h"

namespace host::lws {

namespace {

// A run of the file replaced by new text (an insertion when begin == end),
// made only when it is written: a large bake's text never sits in memory whole.
struct Edit {
    std::size_t begin, end;
    std::function<void(std::string&)> text;
};

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
// one (the missing ones after its motion), NumChannels 9, its Sinewrig blocks
// gone. They refer to the scene and the bake, which outlive the writing.
void bakeEdits(const SceneText& scene, const SceneItem& item, const ItemBake& bake, std::vector<Edit>& edits) {
    const SceneText* text = &scene;
    const SceneItem* of = &item;
    const ItemBake* keys = &bake;
    if (!item.numChannelsLine.empty() && item.numChannels != 9)
        edits.push_back({item.numChannelsLine.begin, item.numChannelsLine.end, [text, of](std::string& out) {
                             out += of->motionIndent + "NumChannels 9" + text->lineEnd;
                         }});
    bool missing = false;
    for (int c = 0; c < 9; ++c) {
        const TextSpan given = item.channelText[c];
        if (given.empty()) {
            missing = true;
            continue;
        }
        edits.push_back({given.begin, given.end, [text, of, keys, c](std::string& out) {
                             appendBakedChannel(out, c, keys->channels[c], of->motionIndent, text->lineEnd);
                         }});
    }
    if (!missing && !item.numChannelsLine.empty()) return;
    std::size_t at = item.motionEnd != kNone ? item.motionEnd : item.headerEnd;
    // NumChannels belongs before the channels the item has.
    if (item.numChannelsLine.empty())
        for (const TextSpan& given : item.channelText)
            if (!given.empty()) at = std::min(at, given.begin);
    // After a last line without a line end, the new lines start on a line of their own.
    const bool newLine = at == scene.text.size() && at > 0 && scene.text.back() != '\n';
    edits.push_back({at, at, [text, of, keys, newLine](std::string& out) {
                         const std::string &indent = of->motionIndent, &end = text->lineEnd;
                         if (newLine) out += end;
                         if (of->motionEnd == kNone) out += indent + motionKeyword(of->type) + end;
                         if (of->numChannelsLine.empty()) out += indent + "NumChannels 9" + end;
                         for (int c = 0; c < 9; ++c)
                             if (of->channelText[c].empty()) appendBakedChannel(out, c, keys->channels[c], indent, end);
                     }});
}

}  // namespace

void appendBakedChannel(std::string& out, int channel, const std::vector<BakedKey>& keys, const std::string& indent,
                        const std::string& lineEnd) {
    out += indent + "Channel " + std::to_string(channel) + lineEnd;
    out += indent + "{ Envelope" + lineEnd;
    out += indent + "  " + std::to_string(keys.size()) + lineEnd;
    for (const BakedKey& key : keys) {
        out += indent;
        out += "  Key ";
        appendShortestDecimal(out, key.value);
        out += ' ';
        appendShortestDecimal(out, key.time);
        out += " 3 0 0 0 0 0 0";
        out += lineEnd;
    }
    out += indent + "  Behaviors 1 1" + lineEnd;
    out += indent + "}" + lineEnd;
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
            edits.push_back({block.whole.begin, block.whole.end, [](std::string&) {}});
            continue;
        }
        const std::size_t k = blocksMet[item]++;
        auto of = instances.find(item);
        if (!changes.handlers || of == instances.end() || k >= of->second.size()) continue;
        const LWInstance instance = of->second[k];
        const MotionHandlers* handlers = changes.handlers;
        const PluginBlock* at = &block;
        const std::string* lineEnd = &scene.lineEnd;
        edits.push_back({block.body.begin, block.body.end, [handlers, instance, at, lineEnd](std::string& out) {
                             TextSaveState state(out, at->indent, *lineEnd);
                             handlers->saveTo(instance, *state.record());
                         }});
    }
    for (const ItemBake& bake : changes.bakes) bakeEdits(scene, *scene.item(bake.item), bake, edits);

    std::stable_sort(edits.begin(), edits.end(),
                     [](const Edit& a, const Edit& b) { return a.begin != b.begin ? a.begin < b.begin : a.end < b.end; });
    std::size_t at = 0;
    std::string text;
    for (const Edit& edit : edits) {
        out.write(scene.text.data() + at, static_cast<std::streamsize>(edit.begin - at));
        text.clear();
        edit.text(text);
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
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
