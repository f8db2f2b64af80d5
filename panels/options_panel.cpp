#include "panels/options_panel.h"

#include <algorithm>
#include <cstdint>

#include "module/host_names.h"
#include "muscle/handler_instance.h"
#include "muscle/rest_binding.h"
#include "panels/panel_records.h"

namespace sinewrig {

namespace {

GlobalFunc* interfaceGlobal = nullptr;

constexpr const char* kReferenceLabel = "\x8e\x51\x8f\xc6";                                /* 参照 */
constexpr const char* kPreserveVolumeLabel = "\x91\xcc\x90\xcf\x82\xf0\x95\xdb\x8e\x9d";  /* 体積を保持 */
constexpr const char* kAfterIKLabel = "After IK";
constexpr const char* kVolumeAxesLabel = "\x91\xcc\x90\xcf\x82\xcc\x95\xfb\x8c\xfc";  /* 体積の方向 */
constexpr const char* kBulgeLabel = "\x96\x63\x82\xe7\x82\xdd";                        /* 膨らみ */
constexpr const char* kStretchMinLabel = "\x8d\xc5\x8f\xac\x82\xcc\x90\x4c\x82\xd1";     /* 最小の伸び */
/* 最大の伸び (0 = 無制限) */
constexpr const char* kStretchMaxLabel = "\x8d\xc5\x91\xe5\x82\xcc\x90\x4c\x82\xd1 (0 = \x96\xb3\x90\xa7\x8c\xc0)";
constexpr const char* kInfluenceLabel = "\x89\x65\x8b\xbf\x93\x78";  /* 影響度 */
/* X と Y, X, Y */
const char* volumeAxesItems[] = {"X \x82\xc6 Y", "X", "Y", nullptr};

// The item control's value is the item ID in an int; the host's IDs are 32 bits.
int itemValue(LWItemID item) {
    return static_cast<int>(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(item)));
}
LWItemID itemFromValue(int value) {
    return reinterpret_cast<LWItemID>(static_cast<std::uintptr_t>(static_cast<std::uint32_t>(value)));
}

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

    // Each control is added only while the ones before it were.
    bool added = true;
    auto add = [&](const char* kind, const char* label) {
        LWControl* control = added ? addControl(*panels, panel, kind, label) : nullptr;
        added = control != nullptr;
        return control;
    };
    LWPanControlDesc& item = freshControlDesc(LWT_LWITEM);
    item.lwitem.global = reinterpret_cast<void*>(instance->global);
    item.lwitem.itemType = LWI_BONE;
    LWControl* reference = add("LWListControl", kReferenceLabel);
    freshControlDesc(LWT_BOOLEAN);
    LWControl* preserveVolume = add("BoolControl", kPreserveVolumeLabel);
    freshControlDesc(LWT_BOOLEAN);
    LWControl* afterIK = add("BoolControl", kAfterIKLabel);
    freshControlDesc(LWT_CHOICE).choice.items = volumeAxesItems;
    LWControl* volumeAxes = add("PopupControl", kVolumeAxesLabel);
    LWControl* floats[4];
    const char* floatLabels[4] = {kBulgeLabel, kStretchMinLabel, kStretchMaxLabel, kInfluenceLabel};
    for (int i = 0; i < 4; ++i) {
        freshControlDesc(LWT_FLOAT);
        floats[i] = add("FloatControl", floatLabels[i]);
    }
    // The panel edits all its settings or none.
    if (!added) {
        panels->destroy(panel);
        return nullptr;
    }

    MuscleRecord& record = *instance->record;
    MuscleControls controls = record.controls;
    double* floatValues[4] = {&controls.bulge, &controls.stretchMin, &controls.stretchMax, &controls.influence};
    setControlInt(reference, CTL_VALUE, itemValue(record.reference));
    setControlInt(preserveVolume, CTL_VALUE, record.preserveVolume ? 1 : 0);
    setControlInt(afterIK, CTL_VALUE, record.afterIK ? 1 : 0);
    setControlInt(volumeAxes, CTL_VALUE, controls.volumeAxes);
    for (int i = 0; i < 4; ++i) setControlFloat(floats[i], CTL_VALUE, *floatValues[i]);
    if (panels->open(panel, PANF_BLOCKING | PANF_CANCEL | PANF_FRAME)) {
        record.reference = itemFromValue(controlInt(reference, CTL_VALUE));
        record.preserveVolume = controlInt(preserveVolume, CTL_VALUE) != 0;
        record.afterIK = controlInt(afterIK, CTL_VALUE) != 0;
        controls.volumeAxes = static_cast<unsigned char>(std::clamp(controlInt(volumeAxes, CTL_VALUE), 0, int{kVolumeAxesY}));
        for (int i = 0; i < 4; ++i) *floatValues[i] = controlFloat(floats[i], CTL_VALUE);
        record.controls = withinRange(controls);
        // Item 0 and no registry: the record is not looked up again, only recomputed.
        bindRest(*instance, nullptr, nullptr);
    }
    panels->destroy(panel);
    return nullptr;
}

}  // namespace sinewrig
