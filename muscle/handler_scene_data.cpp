// One instance's scene data, in the order and types of format/muscle_scene_data.h.
#include <cfloat>
#include <cmath>

#include "abi/item_number.h"
#include "format/muscle_scene_data.h"
#include "muscle/handler_instance.h"
#include "muscle/motion_handler.h"
#include "muscle/muscle_registry.h"
#include "muscle/rest_binding.h"

namespace sinewrig {

namespace {

// The scene never gets NaN or infinity: out-of-range values are clamped.
float toSceneFloat(double value) {
    if (std::isnan(value)) return 0.0f;
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

// After the six values: defaults unless the marker follows, and then each
// value only if the host delivered it, brought into range.
MuscleControls loadControls(const LWLoadState& state) {
    MuscleControls controls;
    unsigned int marker = 0;
    if (state.readU4(state.readData, &marker, 1) != 1 || marker != kControlsMarker) return controls;
    float value = 0.0f;
    if (state.readFP(state.readData, &value, 1) == 1) controls.bulge = value;
    unsigned char axes = 0;
    if (state.readU1(state.readData, &axes, 1) == 1) controls.volumeAxes = axes;
    if (state.readFP(state.readData, &value, 1) == 1) controls.stretchMin = value;
    if (state.readFP(state.readData, &value, 1) == 1) controls.stretchMax = value;
    if (state.readFP(state.readData, &value, 1) == 1) controls.influence = value;
    unsigned char aim = kDefaultAim;
    if (state.readU1(state.readData, &aim, 1) == 1) controls.aim = aim;
    return withinRange(controls);
}

// A muscle at the defaults saves the six values alone, as one without controls.
void saveControls(const LWSaveState& state, const MuscleControls& controls) {
    if (atDefaults(controls)) return;
    void* data = state.writeData;
    state.writeU4(data, &kControlsMarker, 1);
    const float bulge = toSceneFloat(controls.bulge);
    state.writeFP(data, &bulge, 1);
    state.writeU1(data, &controls.volumeAxes, 1);
    const float rest[3] = {toSceneFloat(controls.stretchMin), toSceneFloat(controls.stretchMax),
                             toSceneFloat(controls.influence)};
    for (const float& value : rest) state.writeFP(data, &value, 1);
    // Heading and pitch write nothing more, so scenes without the shortest
    // turn stay what a module without the aim wrote.
    if (controls.aim == kAimShortestTurn) state.writeU1(data, &controls.aim, 1);
}

}  // namespace

LWError loadMuscleInstance(LWInstance handle, const LWLoadState* state) {
    auto* instance = static_cast<HandlerInstance*>(handle);
    if (!instance) return nullptr;
    bindRest(*instance, instance->item, currentMuscleRegistry());
    if (MuscleRecord* record = instance->record; record && state) {
        // Each value is taken only if the host delivered it; a short block leaves
        // the rest as the record held them.
        void* data = state->readData;
        unsigned int id = itemNumber(record->bone);
        if (state->readU4(data, &id, 1) == 1) setMuscleBone(*record, itemFromNumber(id));
        id = itemNumber(record->reference);
        if (state->readU4(data, &id, 1) == 1) record->reference = itemFromNumber(id);
        unsigned char flag = record->preserveVolume;
        if (state->readU1(data, &flag, 1) == 1) record->preserveVolume = flag != 0;
        flag = record->afterIK;
        if (state->readU1(data, &flag, 1) == 1) record->afterIK = flag != 0;
        float length = toSceneFloat(record->restLength);
        if (state->readFP(data, &length, 1) == 1) record->restLength = length;
        float tip[3] = {toSceneFloat(record->restTip.x), toSceneFloat(record->restTip.y),
                        toSceneFloat(record->restTip.z)};
        const int read = state->readFP(data, tip, 3);
        if (read >= 1) record->restTip.x = tip[0];
        if (read >= 2) record->restTip.y = tip[1];
        if (read >= 3) record->restTip.z = tip[2];
        record->controls = loadControls(*state);
    }
    markAllForRebind(currentMuscleRegistry());
    attachToHost(*instance, motionHandlerGlobal());
    return nullptr;
}

LWError saveMuscleInstance(LWInstance handle, const LWSaveState* state) {
    auto* instance = static_cast<const HandlerInstance*>(handle);
    if (!instance || !instance->record || !state) return nullptr;
    const MuscleRecord& record = *instance->record;
    void* data = state->writeData;
    const unsigned int bone = itemNumber(record.bone), reference = itemNumber(record.reference);
    state->writeU4(data, &bone, 1);
    state->writeU4(data, &reference, 1);
    const unsigned char preserveVolume = record.preserveVolume ? 1 : 0, afterIK = record.afterIK ? 1 : 0;
    state->writeU1(data, &preserveVolume, 1);
    state->writeU1(data, &afterIK, 1);
    const float length = toSceneFloat(record.restLength);
    state->writeFP(data, &length, 1);
    const float tip[3] = {toSceneFloat(record.restTip.x), toSceneFloat(record.restTip.y),
                          toSceneFloat(record.restTip.z)};
    state->writeFP(data, tip, 3);
    saveControls(*state, record.controls);
    return nullptr;
}

}  // namespace sinewrig
