// One blocking panel of the module, the one sequence every panel follows:
// create, add controls, open once, destroy. The panel is destroyed when this
// goes out of scope, so no early return leaves it with the host.
#pragma once

#include "abi/lw_host.h"

namespace sinewrig {

class ModalPanel {
public:
    // `panels` must not be null; the panel may still fail to be made.
    ModalPanel(LWPanelFuncs& panels, const char* title);
    ~ModalPanel();
    ModalPanel(const ModalPanel&) = delete;
    ModalPanel& operator=(const ModalPanel&) = delete;

    explicit operator bool() const { return panel_ != nullptr; }
    // Adds a control of `kind` described by `desc`; null when the host refuses it.
    LWControl* add(const char* kind, const LWPanControlDesc& desc, const char* label);
    // Opens it blocking, framed, with OK and Cancel: true when the artist confirmed.
    bool open();

private:
    LWPanelFuncs& panels_;
    LWPanelID panel_;
};

}  // namespace sinewrig
