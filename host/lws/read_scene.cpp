#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <unordered_set>

#include "host/lws/scene_lines.h"
#include "host/lws/scene_text.h"
#include "host/geometry/angles.h"
#include "host/scene/item_numbers.h"
#include "host/text/text_format.h"

namespace host::lws {

const SceneItem* SceneText::item(std::uint32_t number) const {
    auto at = itemIndex.find(number);
    return at == itemIndex.end() ? nullptr : &items[at->second];
}

namespace {

constexpr int kKeyNumbers = 9;  // value, time, span type, six parameters
constexpr int kLastShape = 5;   // span types and behaviours are numbered 0 to 5

std::string hex8(std::uint32_t number) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", number);
    return text;
}

bool opensBlock(std::string_view content) { return !content.empty() && content[0] == '{'; }

bool closesBlock(std::string_view content) {
    while (!content.empty() && isBlank(content.back())) content.remove_suffix(1);
    return content == "}";
}

// An object is named by its file's name, without folder and extension.
std::string objectName(std::string_view file) {
    const std::size_t slash = file.find_last_of("/\\:");
    if (slash != std::string_view::npos) file.remove_prefix(slash + 1);
    const std::size_t dot = file.rfind('.');
    if (dot != std::string_view::npos && dot > 0) file = file.substr(0, dot);
    return std::string(file);
}

class Reader {
public:
    Reader(std::string_view text, SceneText& out, SceneError& error) : text_(text), lines_(text), out_(out), error_(error) {}

    bool run() {
        // An item of a scene as the host writes it takes some 800 bytes or
        // more (its nine envelopes); room made at once saves moving them,
        // within a bound, as a baked scene holds far more bytes per item.
        constexpr std::size_t kBytesPerItem = 800, kMostItemsAhead = 1 << 16;
        out_.items.reserve(std::min(text_.size() / kBytesPerItem + 16, kMostItemsAhead));
        Line line;
        if (!header()) return false;
        while (lines_.next(line))
            if (!read(line)) return false;
        if (!openBlocks_.empty())
            return fail(openBlocks_.back(), "the block begun here is cut: the file ends at line " +
                                                std::to_string(lines_.lastNumber()));
        return parents();
    }

private:
    bool fail(std::size_t line, std::string what) {
        error_ = {line, std::move(what)};
        return false;
    }

    bool header() {
        Line first, second;
        if (!lines_.next(first) || trimmedRight(withoutByteOrderMark(first.text)) != "LWSC")
            return fail(0, describeNonScene(text_) + ", not an LWSC scene (whose first line is LWSC)");
        out_.lineEnd = first.end > first.begin + first.text.size() + 1 ? "\r\n" : "\n";
        if (!lines_.next(second)) return fail(1, "LWSC without a version: the file ends at line 1");
        long long version = 0;
        const std::string_view token = trimmedRight(trimmedLeft(second.text));
        if (readInteger(token, version) != NumberRead::ok)
            return fail(2, "the version is " + quotedForMessage(token) + ", not a number");
        if (version == 1)
            return fail(2, "LWSC version 1 (the 5.x releases) keeps envelopes in an older form and is not read; "
                           "versions 3, 4 and 5 are");
        if (version < 3 || version > 5)
            return fail(2, "LWSC version " + std::to_string(version) + " is not read; versions 3, 4 and 5 are");
        out_.version = static_cast<int>(version);
        return true;
    }

    static std::string_view trimmedRight(std::string_view text) {
        while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
        return text;
    }

    bool read(const Line& line) {
        const std::string_view content = trimmedLeft(line.text);
        if (!openBlocks_.empty()) {  // inside a block the stand-in does not read
            if (opensBlock(content))
                openBlocks_.push_back(line.number);
            else if (closesBlock(content))
                openBlocks_.pop_back();
            return true;
        }
        if (opensBlock(content)) {
            openBlocks_.push_back(line.number);
            return true;
        }
        if (closesBlock(content)) return fail(line.number, "a } that closes no block");
        Values values(content);
        const std::string_view k = values.keyword();
        if (k.empty()) return true;
        switch (k[0]) {
        case 'A':
            if (k == "AddBone") return addBone(line, values);
            if (k == "AddNullObject") return addNull(line, values);
            if (k == "AddLight") return addNumbered(line, values, LWI_LIGHT, "Light");
            if (k == "AddCamera") return addNumbered(line, values, LWI_CAMERA, "Camera");
            break;
        case 'B':
            if (k == "BoneName") return name(line, values, LWI_BONE);
            if (k == "BoneActive") return boneActive(line, values);
            if (k == "BoneRestPosition") return boneRest(line, values, false);
            if (k == "BoneRestDirection") return boneRest(line, values, true);
            if (k == "BoneRestLength") return boneRestLength(line, values);
            if (k == "BoneMotion") return motion(line);
            break;
        case 'C':
            if (k == "Channel") return channel(line, values);
            if (k == "CameraName") return name(line, values, LWI_CAMERA);
            if (k == "CameraMotion") return motion(line);
            if (k == "CurrentFrame") return frame(line, values, out_.settings.currentFrame, false);
            break;
        case 'F':
            if (k == "FirstFrame") return frame(line, values, out_.settings.firstFrame, false);
            if (k == "FrameStep") return frame(line, values, out_.settings.frameStep, true);
            if (k == "FramesPerSecond") return framesPerSecond(line, values);
            break;
        case 'G':
            if (k == "GoalItem") notRun("IK", "GoalItem", line.number);
            break;
        case 'L':
            if (k == "LoadObjectLayer") return loadObject(line, values, true);
            if (k == "LoadObject") return loadObject(line, values, false);
            if (k == "LightName") return name(line, values, LWI_LIGHT);
            if (k == "LightMotion") return motion(line);
            if (k == "LastFrame") return frame(line, values, out_.settings.lastFrame, false);
            break;
        case 'N':
            if (k == "NumChannels") return numChannels(line, values);
            break;
        case 'O':
            if (k == "ObjectMotion") return motion(line);
            break;
        case 'P':
            if (k == "Plugin") return plugin(line, values);
            if (k == "ParentItem") return parentItem(line, values);
            if (k == "PivotPosition") return pivot(line, values);
            if (k == "PreviewFirstFrame") return frame(line, values, out_.settings.previewFirstFrame, false);
            if (k == "PreviewLastFrame") return frame(line, values, out_.settings.previewLastFrame, false);
            if (k == "PreviewFrameStep") return frame(line, values, out_.settings.previewFrameStep, false);
            break;
        case 'T':
            if (k == "TargetItem") notRun("targeting", "TargetItem", line.number);
            break;
        default: break;
        }
        return true;  // a line the stand-in does not use: kept as it is
    }

    // ---- values of a line

    bool numbers(const Line& line, Values& values, double* out, int count) {
        for (int i = 0; i < count; ++i) {
            const std::string_view token = values.next();
            switch (readDouble(token, out[i])) {
            case NumberRead::ok: break;
            case NumberRead::missing:
                return fail(line.number, std::string(values.keyword()) + " has " + std::to_string(i) + " number" +
                                             (i == 1 ? "" : "s") + " where " + std::to_string(count) + " are needed");
            case NumberRead::unparsable:
                return fail(line.number, std::string(values.keyword()) + ": " + quotedForMessage(token) + " is not a number");
            case NumberRead::notFinite:
                return fail(line.number,
                            std::string(values.keyword()) + ": " + quotedForMessage(token) + " is not a finite number");
            }
        }
        return true;
    }

    bool integer(const Line& line, Values& values, long long& out) {
        const std::string_view token = values.next();
        switch (readInteger(token, out)) {
        case NumberRead::ok: return true;
        case NumberRead::missing: return fail(line.number, std::string(values.keyword()) + " without its number");
        default:
            return fail(line.number, std::string(values.keyword()) + ": " + quotedForMessage(token) + " is not a whole number");
        }
    }

    // A number from 0 to 5 (span types, behaviours), however it is written.
    bool shapeNumber(const Line& line, const char* what, double value, int& out) {
        if (!(value >= 0 && value <= kLastShape) || value != std::floor(value))
            return fail(line.number, std::string(what) + " " + shortestDecimal(value) + " is not one of 0 to 5");
        out = static_cast<int>(value);
        return true;
    }

    SceneItem* currentOf(const Line& line, std::string_view keyword, int type = -1) {
        if (current_ == kNone || (type >= 0 && out_.items[current_].type != type)) {
            const char* kinds[] = {"an object", "a light", "a camera", "a bone"};
            fail(line.number, std::string(keyword) + " outside " + (type >= 0 ? kinds[type] : "any item"));
            return nullptr;
        }
        return &out_.items[current_];
    }

    // ---- items

    // From version 4 an item's number is baked on the line that adds it.
    bool bakedNumber(const Line& line, std::string_view token, std::optional<std::uint32_t>& number) {
        if (out_.version < 4 || token.empty()) return true;
        number = readHex32(token);
        if (!number) return fail(line.number, quotedForMessage(token) + " is not an item number");
        return true;
    }

    // Before a name: eight hex digits with more after them.
    std::optional<std::uint32_t> numberBeforeName(std::string_view& rest) const {
        if (out_.version < 4) return std::nullopt;
        std::size_t at = 0;
        const std::string_view token = nextToken(rest, at);
        const std::string_view after = trimmedLeft(rest.substr(at));
        if (token.size() != 8 || after.empty()) return std::nullopt;
        const std::optional<std::uint32_t> number = readHex32(token);
        if (number) rest = after;
        return number;
    }

    bool add(const Line& line, LWItemType type, std::optional<std::uint32_t> baked, std::string name) {
        const std::size_t index = out_.items.size();
        SceneItem item;
        item.type = type;
        item.name = std::move(name);
        item.line = line.number;
        item.headerEnd = line.end;
        item.motionIndent = std::string(indentOf(line.text));
        if (type == LWI_BONE) item.object = item.parent = object_;
        const std::uint32_t counted = numbers_.count(type, type == LWI_BONE ? out_.items[object_].number : 0);
        if (baked) {
            if (*baked >> 28 != ItemNumbers::kindOf(type))
                return fail(line.number, "the item number " + hex8(*baked) + " is not " +
                                             (type == LWI_BONE ? "a bone's (4xxxxxxx)" : type == LWI_LIGHT ? "a light's (2xxxxxxx)"
                                              : type == LWI_CAMERA ? "a camera's (3xxxxxxx)" : "an object's (1xxxxxxx)"));
            if (!numbers_.hold(*baked, index))
                return fail(line.number, "the item number " + hex8(*baked) + " is the item's added at line " +
                                             std::to_string(out_.items[*numbers_.find(*baked)].line) + " already");
            item.number = *baked;
        } else {
            item.number = counted;
            if (!numbers_.hold(item.number, index)) {
                item.number = numbers_.spare(type);
                numbers_.hold(item.number, index);
            }
        }
        out_.items.push_back(std::move(item));
        parentNumbers_.push_back(0);
        parentLines_.push_back(0);
        current_ = index;
        if (type == LWI_OBJECT) object_ = index;
        return true;
    }

    bool loadObject(const Line& line, Values& values, bool layered) {
        if (layered) {
            long long layer = 0;
            if (!integer(line, values, layer)) return false;
        }
        std::string_view file = values.rest();
        const std::optional<std::uint32_t> baked = numberBeforeName(file);
        if (file.empty()) return fail(line.number, std::string(values.keyword()) + " names no object file");
        if (!add(line, LWI_OBJECT, baked, objectName(file))) return false;
        out_.items.back().file = std::string(file);
        return true;
    }

    bool addNull(const Line& line, Values& values) {
        std::string_view name = values.rest();
        const std::optional<std::uint32_t> baked = numberBeforeName(name);
        return add(line, LWI_OBJECT, baked, name.empty() ? "Null" : std::string(name));
    }

    bool addNumbered(const Line& line, Values& values, LWItemType type, const char* name) {
        std::optional<std::uint32_t> baked;
        return bakedNumber(line, values.next(), baked) && add(line, type, baked, name);
    }

    bool addBone(const Line& line, Values& values) {
        if (object_ == kNone) return fail(line.number, "a bone before any object");
        return addNumbered(line, values, LWI_BONE, "Bone");
    }

    bool name(const Line& line, Values& values, LWItemType type) {
        SceneItem* item = currentOf(line, values.keyword(), type);
        if (!item) return false;
        item->name = std::string(values.rest());
        item->headerEnd = line.end;
        return true;
    }

    bool boneActive(const Line& line, Values& values) {
        SceneItem* bone = currentOf(line, values.keyword(), LWI_BONE);
        long long active = 0;
        if (!bone || !integer(line, values, active)) return false;
        bone->active = active != 0;
        return true;
    }

    bool boneRest(const Line& line, Values& values, bool direction) {
        SceneItem* bone = currentOf(line, values.keyword(), LWI_BONE);
        std::array<double, 3> value{};
        if (!bone || !numbers(line, values, value.data(), 3)) return false;
        if (direction) {
            for (double& angle : value) angle = radians(angle);  // the file gives degrees
            bone->restDirection = value;
        } else {
            bone->restPosition = value;
        }
        return true;
    }

    bool boneRestLength(const Line& line, Values& values) {
        SceneItem* bone = currentOf(line, values.keyword(), LWI_BONE);
        return bone && numbers(line, values, &bone->restLength, 1);
    }

    bool pivot(const Line& line, Values& values) {
        SceneItem* item = currentOf(line, values.keyword());
        return item && numbers(line, values, item->pivot, 3);
    }

    bool parentItem(const Line& line, Values& values) {
        if (!currentOf(line, values.keyword())) return false;
        const std::string_view token = values.next();
        const std::optional<std::uint32_t> number = readHex32(token);
        if (!number || *number == 0)
            return fail(line.number, "ParentItem " + quotedForMessage(token) + " is not an item number");
        parentNumbers_[current_] = *number;
        parentLines_[current_] = line.number;
        return true;
    }

    // ParentItem names items anywhere in the file: resolved at its end, and no
    // item may end up its own ancestor.
    bool parents() {
        std::vector<SceneItem>& items = out_.items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (!parentNumbers_[i]) continue;
            const std::size_t* parent = numbers_.find(parentNumbers_[i]);
            if (!parent) return fail(parentLines_[i], "ParentItem " + hex8(parentNumbers_[i]) + " names no item");
            items[i].parent = *parent;
        }
        enum : char { unseen, onPath, done };
        std::vector<char> state(items.size(), unseen);
        std::vector<std::size_t> path;
        for (std::size_t start = 0; start < items.size(); ++start) {
            path.clear();
            std::size_t at = start;
            for (; at != kNone && state[at] == unseen; at = items[at].parent) {
                state[at] = onPath;
                path.push_back(at);
            }
            if (at != kNone && state[at] == onPath) return parentLoop(path, at);
            for (std::size_t on : path) state[on] = done;
        }
        out_.itemIndex.reserve(items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            out_.itemIndex.emplace(items[i].number, i);
            // A scale the file does not give is 1.
            for (int axis = 6; axis < 9; ++axis)
                if (items[i].channelText[axis].empty()) items[i].channels[axis] = Channel{{Key{0.0, 1.0}}};
        }
        return true;
    }

    // Named at the ParentItem line that closes the loop, the last of its lines in the file.
    bool parentLoop(const std::vector<std::size_t>& path, std::size_t first) {
        std::size_t from = 0;
        while (path[from] != first) ++from;
        std::size_t closing = first;
        for (std::size_t i = from; i < path.size(); ++i)
            if (parentLines_[path[i]] > parentLines_[closing]) closing = path[i];
        std::string chain = out_.items[closing].name;
        for (std::size_t at = out_.items[closing].parent;; at = out_.items[at].parent) {
            chain += " -> " + out_.items[at].name;
            if (at == closing) break;
        }
        return fail(parentLines_[closing], "ParentItem " + hex8(parentNumbers_[closing]) + " makes a parent loop: " + chain);
    }

    // ---- motion

    bool motion(const Line& line) {
        SceneItem* item = currentOf(line, Values(trimmedLeft(line.text)).keyword());
        if (!item) return false;
        item->motionEnd = line.end;
        item->motionIndent = std::string(indentOf(line.text));
        return true;
    }

    bool numChannels(const Line& line, Values& values) {
        SceneItem* item = currentOf(line, values.keyword());
        long long count = 0;
        if (!item || !integer(line, values, count)) return false;
        if (count < 0) return fail(line.number, "NumChannels " + std::to_string(count) + " is below 0");
        item->numChannels = count;
        item->numChannelsLine = {line.begin, line.end};
        item->motionEnd = line.end;
        return true;
    }

    bool channel(const Line& line, Values& values) {
        SceneItem* item = currentOf(line, values.keyword());
        long long index = 0;
        if (!item || !integer(line, values, index)) return false;
        if (index < 0 || index > 8) return fail(line.number, "Channel " + std::to_string(index) + " is not one of 0 to 8");
        if (!item->channelText[index].empty())
            return fail(line.number, "Channel " + std::to_string(index) + " is given twice for this item");
        Line open;
        if (!lines_.next(open))
            return fail(line.number, "Channel " + std::to_string(index) + " is cut: the file ends here");
        if (trimmedRight(trimmedLeft(open.text)) != "{ Envelope")
            return fail(open.number, "Channel " + std::to_string(index) + " is not followed by { Envelope");
        Channel parsed;
        std::size_t end = 0;
        if (!envelope(open, parsed, end)) return false;
        item = &out_.items[current_];
        item->channels[index] = std::move(parsed);
        item->channelText[index] = {line.begin, end};
        item->motionEnd = end;
        item->motionIndent = std::string(indentOf(line.text));
        return true;
    }

    bool envelope(const Line& open, Channel& channel, std::size_t& end) {
        long long keyCount = -1;
        std::size_t countLine = 0;
        std::vector<std::size_t> nested;
        Line line;
        while (lines_.next(line)) {
            const std::string_view content = trimmedLeft(line.text);
            if (!nested.empty()) {
                if (opensBlock(content))
                    nested.push_back(line.number);
                else if (closesBlock(content))
                    nested.pop_back();
                continue;
            }
            if (opensBlock(content)) {
                nested.push_back(line.number);
                continue;
            }
            const long long given = static_cast<long long>(channel.keys.size());
            if (closesBlock(content)) {
                if (keyCount < 0) return fail(line.number, "the envelope begun at line " + std::to_string(open.number) +
                                                               " ends without its number of keys");
                if (given < keyCount) return tooFewKeys(line, given, keyCount, countLine);
                end = line.end;
                return true;
            }
            Values values(content);
            if (values.keyword().empty()) continue;
            if (keyCount < 0) {
                if (readInteger(values.keyword(), keyCount) != NumberRead::ok || keyCount < 0)
                    return fail(line.number, "the envelope's number of keys is " + quotedForMessage(values.keyword()) +
                                                 ", not a count");
                countLine = line.number;
                channel.keys.reserve(static_cast<std::size_t>(std::min<long long>(keyCount, 1 << 16)));
            } else if (values.keyword() == "Key") {
                if (given == keyCount)
                    return fail(line.number, "a key more than the " + std::to_string(keyCount) + " of line " +
                                                 std::to_string(countLine));
                if (!key(line, values, channel)) return false;
            } else if (values.keyword() == "Behaviors") {
                if (given < keyCount) return tooFewKeys(line, given, keyCount, countLine);
                double behaviours[2];
                int pre = 0, post = 0;
                if (!numbers(line, values, behaviours, 2) || !shapeNumber(line, "behaviour", behaviours[0], pre) ||
                    !shapeNumber(line, "behaviour", behaviours[1], post))
                    return false;
                channel.pre = static_cast<Behavior>(pre);
                channel.post = static_cast<Behavior>(post);
            }
            // Any other line of the envelope is kept and not read.
        }
        return fail(open.number, "the envelope begun here is cut: the file ends at line " + std::to_string(lines_.lastNumber()));
    }

    bool tooFewKeys(const Line& line, long long given, long long keyCount, std::size_t countLine) {
        return fail(line.number, "the envelope gives " + std::to_string(given) + " key" + (given == 1 ? "" : "s") +
                                     " where line " + std::to_string(countLine) + " says " + std::to_string(keyCount));
    }

    bool key(const Line& line, Values& values, Channel& channel) {
        double n[kKeyNumbers];
        for (int i = 0; i < kKeyNumbers; ++i) {
            const std::string_view token = values.next();
            switch (readDouble(token, n[i])) {
            case NumberRead::ok: break;
            case NumberRead::missing:
                return fail(line.number, "a Key with " + std::to_string(i) + " number" + (i == 1 ? "" : "s") +
                                             " where 9 are needed (value, time, span type and six parameters)");
            case NumberRead::unparsable: return fail(line.number, "Key: " + quotedForMessage(token) + " is not a number");
            case NumberRead::notFinite:
                return fail(line.number, "Key: " + quotedForMessage(token) + " is not a finite number");
            }
        }
        int shape = 0;
        if (!shapeNumber(line, "span type", n[2], shape)) return false;
        if (!channel.keys.empty() && n[1] < channel.keys.back().time)
            return fail(line.number, "a key at time " + shortestDecimal(n[1]) + " after one at " +
                                         shortestDecimal(channel.keys.back().time));
        Key k{n[1], n[0], static_cast<SpanShape>(shape)};
        for (int i = 0; i < 6; ++i) k.p[i] = n[3 + i];
        channel.keys.push_back(k);
        return true;
    }

    // ---- plug-ins and settings

    void notRun(const char* className, std::string_view name, std::size_t line) {
        if (notRunNames_.emplace(std::string(name)).second) out_.notRun.push_back({className, std::string(name), line});
    }

    bool plugin(const Line& open, Values& values) {
        PluginBlock block;
        block.className = std::string(values.next());
        long long number = 0;
        const NumberRead read = readInteger(values.next(), number);
        block.name = std::string(trimmedRight(values.rest()));
        if (block.className.empty() || read != NumberRead::ok || block.name.empty())
            return fail(open.number, "a Plugin line gives the class, a number and the plug-in's name");
        block.line = open.number;
        block.item = current_;
        block.whole.begin = open.begin;
        block.body.begin = open.end;
        block.bodyLine = open.number + 1;
        block.indent = std::string(indentOf(open.text));
        if (block.isSinewrig() && current_ == kNone) return fail(open.number, "Sinewrig's plug-in block is under no item");
        int depth = 0;
        Line line;
        while (lines_.next(line)) {
            const std::string_view keyword = Values(trimmedLeft(line.text)).keyword();
            if (keyword == "Plugin") {
                ++depth;
            } else if (keyword == "EndPlugin" && depth-- == 0) {
                block.body.end = line.begin;
                block.whole.end = line.end;
                if (!block.isSinewrig()) notRun(block.className.c_str(), block.name, block.line);
                out_.plugins.push_back(std::move(block));
                return true;
            }
        }
        return fail(open.number, "the plug-in block begun here (" + block.name + ") has no EndPlugin: the file ends at line " +
                                     std::to_string(lines_.lastNumber()));
    }

    bool frame(const Line& line, Values& values, long long& out, bool step) {
        if (!integer(line, values, out)) return false;
        if (step && out < 1) return fail(line.number, std::string(values.keyword()) + " " + std::to_string(out) + " is below 1");
        return true;
    }

    bool framesPerSecond(const Line& line, Values& values) {
        double rate = 0;
        if (!numbers(line, values, &rate, 1)) return false;
        if (!(rate > 0)) return fail(line.number, "FramesPerSecond " + shortestDecimal(rate) + " is not above 0");
        out_.settings.framesPerSecond = rate;
        return true;
    }

    std::string_view text_;
    Lines lines_;
    SceneText& out_;
    SceneError& error_;
    std::size_t current_ = kNone, object_ = kNone;
    ItemNumbers numbers_;
    std::vector<std::uint32_t> parentNumbers_;  // by item; 0 without ParentItem
    std::vector<std::size_t> parentLines_;
    std::vector<std::size_t> openBlocks_;  // the lines of the blocks open at the top level
    std::unordered_set<std::string> notRunNames_;
};

}  // namespace

bool readScene(std::string text, SceneText& scene, SceneError& error) {
    SceneText read;
    Reader reader(text, read, error);
    if (!reader.run()) return false;
    read.text = std::move(text);
    scene = std::move(read);
    return true;
}

bool readSceneFile(const std::string& path, SceneText& scene, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    std::string text;
    if (file) {
        file.seekg(0, std::ios::end);
        const std::streamoff size = file.tellg();
        file.seekg(0, std::ios::beg);
        if (size > 0) {
            text.resize(static_cast<std::size_t>(size));
            file.read(text.data(), size);
        }
    }
    if (!file) {
        error = path + ": cannot be read (" + std::strerror(errno) + ")";
        return false;
    }
    SceneError failure;
    if (readScene(std::move(text), scene, failure)) return true;
    error = path + (failure.line ? ":" + std::to_string(failure.line) : std::string()) + ": " + failure.what;
    return false;
}

}  // namespace host::lws
