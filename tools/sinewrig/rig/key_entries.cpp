#include "tools/sinewrig/rig/key_entries.h"

#include <cmath>
#include <map>
#include <tuple>

#include "host/text/text_format.h"
#include "tools/sinewrig/rig/numbers.h"

namespace sinewrig_tool {

std::vector<std::string> keyFields() { return {"bone", "frame", "position", "rotation"}; }

std::vector<RigKey> readKeyEntries(const Json& list, const std::function<std::string(const std::string&)>& boneFault) {
    const std::vector<std::string> fields = keyFields();
    std::vector<RigKey> keys;
    // Which key set each channel of a bone at a frame, to refuse a second one.
    std::map<std::tuple<std::string, double, bool>, std::size_t> keyed;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = entryAt("keys", i);
        const Json& entry = list[i];
        expectObject(entry, where);
        onlyKnownFields(entry, where, fields);
        RigKey k;
        k.bone = text(field(entry, where, "bone"), at(where, "bone"));
        if (const std::string fault = boneFault(k.bone); !fault.empty()) throw FieldError{at(where, "bone"), fault};
        k.frame = number(field(entry, where, "frame"), at(where, "frame"));
        if (std::abs(k.frame) > 1e9) throw FieldError{at(where, "frame"), "must be from -1000000000 to 1000000000"};
        if (const Json* position = optionalField(entry, "position")) k.position = point(*position, at(where, "position"));
        if (const Json* rotation = optionalField(entry, "rotation")) k.rotation = point(*rotation, at(where, "rotation"));
        if (!k.position && !k.rotation) throw FieldError{where, "a key needs a position or a rotation"};
        for (const bool rotation : {false, true}) {
            if (!(rotation ? k.rotation : k.position)) continue;
            const auto [earlier, added] = keyed.emplace(std::make_tuple(k.bone, k.frame, rotation), i);
            if (!added)
                throw FieldError{at(where, rotation ? "rotation" : "position"),
                                 "a second key for bone " + host::quoted(k.bone) + " at frame " + rigNumberText(k.frame) +
                                     " (the first is " + entryAt("keys", earlier->second) + ")"};
        }
        keys.push_back(k);
    }
    return keys;
}

}  // namespace sinewrig_tool
