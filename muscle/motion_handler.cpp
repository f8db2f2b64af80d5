#include "muscle/motion_handler.h"

#include "abi/host_names.h"
#include "muscle/evaluate_muscle.h"

namespace sinewrig {

namespace {
GlobalFunc* handlerGlobal = nullptr;
}

GlobalFunc* motionHandlerGlobal() { return handlerGlobal; }

int activateMotionHandler(int version, GlobalFunc* global, void* local, void*) {
    if (version != kItemMotionHandlerVersion) return AFUNC_BADVERSION;
    handlerGlobal = global;
    auto* handler = static_cast<LWItemMotionHandler*>(local);
    if (!handler) return AFUNC_OK;
    if (LWInstanceFuncs* inst = handler->inst) {
        inst->create = createMuscleInstance;
        inst->destroy = destroyMuscleInstance;
        inst->copy = copyMuscleInstance;
        inst->load = loadMuscleInstance;
        inst->save = saveMuscleInstance;
        inst->descln = describeMuscleInstance;
    }
    if (LWItemFuncs* item = handler->item) {
        item->useItems = muscleUseItems;
        item->changeID = muscleChangeID;
    }
    handler->evaluate = evaluateMuscle;
    handler->flags = muscleFlags;
    return AFUNC_OK;
}

}  // namespace sinewrig
