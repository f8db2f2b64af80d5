// "LWPanelServices" of the stand-in host. Panels are scriptable: each `open`
// takes the next queued OpenScript (nested opens from callbacks included),
// plays its actions and returns 1 for OK, 0 for Cancel. Calls, script actions
// and misuse are logged; panels stay inspectable after they are destroyed.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "host/panels/panel_controls.h"
#include "host/panels/panel_script.h"
#include "host/process/activatable.h"
#include "abi/lw_host.h"

namespace host {

struct Panel {
    PanelServices& services;
    int number;  // from 1, in creation order
    std::string title;
    void* data;
    std::vector<std::unique_ptr<Control>> controls;
    std::vector<int> openFlags;  // one entry per open
    bool destroyed = false;
    bool released = false;  // its controls no longer hold what they read
};

class PanelServices : public Activatable<PanelServices> {
public:
    static constexpr std::size_t kPanelsKeptWhole = 16;

    PanelServices();

    LWPanelFuncs* record() { return &record_; }
    void queue(OpenScript script) { scripts_.push_back(std::move(script)); }
    size_t scriptsLeft() const { return scripts_.size(); }

    std::vector<std::unique_ptr<Panel>> panels;  // every panel created, in order
    // "1: create \"SetMuscle\"", "1.1: get CTL_VALUE = 0", "1.1> click row 0 x 130", "1> OK", ...
    std::vector<std::string> log;
    std::vector<std::string> problems;  // misuse by the module, or a script that does not fit

    int createsBeforeFailure = -1;    // creates that succeed before create gives null; -1: all do
    std::set<std::string> refusedKinds;  // addControl gives null for these kinds

    // What an "LWListControl" offers for an item type: the scene's items of
    // that type, in scene order, the first `most` of them; and whether it
    // offers an item. Set by the Layout the panels belong to.
    std::function<std::vector<std::pair<LWItemID, std::string>>(int itemType, std::size_t most)> itemsOfType;
    std::function<bool(LWItemID item, int itemType)> offersItem;

    void note(const std::string& line) { log.push_back(line); }
    void problem(const std::string& what) { problems.push_back(what); }

private:
    Panel* find(LWPanelID id, const char* function);
    int play(Panel& panel, int flags);

    static LWPanelID create(char* title, void* data);
    static void destroy(LWPanelID id);
    static int open(LWPanelID id, int flags);
    static int handle(LWPanelID id, int mode);
    static void draw(LWPanelID id, int mode);
    static void close(LWPanelID id);
    static void get(LWPanelID id, int tag, void* value);
    static void set(LWPanelID id, int tag, void* value);
    static LWControl* addControl(LWPanelID id, char* kind, LWPanControlDesc* desc, char* label);

    LWPanelFuncs record_{};
    std::deque<Panel*> recentlyDestroyed_;
    std::deque<OpenScript> scripts_;
};

}  // namespace host
