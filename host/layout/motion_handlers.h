// Hosting item motion handler servers the way Layout does: applying them to
// items, removing them, cloning items with them, renumbering items, opening
// their options, and evaluating a time, with the instances in the order they
// were applied. Any ItemMotionHandler server of the module can be applied; a
// callback the module left null is never called.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/layout/layout.h"
#include "host/scene_file/scene_data.h"
#include "host/process/module_file.h"

namespace host {

class MotionHandlers {
public:
    // The module must outlive this; destroying it destroys the instances left.
    // `server` is the one the calls without a server name use. While it lives,
    // the Layout's "ApplyServer" commands apply servers through it.
    MotionHandlers(Layout& layout, const ModuleFile& module, std::string server = "Sinewrig");
    ~MotionHandlers();
    MotionHandlers(const MotionHandlers&) = delete;
    MotionHandlers& operator=(const MotionHandlers&) = delete;

    // One server's tables, filled by its activation.
    struct Server {
        std::string name;
        LWInstanceFuncs inst{};
        LWItemFuncs item{};
        LWItemMotionHandler table{};
    };
    struct Applied {
        LWItemID item;
        LWInstance instance;
        Server* server;
    };

    // Activates the server with `version` into its handler table: its AFUNC
    // result, -1 when the module has no such server.
    int activate(int version = 4);
    int activate(const std::string& server, int version);
    bool canApply(const std::string& server) const;
    // Activation with version 4, then create with the item as context and
    // `error` as its error slot. Null when either fails.
    LWInstance apply(LWItemID item, LWError* error = nullptr);
    LWInstance apply(const std::string& server, LWItemID item, LWError* error = nullptr);
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
    // The same over a LoadState the caller keeps, to see what the module read.
    LWError load(LWInstance instance, LoadState& state) const;
    // Save and load through any state record, such as a scene file's text-mode ones.
    void saveTo(LWInstance instance, const LWSaveState& state) const;
    LWError loadFrom(LWInstance instance, const LWLoadState& state) const;
    LWError copy(LWInstance to, LWInstance from) const;

    // What opening an instance's options did: the ItemMotionInterface server
    // of the instance's server name activated with `version` and its options
    // function called when it gave one.
    struct Options {
        int activation = -1;  // AFUNC result; -1: the module has no such interface server
        bool called = false;  // options was called
        LWError error = nullptr;
        LWInterface local{};  // the interface record as the activation left it
    };
    Options openOptions(LWInstance instance, int version = 4) const;

    // Evaluates a time: items parent first, every handler not flagged after IK
    // before those that are; each item's motion starts as its channels.
    void evaluate(double time);

    const std::string& server() const { return server_; }
    const std::vector<Applied>& instances() const { return applied_; }
    std::vector<LWInstance> instancesOf(LWItemID item) const;
    const Applied* find(LWInstance instance) const;
    // The default server's table, or the named one's (made empty when new).
    const LWItemMotionHandler& table() const { return tablesOf(server_).table; }
    const Server& tablesOf(const std::string& server) const;
    void* priv() const { return const_cast<MotionHandlers*>(this); }  // LWInstanceFuncs.priv

private:
    Server& serverNamed(const std::string& name) const;
    const Server* serverOf(LWInstance instance) const;

    Layout& layout_;
    const ModuleFile& module_;
    std::string server_;
    mutable std::vector<std::unique_ptr<Server>> servers_;
    std::vector<Applied> applied_;
    mutable std::size_t lastFound_ = 0;
};

}  // namespace host
