#include "tools/sinewrig/road/muscle_bones.h"

#include <set>

#include "host/text/cp932.h"

namespace sinewrig_tool {

std::vector<MuscleBone> muscleBones(const LayoutSession& session) {
    std::vector<MuscleBone> muscles;
    std::set<LWItemID> known;
    for (const host::MotionHandlers::Applied& applied : session.handlers->instances()) {
        if (!known.insert(applied.item).second) continue;
        const host::Item* item = session.layout->scene.find(applied.item);
        MuscleBone muscle;
        muscle.bone = applied.item;
        muscle.name = item ? host::utf8FromCp932(item->name) : "?";
        muscle.colour = item ? item->colour : -1;
        const std::vector<LWItemID> used = session.handlers->useItems(applied.instance);
        if (used.size() > 1)
            if (const host::Item* reference = session.layout->scene.find(used[1])) {
                muscle.reference = host::utf8FromCp932(reference->name);
                muscle.referenceItem = used[1];
            }
        muscles.push_back(muscle);
    }
    return muscles;
}

}  // namespace sinewrig_tool
