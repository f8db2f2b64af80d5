#include "fuzz/fuzz_input.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "fuzz/fuzz_session.h"
#include "abi/item_number.h"
#include "tests/muscle_scene_data.h"

namespace fuzz {

namespace {

// Keyed channels stay small enough that the host's interpolation between keys
// cannot overflow; a constant channel may hold any finite value.
constexpr double kKeyedRange = 1e6;

void setChannel(host::Scene& scene, LWItemID item, LWItemParam param, FuzzedDataProvider& in) {
    if (in.ConsumeBool()) {
        const double value[3] = {finiteNumber(in), finiteNumber(in), finiteNumber(in)};
        scene.setValue(item, param, value);
        return;
    }
    const int keys = in.ConsumeIntegralInRange(1, 3);
    for (int key = 0; key < keys; ++key) {
        const double time = in.ConsumeFloatingPointInRange(-2.0, 4.0);
        double value[3];
        for (double& v : value) v = in.ConsumeFloatingPointInRange(-kKeyedRange, kKeyedRange);
        scene.setKey(item, param, time, value);
    }
}

// A value that a write of `type` can hold.
double typedValue(FuzzedDataProvider& in, const std::string& type, const std::vector<LWItemID>& items) {
    if (type == "B" || type == "U1") return in.ConsumeIntegral<std::uint8_t>();
    if (type == "I1") return in.ConsumeIntegral<std::int8_t>();
    if (type == "I2") return in.ConsumeIntegral<std::int16_t>();
    if (type == "U2") return in.ConsumeIntegral<std::uint16_t>();
    if (type == "I4") return in.ConsumeIntegral<std::int32_t>();
    if (type == "U4") return itemNumber(in, items);
    return sceneFloat(in);
}

void retype(FuzzedDataProvider& in, host::SceneWrite& write, std::string type, std::size_t count,
            const std::vector<LWItemID>& items) {
    write.type = std::move(type);
    write.values.clear();
    for (std::size_t i = 0; i < count; ++i) write.values.push_back(typedValue(in, write.type, items));
}

}  // namespace

double finiteNumber(FuzzedDataProvider& in) {
    static const double kSpecial[] = {0.0,     -0.0,     1.0,      -1.0,    0.5,     2.0,     1e-300, -1e-300,
                                      4.9e-324, DBL_MIN, 1e300,    -1e300,  DBL_MAX, -DBL_MAX, 3.141592653589793,
                                      1.570796326794895, -1.570796326794895, 1e-9};
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: return in.PickValueInArray(kSpecial);
        case 1: return in.ConsumeFloatingPoint<double>();
        default: return in.ConsumeFloatingPointInRange(-10.0, 10.0);
    }
}

double evaluationTime(FuzzedDataProvider& in) {
    static const double kFar[] = {-1e9, 1e9, 1e6, -0.0, 1e-300, 7e7};
    if (in.ConsumeIntegralInRange(0, 15) == 0) return in.PickValueInArray(kFar);
    return in.ConsumeFloatingPointInRange(-1.0, 5.0);
}

float sceneFloat(FuzzedDataProvider& in) {
    static const float kSpecial[] = {0.0f,     -0.0f,    1.0f,     -1.0f,   FLT_MAX, -FLT_MAX, FLT_MIN,
                                     1e-45f,   std::numeric_limits<float>::quiet_NaN(),
                                     std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    switch (in.ConsumeIntegralInRange(0, 2)) {
        case 0: return in.PickValueInArray(kSpecial);
        case 1: {
            const std::uint32_t bits = in.ConsumeIntegral<std::uint32_t>();
            float value;
            std::memcpy(&value, &bits, sizeof value);
            return value;
        }
        default: return in.ConsumeFloatingPointInRange(-10.0f, 10.0f);
    }
}

unsigned int itemNumber(FuzzedDataProvider& in, const std::vector<LWItemID>& items) {
    switch (in.ConsumeIntegralInRange(0, 5)) {
        case 0: return 0;
        case 1: return 0xFFFFFFFFu;
        case 2: return in.ConsumeIntegral<std::uint32_t>();
        default: return items.empty() ? 0 : ::itemNumber(pick(in, items));
    }
}

std::string text(FuzzedDataProvider& in, const std::vector<std::string>& names) {
    switch (in.ConsumeIntegralInRange(0, 9)) {
        case 0: return "";
        case 1: {  // longer than any buffer of the module's
            const std::size_t length = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::size_t>(250, 270)
                                                        : in.ConsumeIntegralInRange<std::size_t>(271, 5000);
            std::string made(length, in.ConsumeIntegralInRange<char>('A', 'z'));
            // Shift-JIS pairs across the description's cut.
            if (in.ConsumeBool())
                for (std::size_t i = 240; i + 1 < made.size() && i < 262; i += 2) made.replace(i, 2, "\x8e\x51");
            return made;
        }
        case 2: {
            static const char* const kForeign[] = {"\x8e\x51\x8f\xc6", "\x91\xcc\x90\xcf", "\x83", "A\x83",
                                                   "\xff\xfe\x80", "\xc3\xa9t\xc3\xa9", "\xe2\x80\xae"};
            return in.PickValueInArray(kForeign) + (names.empty() ? std::string() : pick(in, names));
        }
        case 3: {
            static const char* const kFormats[] = {"%s", "%n%n%n", "%X%d%%", "%s%s%s%s%s%s%s%s", "%999999999s", "%"};
            return in.PickValueInArray(kFormats);
        }
        case 4: return in.ConsumeRandomLengthString(64);
        default: return names.empty() ? "Bone" : pick(in, names);
    }
}

host::SceneData sceneStream(FuzzedDataProvider& in, const std::vector<LWItemID>& items) {
    host::SceneData data;
    if (in.ConsumeBool()) {
        data = {{"U4", {double(itemNumber(in, items))}},
                {"U4", {double(itemNumber(in, items))}},
                {"U1", {double(in.ConsumeIntegral<std::uint8_t>())}},
                {"U1", {double(in.ConsumeIntegral<std::uint8_t>())}},
                {"FP", {double(sceneFloat(in))}},
                {"FP", {double(sceneFloat(in)), double(sceneFloat(in)), double(sceneFloat(in))}}};
        // Now and then the muscle controls after them, of any values, with the marker or another number.
        if (in.ConsumeBool()) {
            const double marker =
                in.ConsumeIntegralInRange(0, 3) ? kControlsMarker : double(in.ConsumeIntegral<std::uint32_t>());
            // A braced list takes its values in order, as the input gives them.
            host::SceneData extension = controlsSceneData(ControlsExtension{
                sceneFloat(in), in.ConsumeIntegral<std::uint8_t>(), sceneFloat(in), sceneFloat(in), sceneFloat(in),
                std::nullopt});
            extension[0].values = {marker};
            data.insert(data.end(), extension.begin(), extension.end());
        }
        // And now and then the aim byte after it: heading and pitch, the shortest turn, or any other value.
        if (data.size() > 6 && in.ConsumeBool()) {
            static const double kAims[] = {0, 1, 1, 2, 255};
            data.push_back({"U1", {in.ConsumeBool() ? in.PickValueInArray(kAims) : double(in.ConsumeIntegral<std::uint8_t>())}});
        }
        // A flaw or two in the block: a write missing, of another type, or of another count.
        for (int flaws = in.ConsumeIntegralInRange(0, 2); flaws > 0 && !data.empty(); --flaws) {
            const std::size_t at = in.ConsumeIntegralInRange<std::size_t>(0, data.size() - 1);
            host::SceneWrite& write = data[at];
            switch (in.ConsumeIntegralInRange(0, 2)) {
                case 0: data.erase(data.begin() + static_cast<long>(at)); break;
                case 1: retype(in, write, write.type == "FP" ? "U4" : "FP", write.values.size(), items); break;
                default: retype(in, write, write.type, in.ConsumeIntegralInRange<std::size_t>(0, 5), items); break;
            }
        }
        return data;
    }
    static const char* const kTypes[] = {"B", "I1", "I2", "I4", "U1", "U2", "U4", "FP"};
    const int writes = in.ConsumeIntegralInRange(0, in.ConsumeBool() ? 8 : 40);
    for (int w = 0; w < writes; ++w) {
        host::SceneWrite write;
        retype(in, write, in.PickValueInArray(kTypes),
               in.ConsumeIntegralInRange<std::size_t>(0, in.ConsumeIntegralInRange(0, 15) == 0 ? 300 : 4), items);
        data.push_back(std::move(write));
    }
    return data;
}

std::vector<LWItemID> addItems(Session& session, FuzzedDataProvider& in, const std::vector<std::string>& names,
                               int mostBones) {
    host::Scene& scene = session.layout.scene;
    std::vector<LWItemID> items;
    const int bones = in.ConsumeIntegralInRange(1, mostBones);
    for (int b = 0; b < bones; ++b) {
        LWItemID parent = items.empty() || in.ConsumeBool() ? nullptr : pick(in, items);
        LWItemID bone = scene.addItem(LWI_BONE, text(in, names), parent);
        host::Item* made = scene.find(bone);
        made->named = in.ConsumeIntegralInRange(0, 7) != 0;
        made->restLength = in.ConsumeBool() ? in.ConsumeFloatingPointInRange(0.1, 3.0) : finiteNumber(in);
        if (in.ConsumeBool()) setChannel(scene, bone, LWIP_POSITION, in);
        if (in.ConsumeBool()) setChannel(scene, bone, LWIP_ROTATION, in);
        if (in.ConsumeIntegralInRange(0, 3) == 0) setChannel(scene, bone, LWIP_SCALING, in);
        items.push_back(bone);
    }
    // Now and then a chain that loops back, which no host should hand over but
    // which the module must not follow for ever.
    if (in.ConsumeIntegralInRange(0, 7) == 0) scene.find(items.front())->parent = pick(in, items);
    LWItemID light = scene.addItem(LWI_LIGHT, text(in, names));
    if (in.ConsumeBool()) setChannel(scene, light, LWIP_POSITION, in);
    items.push_back(light);
    return items;
}

}  // namespace fuzz
