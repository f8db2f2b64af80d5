// Hosting one item motion handler server the way Layout does: applying it to
// items, removing it, cloning items with it, renumbering items, and evaluating
// a time, with the handler's instances in the order they were applied.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/layout/layout.h"
#include "host/process/module_file.h"
#include "host/layout/scene_data.h"

namespace host {

class MotionHandlers {
public:
    // The module must outlive this; destroying it destroys the instances left.
    MotionHandlers(Layout& layout, const ModuleFile& module, std::string server = "Sinewrig");
    ~MotionHandlers();
    MotionHandlers(const MotionHandlers&) = delete;
    MotionHandlers& operator=(const MotionHandlers&) = delete;

    struct Applied {
        LWItemID item;
        LWInstance instance;
    };

    // Activates the server with `version` into the handler table: its AFUNC result.
    int activate(int version = 4);
    // Activation with version 4, then create with the item as context and
    // `error` as its error slot. Null when either fails.
    LWInstance apply(LWItemID item, LWError* error = nullptr);
    void remove(LWInstance instance);
    void removeAll();
    // A copy of the item (name, parent, channels, rest length) that also gets the
    // item's handlers: create for the clone, then copy from the original's instance.
    LWItemID cloneItem(LWItemID item);
    // Tells every instance, through changeID, of the (old, new) item ID pairs.
    void changeIDs(const std::vector<std::pair<LWItemID, LWItemID>>& pairs);

    std::vector<LWItemID> useItems(LWInstance instance) const;  // up to the first 0
    std::string description(LWInstance instance) const;
    unsigned int flags(LWInstance instance) const;
    SceneData save(LWInstance instance) const;
    // Calls load with a LoadState over `data`.
    LWError load(LWInstance instance, const SceneData& data) const;
    LWError copy(LWInstance to, LWInstance from) const;

    // Evaluates a time: items parent first, every handler not flagged after IK
    // before those that are; each item's motion starts as its channels.
    void evaluate(double time);

    const std::string& server() const { return server_; }
    const std::vector<Applied>& instances() const { return applied_; }
    std::vector<LWInstance> instancesOf(LWItemID item) const;
    const LWItemMotionHandler& table() const { return table_; }
    void* priv() const { return const_cast<MotionHandlers*>(this); }  // LWInstanceFuncs.priv

private:
    Layout& layout_;
    const ModuleFile& module_;
    std::string server_;
    LWInstanceFuncs inst_{};
    LWItemFuncs item_{};
    LWItemMotionHandler table_{};
    std::vector<Applied> applied_;
};

}  // namespace host
