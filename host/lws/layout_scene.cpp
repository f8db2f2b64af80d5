#include "host/lws/layout_scene.h"

#include <cmath>
#include <cstdio>
#include <unordered_map>

#include "abi/item_number.h"
#include "host/geometry/angles.h"
#include "host/lws/text_state.h"
#include "host/scene/item_numbers.h"
#include "host/text/text_format.h"

namespace host::lws {

namespace {

std::string hex8(std::uint32_t number) {
    char text[12];
    std::snprintf(text, sizeof text, "%08X", number);
    return text;
}

// Degrees that the reader's conversion turns back into exactly these radians
// where any double does; the nearest otherwise.
double degreesFor(double radians) {
    const double first = host::degrees(radians);
    double below = first, above = first;
    for (int step = 0; step < 8; ++step) {
        if (host::radians(below) == radians) return below;
        if (host::radians(above) == radians) return above;
        below = std::nextafter(below, -INFINITY);
        above = std::nextafter(above, INFINITY);
    }
    return first;
}

class SceneWriter {
public:
    SceneWriter(const Layout& layout, const MotionHandlers& handlers, const std::vector<ObjectLayer>& objects,
                std::string& error)
        : layout_(layout), handlers_(handlers), error_(error) {
        for (const ObjectLayer& object : objects) objects_.emplace(object.object, &object);
        for (const MotionHandlers::Applied& applied : handlers.instances()) instances_[applied.item].push_back(&applied);
    }

    bool write(const SceneSettings& s) {
        if (!order()) return false;
        out_ = baked_ ? "LWSC\n4\n\n" : "LWSC\n3\n\n";
        line("FirstFrame", std::to_string(s.firstFrame));
        line("LastFrame", std::to_string(s.lastFrame));
        line("FrameStep", std::to_string(s.frameStep));
        line("PreviewFirstFrame", std::to_string(s.previewFirstFrame));
        line("PreviewLastFrame", std::to_string(s.previewLastFrame));
        line("PreviewFrameStep", std::to_string(s.previewFrameStep));
        line("CurrentFrame", std::to_string(s.currentFrame));
        if (!finite("FramesPerSecond", &s.framesPerSecond, 1)) return false;
        line("FramesPerSecond", shortestDecimal(s.framesPerSecond));
        for (const Item* item : order_) {
            const bool written = item->type == LWI_OBJECT ? objectItem(*item)
                                 : item->type == LWI_BONE ? boneItem(*item)
                                                          : otherItem(*item);
            if (!written) return false;
        }
        return true;
    }

    const std::string& text() const { return out_; }

private:
    bool fail(const Item& item, const std::string& what) {
        error_ = "item " + hex8(itemNumber(item.id)) + " (" + item.name + ") " + what;
        return false;
    }

    bool finite(const char* what, const double* values, int count) {
        for (int i = 0; i < count; ++i)
            if (!std::isfinite(values[i])) {
                error_ = std::string(what) + " is not finite";
                return false;
            }
        return true;
    }

    bool isObject(LWItemID id) const {
        const Item* item = layout_.scene.find(id);
        return item && item->type == LWI_OBJECT;
    }

    void line(const char* keyword, const std::string& values) {
        out_ += keyword;
        out_ += ' ';
        out_ += values;
        out_ += '\n';
    }

    std::string numbers(const double* values, int count) const {
        std::string text;
        for (int i = 0; i < count; ++i) text += (i ? " " : "") + shortestDecimal(values[i]);
        return text;
    }

    // The items as the file lists them: each object with its bones after it,
    // then the lights and the cameras. When a reader would count another
    // number for any of them than the one it has (numbers the Layout gave
    // past the counting's form, such as a 4,097th bone of an object), every
    // adding line bakes its number, as LWSC 4 does.
    bool order() {
        const std::vector<Item>& items = layout_.scene.items();
        for (const Item& item : items)
            if (item.type == LWI_BONE && !isObject(item.owner)) return fail(item, "is a bone without an object");
        for (const Item& object : items) {
            if (object.type != LWI_OBJECT) continue;
            order_.push_back(&object);
            for (const Item& bone : items)
                if (bone.type == LWI_BONE && bone.owner == object.id) order_.push_back(&bone);
        }
        for (LWItemType type : {LWI_LIGHT, LWI_CAMERA})
            for (const Item& item : items)
                if (item.type == type) order_.push_back(&item);
        ItemNumbers counted;
        for (const Item* item : order_) {
            const std::uint32_t owner = item->type == LWI_BONE ? itemNumber(item->owner) : 0;
            baked_ = baked_ || counted.count(item->type, owner) != itemNumber(item->id);
        }
        return true;
    }

    // The item's number before the rest of its adding line, when numbers are baked.
    std::string number(const Item& item) const { return baked_ ? hex8(itemNumber(item.id)) + " " : std::string(); }

    bool objectItem(const Item& object) {
        out_ += '\n';
        if (auto found = objects_.find(object.id); found != objects_.end())
            line("LoadObjectLayer", std::to_string(found->second->layer) + " " + number(object) + found->second->file);
        else
            line("AddNullObject", number(object) + object.name);
        if (!motion(object, "ObjectMotion")) return false;
        if (!finite("an object's pivot", object.pivot, 3)) return false;
        line("PivotPosition", numbers(object.pivot, 3));
        return parent(object) && plugins(object);
    }

    bool boneItem(const Item& bone) {
        out_ += '\n';
        out_ += baked_ ? "AddBone " + hex8(itemNumber(bone.id)) + "\n" : std::string("AddBone\n");
        line("BoneName", bone.name);
        line("BoneActive", bone.active ? "1" : "0");
        // Bone info's rest values: those given, else the channels at time 0.
        double position[3], rotation[3];
        layout_.scene.channelValue(bone.id, LWIP_POSITION, 0.0, position);
        layout_.scene.channelValue(bone.id, LWIP_ROTATION, 0.0, rotation);
        for (int i = 0; i < 3; ++i) {
            if (bone.restPosition) position[i] = (*bone.restPosition)[i];
            if (bone.restRotation) rotation[i] = degreesFor((*bone.restRotation)[i]);
            else rotation[i] = degreesFor(rotation[i]);
        }
        if (!finite("a bone's rest position", position, 3) || !finite("a bone's rest direction", rotation, 3) ||
            !finite("a bone's rest length", &bone.restLength, 1))
            return false;
        line("BoneRestPosition", numbers(position, 3));
        line("BoneRestDirection", numbers(rotation, 3));
        line("BoneRestLength", shortestDecimal(bone.restLength));
        return motion(bone, "BoneMotion") && parent(bone) && plugins(bone);
    }

    bool otherItem(const Item& item) {
        const bool light = item.type == LWI_LIGHT;
        out_ += '\n';
        out_ += std::string(light ? "AddLight" : "AddCamera") + (baked_ ? " " + hex8(itemNumber(item.id)) : "") + "\n";
        line(light ? "LightName" : "CameraName", item.name);
        return motion(item, light ? "LightMotion" : "CameraMotion") && parent(item) && plugins(item);
    }

    bool motion(const Item& item, const char* keyword) {
        out_ += keyword;
        out_ += "\nNumChannels 9\n";
        const Channel* groups[3] = {item.position, item.rotation, item.scaling};
        for (int c = 0; c < 9; ++c) {
            const Channel& channel = groups[c / 3][c % 3];
            out_ += "Channel " + std::to_string(c) + "\n{ Envelope\n  " + std::to_string(channel.keys.size()) + "\n";
            for (const Key& key : channel.keys) {
                const double values[2] = {key.value, key.time};
                if (!finite("a key", values, 2) || !finite("a key's parameter", key.p, 6))
                    return fail(item, "has a key that is not finite on channel " + std::to_string(c));
                out_ += "  Key " + numbers(values, 2) + " " + std::to_string(static_cast<int>(key.shape)) + " " +
                        numbers(key.p, 6) + "\n";
            }
            out_ += "  Behaviors " + std::to_string(static_cast<int>(channel.pre)) + " " +
                    std::to_string(static_cast<int>(channel.post)) + "\n}\n";
        }
        return true;
    }

    // Without ParentItem a bone hangs from its object and any other item from none.
    bool parent(const Item& item) {
        if (!item.parent || (item.type == LWI_BONE && item.parent == item.owner)) return true;
        if (!layout_.scene.find(item.parent)) return fail(item, "has a parent the Layout does not hold");
        line("ParentItem", hex8(itemNumber(item.parent)));
        return true;
    }

    bool plugins(const Item& item) {
        auto found = instances_.find(item.id);
        if (found == instances_.end()) return true;
        int ordinal = 0;
        for (const MotionHandlers::Applied* applied : found->second) {
            line("Plugin", "ItemMotionHandler " + std::to_string(++ordinal) + " " + applied->server->name);
            TextSaveState state(out_);
            handlers_.saveTo(applied->instance, *state.record());
            out_ += "EndPlugin\n";
        }
        return true;
    }

    const Layout& layout_;
    const MotionHandlers& handlers_;
    std::string& error_;
    std::string out_;
    std::vector<const Item*> order_;
    bool baked_ = false;
    std::unordered_map<LWItemID, const ObjectLayer*> objects_;
    std::unordered_map<LWItemID, std::vector<const MotionHandlers::Applied*>> instances_;
};

}  // namespace

bool writeLayoutScene(const Layout& layout, const MotionHandlers& handlers, const SceneSettings& settings,
                      const std::vector<ObjectLayer>& objects, std::ostream& out, std::string& error) {
    SceneWriter writer(layout, handlers, objects, error);
    if (!writer.write(settings)) return false;
    out.write(writer.text().data(), static_cast<std::streamsize>(writer.text().size()));
    if (!out) {
        error = "the scene could not be written";
        return false;
    }
    return true;
}

}  // namespace host::lws
