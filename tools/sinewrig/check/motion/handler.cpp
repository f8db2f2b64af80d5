#include "tools/sinewrig/check/motion/handler.h"

#include <cstring>
#include <vector>

#include "host/layout/motion_handlers.h"
#include "tools/sinewrig/check/motion/instance_data.h"
#include "tools/sinewrig/check/panels.h"
#include "tools/sinewrig/check/motion/scene.h"
#include "tools/sinewrig/check/services.h"
#include "tools/sinewrig/check/server_classes.h"

namespace sinewrig_tool {

namespace {

using Tables = host::MotionHandlers::Server;

// Longer than any one-line description a host shows.
constexpr std::size_t kLongestDescription = 1024;

// Lists what the activation filled and what it left null; false when one a
// handler cannot work without is null.
bool reportCallbacks(CheckReport& report, const Tables& tables) {
    const struct {
        const char* name;
        bool given;
        bool needed;
    } callbacks[] = {
        {"create", tables.inst.create != nullptr, true},      {"destroy", tables.inst.destroy != nullptr, true},
        {"copy", tables.inst.copy != nullptr, false},         {"load", tables.inst.load != nullptr, true},
        {"save", tables.inst.save != nullptr, true},          {"descln", tables.inst.descln != nullptr, false},
        {"useItems", tables.item.useItems != nullptr, false}, {"changeID", tables.item.changeID != nullptr, false},
        {"evaluate", tables.table.evaluate != nullptr, true}, {"flags", tables.table.flags != nullptr, false},
    };
    std::string filled, null, missing;
    for (const auto& callback : callbacks) {
        if (callback.given) filled += " " + std::string(callback.name);
        if (!callback.given) null += " " + std::string(callback.name);
        if (!callback.given && callback.needed) missing += " " + std::string(callback.name);
    }
    report.info("filled:" + (filled.empty() ? " nothing" : filled));
    report.info("left null:" + (null.empty() ? " nothing" : null));
    report.check(missing.empty(), missing.empty() ? "gives every callback a motion handler needs"
                                                  : "left null what a motion handler needs:" + missing);
    return missing.empty();
}

// The module fills the host's records; a pointer it replaced would leave them unread.
void reportHostRecords(CheckReport& report, const host::MotionHandlers& handlers, const Tables& tables) {
    std::string replaced;
    if (tables.table.inst != &tables.inst) replaced += " inst";
    if (tables.table.item != &tables.item) replaced += " item";
    if (tables.inst.priv != handlers.priv()) replaced += " priv";
    report.check(replaced.empty(), replaced.empty() ? "kept the host's instance and item function records and priv"
                                                    : "replaced what the host owns:" + replaced);
}

void reportDescription(CheckReport& report, const Tables& tables, LWInstance instance, const std::string& on) {
    const char* text = tables.inst.descln(instance);
    if (!text)
        report.fail("descln on " + on + " gave null");
    else if (strnlen(text, kLongestDescription) == kLongestDescription)
        report.fail("descln on " + on + " gave no end within " + std::to_string(kLongestDescription) + " bytes");
    else
        report.pass("descln on " + on + ": " + quotedText(text));
}

std::string itemNames(const CheckScene& scene, const std::vector<LWItemID>& items) {
    std::string names;
    for (LWItemID item : items) names += (names.empty() ? "" : " ") + scene.nameOf(item);
    return names.empty() ? "none" : names;
}

// Every item listed must be in the scene.
void reportUseItems(CheckReport& report, const CheckScene& scene, const std::vector<LWItemID>& items,
                    const std::string& on) {
    bool known = true;
    for (LWItemID item : items) known = known && scene.layout.scene.find(item);
    report.check(known, "useItems on " + on + ": " + itemNames(scene, items) + (known ? "" : ", not all in the scene"));
}

// Renumbering that keeps every ID must change nothing an instance lists.
void reportChangeID(CheckReport& report, const CheckScene& scene, host::MotionHandlers& handlers, LWInstance instance) {
    std::vector<std::pair<LWItemID, LWItemID>> pairs;
    for (const host::Item& item : scene.layout.scene.items()) pairs.emplace_back(item.id, item.id);
    const std::vector<LWItemID> before = handlers.useItems(instance);
    handlers.changeIDs(pairs);
    const std::vector<LWItemID> after = handlers.useItems(instance);
    report.check(after == before, "changeID with every item keeping its ID: useItems " +
                                      (after == before ? "unchanged" : "became " + itemNames(scene, after)));
}

// Two instances, on the bone chain's two bones; false when either cannot be made.
bool createInstances(CheckReport& report, const CheckScene& scene, host::MotionHandlers& handlers,
                     const std::string& server, const LWItemID (&items)[2], LWInstance (&instances)[2]) {
    for (int i = 0; i < 2; ++i) {
        LWError error = nullptr;
        instances[i] = handlers.apply(server, items[i], &error);
        const std::string what = "create on " + scene.nameOf(items[i]);
        const std::string said = error ? ": " + quotedText(error) : "";
        if (instances[i])
            report.pass(what + said);
        else
            report.fail(what + " gave no instance" + said);
    }
    return instances[0] && instances[1];
}

void driveInstances(CheckReport& report, const CheckScene& scene, host::MotionHandlers& handlers,
                    const std::string& server) {
    const Tables& tables = handlers.tablesOf(server);
    const LWItemID items[2] = {scene.lower, scene.upper};
    LWInstance instances[2] = {};
    if (!createInstances(report, scene, handlers, server, items, instances)) return;

    if (tables.inst.copy) {
        const LWError error = handlers.copy(instances[1], instances[0]);
        report.check(!error, "copy from the instance on " + scene.nameOf(items[0]) + " onto the one on " +
                                 scene.nameOf(items[1]) + (error ? ": " + quotedText(error) : ""));
    }
    for (int i = 0; i < 2; ++i) {
        const std::string on = scene.nameOf(items[i]);
        if (tables.inst.descln) reportDescription(report, tables, instances[i], on);
        if (tables.item.useItems) reportUseItems(report, scene, handlers.useItems(instances[i]), on);
        if (tables.table.flags) report.info("flags on " + on + ": " + hexNumber(handlers.flags(instances[i])));
    }
    if (tables.item.changeID) reportChangeID(report, scene, handlers, instances[0]);

    checkSaveLoadSave(report, scene, handlers, server, instances[0]);
    checkEvaluation(report, scene, handlers);
}

}  // namespace

void checkMotionHandler(CheckReport& report, host::Layout& layout, const host::ModuleFile& module,
                        const std::string& server) {
    layout.makeActive();
    const CheckScene scene(layout);
    host::MotionHandlers handlers(layout, module, server);
    const int version = knownServerClass("ItemMotionHandler")->hostVersion;
    const std::size_t lookupsBefore = layout.services.lookups.size();
    const int result = handlers.activate(server, version);
    if (!reportActivation(report, layout.services, lookupsBefore, result,
                          "activation with version " + std::to_string(version) + " into zeroed tables"))
        return;
    const Tables& tables = handlers.tablesOf(server);
    const bool complete = reportCallbacks(report, tables);
    reportHostRecords(report, handlers, tables);
    if (complete) driveInstances(report, scene, handlers, server);
    const std::size_t made = handlers.instances().size();
    handlers.removeAll();
    report.info("instances destroyed: " + std::to_string(made));
    reportMisuse(report, layout.problems(), "Layout");
}

}  // namespace sinewrig_tool
