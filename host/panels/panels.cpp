#include "host/panels/panels.h"

#include "host/text/text_format.h"

namespace host {

namespace {

std::string quotedOrNull(const char* text) { return text ? quoted(text) : "(null)"; }

}  // namespace

PanelServices::PanelServices() {
    record_.create = create;
    record_.destroy = destroy;
    record_.open = open;
    record_.handle = handle;
    record_.draw = draw;
    record_.close = close;
    record_.get = get;
    record_.set = set;
    record_.addControl = addControl;
}

Panel* PanelServices::find(LWPanelID id, const char* function) {
    // Newest first: the panels a module works with are the ones it made last.
    for (auto it = panels.rbegin(); it != panels.rend(); ++it)
        if (const auto& panel = *it; panel.get() == id) {
            if (panel->destroyed) problem(std::to_string(panel->number) + ": " + function + " after destroy");
            return panel.get();
        }
    problem(std::string(function) + " of an unknown panel");
    return nullptr;
}

LWPanelID PanelServices::create(char* title, void* data) {
    PanelServices* self = active();
    if (!self) return nullptr;
    if (self->createsBeforeFailure == 0) {
        self->note("create " + quotedOrNull(title) + " refused");
        return nullptr;
    }
    if (self->createsBeforeFailure > 0) --self->createsBeforeFailure;
    int number = static_cast<int>(self->panels.size()) + 1;
    self->panels.push_back(std::make_unique<Panel>(Panel{*self, number, title ? title : "", data, {}, {}, false, false}));
    if (!title) self->problem(std::to_string(number) + ": created without a title");
    self->note(std::to_string(number) + ": create " + quotedOrNull(title));
    return self->panels.back().get();
}

void PanelServices::destroy(LWPanelID id) {
    PanelServices* self = active();
    if (!self) return;
    Panel* panel = self->find(id, "destroy");
    if (!panel) return;
    self->note(std::to_string(panel->number) + ": destroy");
    if (panel->destroyed) return;
    panel->destroyed = true;
    // Panels stay inspectable, but only the latest few keep what their
    // controls read, so a long session's memory does not grow with them.
    self->recentlyDestroyed_.push_back(panel);
    if (self->recentlyDestroyed_.size() > kPanelsKeptWhole) {
        for (auto& control : self->recentlyDestroyed_.front()->controls) control->release();
        self->recentlyDestroyed_.front()->released = true;
        self->recentlyDestroyed_.pop_front();
    }
}

int PanelServices::open(LWPanelID id, int flags) {
    PanelServices* self = active();
    if (!self) return 0;
    Panel* panel = self->find(id, "open");
    return panel ? self->play(*panel, flags) : 0;
}

int PanelServices::play(Panel& panel, int flags) {
    std::string number = std::to_string(panel.number);
    note(number + ": open " + std::to_string(flags));
    panel.openFlags.push_back(flags);
    for (const auto& control : panel.controls) control->refresh();
    if (scripts_.empty()) {
        problem(number + ": opened without a script");
        note(number + "> Cancel");
        return 0;
    }
    // Taken before the actions run, so panels opened from callbacks take the next scripts.
    OpenScript script = std::move(scripts_.front());
    scripts_.pop_front();
    for (const PanelAction& action : script.actions) {
        bool taken = false;
        for (const auto& control : panel.controls) {
            taken = control->take(action);
            if (taken) break;
        }
        if (!taken) problem(number + ": no control takes a scripted action");
    }
    note(number + (script.confirm ? "> OK" : "> Cancel"));
    return script.confirm ? 1 : 0;
}

int PanelServices::handle(LWPanelID id, int mode) {
    PanelServices* self = active();
    if (!self) return 0;
    if (Panel* panel = self->find(id, "handle")) self->note(std::to_string(panel->number) + ": handle " + std::to_string(mode));
    return 0;
}

void PanelServices::draw(LWPanelID id, int mode) {
    PanelServices* self = active();
    if (!self) return;
    if (Panel* panel = self->find(id, "draw")) self->note(std::to_string(panel->number) + ": draw " + std::to_string(mode));
}

void PanelServices::close(LWPanelID id) {
    PanelServices* self = active();
    if (!self) return;
    if (Panel* panel = self->find(id, "close")) self->note(std::to_string(panel->number) + ": close");
}

void PanelServices::get(LWPanelID id, int tag, void*) {
    PanelServices* self = active();
    if (!self) return;
    if (Panel* panel = self->find(id, "get")) self->note(std::to_string(panel->number) + ": get " + std::to_string(tag));
}

void PanelServices::set(LWPanelID id, int tag, void*) {
    PanelServices* self = active();
    if (!self) return;
    if (Panel* panel = self->find(id, "set")) self->note(std::to_string(panel->number) + ": set " + std::to_string(tag));
}

LWControl* PanelServices::addControl(LWPanelID id, char* kind, LWPanControlDesc* desc, char* label) {
    PanelServices* self = active();
    if (!self) return nullptr;
    Panel* panel = self->find(id, "addControl");
    if (!panel) return nullptr;
    std::string number = std::to_string(panel->number);
    std::string kindText = kind ? kind : "";
    if (!desc) self->problem(number + ": addControl without a descriptor");
    if (!kind || self->refusedKinds.count(kindText)) {
        self->note(number + ": addControl " + quotedOrNull(kind) + " " + quotedOrNull(label) + " refused");
        return nullptr;
    }
    int controlNumber = static_cast<int>(panel->controls.size()) + 1;
    auto control = makeControl(*panel, controlNumber, kindText, desc, label ? label : "");
    self->note(number + ": addControl " + kindText + " " + quotedOrNull(label) + (control ? "" : " refused"));
    if (!control) return nullptr;
    panel->controls.push_back(std::move(control));
    panel->controls.back()->refresh();
    return &panel->controls.back()->record;
}

}  // namespace host
