#include "muscle/options_panel.h"

#include <algorithm>
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
constexpr const char* kVolumeAxesLabel = "\x91\xcc\x90\xcf\x82\xcc\x95\xfb\x8c\xfc";  /* 体積の方向 */
constexpr const char* kBulgeLabel = "\x96\x63\x82\xe7\x82\xdd";                        /* 膨らみ */
constexpr const char* kStretchMinLabel = "\x8d\xc5\x8f\xac\x82\xcc\x90\x4c\x82\xd1";   /* 最小の伸び */
/* 最大の伸び (0 = 無制限) */
constexpr const char* kStretchMaxLabel = "\x8d\xc5\x91\xe5\x82\xcc\x90\x4c\x82\xd1 (0 = \x96\xb3\x90\xa7\x8c\xc0)";
constexpr const char* kInfluenceLabel = "\x89\x65\x8b\xbf\x93\x78";  /* 影響度 */
/* X と Y, X, Y */
constexpr const char* kVolumeAxesItems[] = {"X \x82\xc6 Y", "X", "Y", nullptr};
constexpr const char* kAimLabel = "\x8c\xfc\x82\xab\x82\xcc\x8d\x87\x82\xed\x82\xb9\x95\xfb";  /* 向きの合わせ方 */
/* ヘディングとピッチ, 最短の回転 */
constexpr const char* kAimItems[] = {"\x83\x77\x83\x66\x83\x42\x83\x93\x83\x4f\x82\xc6\x83\x73\x83\x62\x83\x60",
                                     "\x8d\xc5\x92\x5a\x82\xcc\x89\xf1\x93\x5d", nullptr};

// The host takes a popup's items as writable but only reads them.
const char** popupItems(const char* const* items) { return const_cast<const char**>(items); }

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

    // Each control is added only while every one before it was.
    bool added = true;
    auto add = [&](const char* kind, const LWPanControlDesc& desc, const char* label) {
        LWControl* control = added ? panel.add(kind, desc, label) : nullptr;
        added = control != nullptr;
        return control;
    };
    LWPanControlDesc item = controlDesc(LWT_LWITEM);
    item.lwitem.global = reinterpret_cast<void*>(instance->global);
    item.lwitem.itemType = LWI_BONE;
    LWControl* reference = add("LWListControl", item, kReferenceLabel);
    LWControl* preserveVolume = add("BoolControl", controlDesc(LWT_BOOLEAN), kPreserveVolumeLabel);
    LWControl* afterIK = add("BoolControl", controlDesc(LWT_BOOLEAN), kAfterIKLabel);
    LWPanControlDesc axes = controlDesc(LWT_CHOICE);
    axes.choice.items = popupItems(kVolumeAxesItems);
    LWControl* volumeAxes = add("PopupControl", axes, kVolumeAxesLabel);
    LWControl* floats[4];
    const char* floatLabels[4] = {kBulgeLabel, kStretchMinLabel, kStretchMaxLabel, kInfluenceLabel};
    for (int i = 0; i < 4; ++i) floats[i] = add("FloatControl", controlDesc(LWT_FLOAT), floatLabels[i]);
    LWPanControlDesc aims = controlDesc(LWT_CHOICE);
    aims.choice.items = popupItems(kAimItems);
    LWControl* aim = add("PopupControl", aims, kAimLabel);
    // The panel edits all its settings or none.
    if (!added) return nullptr;

    MuscleRecord& record = *instance->record;
    MuscleControls controls = record.controls;
    double* floatValues[4] = {&controls.bulge, &controls.stretchMin, &controls.stretchMax, &controls.influence};
    setControlInt(reference, CTL_VALUE, itemValue(record.reference));
    setControlInt(preserveVolume, CTL_VALUE, record.preserveVolume ? 1 : 0);
    setControlInt(afterIK, CTL_VALUE, record.afterIK ? 1 : 0);
    setControlInt(volumeAxes, CTL_VALUE, controls.volumeAxes);
    for (int i = 0; i < 4; ++i) setControlFloat(floats[i], CTL_VALUE, *floatValues[i]);
    setControlInt(aim, CTL_VALUE, controls.aim);
    if (panel.open()) {
        record.reference = itemFromValue(controlInt(reference, CTL_VALUE));
        record.preserveVolume = controlInt(preserveVolume, CTL_VALUE) != 0;
        record.afterIK = controlInt(afterIK, CTL_VALUE) != 0;
        controls.volumeAxes = static_cast<unsigned char>(std::clamp(controlInt(volumeAxes, CTL_VALUE), 0, int{kVolumeAxesY}));
        for (int i = 0; i < 4; ++i) *floatValues[i] = controlFloat(floats[i], CTL_VALUE);
        controls.aim = controlInt(aim, CTL_VALUE) == kAimShortestTurn ? kAimShortestTurn : kAimHeadingPitch;
        record.controls = withinRange(controls);
        // Item 0 and no registry: the record is not looked up again, only recomputed.
        bindRest(*instance, nullptr, nullptr);
    }
    return nullptr;
}

}  // namespace sinewrig
