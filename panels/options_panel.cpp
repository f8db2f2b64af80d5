#include "panels/options_panel.h"

#include <cstdint>

#include "abi/host_names.h"
#include "abi/item_number.h"
#include "muscle/handler_instance.h"
#include "muscle/rest_binding.h"
#include "panels/modal_panel.h"
#include "panels/panel_labels.h"
#include "panels/panel_records.h"

namespace sinewrig {

namespace {

GlobalFunc* interfaceGlobal = nullptr;

constexpr const char* kAfterIKLabel = "After IK";

// The item control's value is the item's 32-bit number in an int.
int itemValue(LWItemID item) { return static_cast<int>(itemNumber(item)); }
LWItemID itemFromValue(int value) { return itemFromNumber(static_cast<std::uint32_t>(value)); }

}  // namespace

int activateMuscleOptions(int version, GlobalFunc* global, void* local, void*) {
    if (version != kItemMotionInterfaceVersion) return AFUNC_BADVERSION;
    interfaceGlobal = global;
    if (auto* face = static_cast<LWInterface*>(local)) {
        face->panel = nullptr;
        face->options = openMuscleOptions;
        face->command = nullptr;
    }
    return AFUNC_OK;
}

LWError openMuscleOptions(LWInstance handle) {
    LWPanelFuncs* panels = findPanelServices(interfaceGlobal);
    if (!panels) return "";
    auto* instance = static_cast<HandlerInstance*>(handle);
    if (!instance || !instance->record) return nullptr;
    ModalPanel panel(*panels, kMuscleServer);
    if (!panel) return nullptr;

    LWPanControlDesc& item = freshControlDesc(LWT_LWITEM);
    item.lwitem.global = reinterpret_cast<void*>(instance->global);
    item.lwitem.itemType = LWI_BONE;
    LWControl* reference = panel.add("LWListControl", item, kReferenceLabel);
    LWControl* preserveVolume =
        reference ? panel.add("BoolControl", freshControlDesc(LWT_BOOLEAN), kPreserveVolumeLabel) : nullptr;
    LWControl* afterIK =
        preserveVolume ? panel.add("BoolControl", freshControlDesc(LWT_BOOLEAN), kAfterIKLabel) : nullptr;
    // The panel edits all three settings or none.
    if (!afterIK) return nullptr;

    MuscleRecord& record = *instance->record;
    setControlInt(reference, CTL_VALUE, itemValue(record.reference));
    setControlInt(preserveVolume, CTL_VALUE, record.preserveVolume ? 1 : 0);
    setControlInt(afterIK, CTL_VALUE, record.afterIK ? 1 : 0);
    if (panel.open()) {
        record.reference = itemFromValue(controlInt(reference, CTL_VALUE));
        record.preserveVolume = controlInt(preserveVolume, CTL_VALUE) != 0;
        record.afterIK = controlInt(afterIK, CTL_VALUE) != 0;
        // Item 0 and no registry: the record is not looked up again, only recomputed.
        bindRest(*instance, nullptr, nullptr);
    }
    return nullptr;
}

}  // namespace sinewrig
