#include "panels/modal_panel.h"

namespace sinewrig {

ModalPanel::ModalPanel(LWPanelFuncs& panels, const char* title)
    : panels_(panels), panel_(panels.create(const_cast<char*>(title), nullptr)) {}

ModalPanel::~ModalPanel() {
    if (panel_) panels_.destroy(panel_);
}

LWControl* ModalPanel::add(const char* kind, const LWPanControlDesc& desc, const char* label) {
    // The host takes the descriptor as writable but only reads it.
    return panels_.addControl(panel_, const_cast<char*>(kind), const_cast<LWPanControlDesc*>(&desc),
                              const_cast<char*>(label));
}

bool ModalPanel::open() { return panels_.open(panel_, PANF_BLOCKING | PANF_CANCEL | PANF_FRAME) != 0; }

}  // namespace sinewrig
