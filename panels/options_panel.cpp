#include "panels/options_panel.h"

#include <cstdint>

#include "abi/host_names.h"
#include "abi/item_number.h"
#include "muscle/handler_instance.h"
#include "muscle/rest_binding.h"
#include "panels/panel_records.h"

namespace sinewrig {

namespace {

GlobalFunc* interfaceGlobal = nullptr;

constexpr const char* kReferenceLabel = "\x8e\x51\x8f\xc6";                                /* 参照 */
constexpr const char* kPreserveVolumeLabel = "\x91\xcc\x90\xcf\x82\xf0\x95\xdb\x8e\x9d";  /* 体積を保持 */
constexpr const char* kAfterIKLabel = "After IK";

// The item control's value is the item's 32-bit number in an int.
int itemValue(LWItemID item) { return static_cast<int>(itemNumber(item)); }
LWItemID itemFromValue(int value) { return itemFromNumber(static_cast<std::uint32_t>(value)); }

LWControl* addControl(LWPanelFuncs& panels, LWPanelID panel, const char* kind, const char* label) {
    return panels.addControl(panel, const_cast<char*>(kind), &panelControlDesc, const_cast<char*>(label));
}

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
    LWPanelID panel = panels->create(const_cast<char*>(kMuscleServer), nullptr);
    if (!panel) return nullptr;

    LWPanControlDesc& item = freshControlDesc(LWT_LWITEM);
    item.lwitem.global = reinterpret_cast<void*>(instance->global);
    item.lwitem.itemType = LWI_BONE;
    LWControl* reference = addControl(*panels, panel, "LWListControl", kReferenceLabel);
    freshControlDesc(LWT_BOOLEAN);
    LWControl* preserveVolume = reference ? addControl(*panels, panel, "BoolControl", kPreserveVolumeLabel) : nullptr;
    freshControlDesc(LWT_BOOLEAN);
    LWControl* afterIK = preserveVolume ? addControl(*panels, panel, "BoolControl", kAfterIKLabel) : nullptr;
    // The panel edits all three settings or none.
    if (!afterIK) {
        panels->destroy(panel);
        return nullptr;
    }

    MuscleRecord& record = *instance->record;
    setControlInt(reference, CTL_VALUE, itemValue(record.reference));
    setControlInt(preserveVolume, CTL_VALUE, record.preserveVolume ? 1 : 0);
    setControlInt(afterIK, CTL_VALUE, record.afterIK ? 1 : 0);
    if (panels->open(panel, PANF_BLOCKING | PANF_CANCEL | PANF_FRAME)) {
        record.reference = itemFromValue(controlInt(reference, CTL_VALUE));
        record.preserveVolume = controlInt(preserveVolume, CTL_VALUE) != 0;
        record.afterIK = controlInt(afterIK, CTL_VALUE) != 0;
        // Item 0 and no registry: the record is not looked up again, only recomputed.
        bindRest(*instance, nullptr, nullptr);
    }
    panels->destroy(panel);
    return nullptr;
}

}  // namespace sinewrig
