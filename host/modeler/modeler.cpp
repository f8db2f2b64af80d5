#include "host/modeler/modeler.h"

namespace host {

Modeler::Modeler() {
    services.add("LWPanelServices", panels.record());
    command.data = this;
    command.editBegin = editBegin;
}

std::vector<EditCall> Modeler::callsTo(const std::string& function) const {
    std::vector<EditCall> found;
    for (const EditCall& call : calls)
        if (call.function == function) found.push_back(call);
    return found;
}

void Modeler::makeActive() {
    Activatable<Modeler>::makeActive();
    services.makeActive();
    panels.makeActive();
}

MeshEditOp* Modeler::editBegin(int pntBuf, int polBuf, EltOpSelect select) {
    Modeler* modeler = active();
    if (!modeler) return nullptr;
    modeler->calls.push_back(EditCall{"editBegin", nullptr, 0, std::nullopt, {pntBuf, polBuf, select}});
    if (modeler->failEditBegin) return nullptr;
    modeler->edits.push_back(std::make_unique<MeshEdit>(modeler->object, modeler->calls));
    return &modeler->edits.back()->op;
}

}  // namespace host
