// "Wobble", a small module of its own for checking the stand-in host and
// `sinewrig check` on a module other than Sinewrig.p: a motion handler that
// bobs its item up and down, and an interface without options. It leaves every
// callback it does not need null: copy, descln, flags, the item functions and
// the interface's options. Built careless, it makes the faults a checker must
// find: it takes any version, and its motion at time 0 is not finite.
#include <cmath>
#include <new>

#include "abi/lw_host.h"

#if defined(_WIN32)
#define WOBBLE_EXPORT __declspec(dllexport)
#else
#define WOBBLE_EXPORT __attribute__((visibility("default")))
#endif

// A build with another sync word stands for a file made for another host.
#ifndef WOBBLE_SYNC_WORD
#define WOBBLE_SYNC_WORD 0x04121994u
#endif

namespace {

constexpr int kHandlerVersion = 4;
constexpr int kInterfaceVersion = 4;
constexpr double kTwoPi = 6.283185307179586;
#if defined(WOBBLE_CARELESS)
constexpr bool kCareless = true;
#else
constexpr bool kCareless = false;
#endif

struct Wobble {
    float amplitude = 0.05f;  // metres up and down
    float rate = 1.5f;        // cycles a second
};

LWInstance create(void*, void*, LWError*) { return new (std::nothrow) Wobble; }

void destroy(LWInstance instance) { delete static_cast<Wobble*>(instance); }

LWError load(LWInstance instance, const LWLoadState* state) {
    auto* wobble = static_cast<Wobble*>(instance);
    float values[2] = {wobble->amplitude, wobble->rate};
    // A short block keeps the defaults.
    if (state->readFP(state->readData, values, 2) == 2 && std::isfinite(values[0]) && std::isfinite(values[1])) {
        wobble->amplitude = values[0];
        wobble->rate = values[1];
    }
    return nullptr;
}

LWError save(LWInstance instance, const LWSaveState* state) {
    const auto* wobble = static_cast<const Wobble*>(instance);
    const float values[2] = {wobble->amplitude, wobble->rate};
    state->writeFP(state->writeData, values, 2);
    return nullptr;
}

void evaluate(LWInstance instance, const LWItemMotionAccess* access) {
    const auto* wobble = static_cast<const Wobble*>(instance);
    double position[3];
    access->getParam(LWIP_POSITION, access->time, position);
    position[1] += wobble->amplitude * std::sin(kTwoPi * wobble->rate * access->time);
#if defined(WOBBLE_CARELESS)
    position[1] /= access->time;
#endif
#if defined(WOBBLE_HANGS)
    for (volatile bool forever = true; forever && access->time > 0;) {
    }
#endif
#if defined(WOBBLE_CRASHES)
    // A fault on the first frame after the start: instances made, saved and loaded first.
    if (access->time > 0) *static_cast<volatile int*>(nullptr) = 1;
#endif
    access->setParam(LWIP_POSITION, position);
}

int activateHandler(int version, GlobalFunc*, void* local, void*) {
    if (version != kHandlerVersion && !kCareless) return AFUNC_BADVERSION;
    auto* handler = static_cast<LWItemMotionHandler*>(local);
    if (!handler || !handler->inst) return AFUNC_BADGLOBAL;
    handler->inst->create = create;
    handler->inst->destroy = destroy;
    handler->inst->load = load;
    handler->inst->save = save;
    handler->evaluate = evaluate;
    return AFUNC_OK;
}

int activateInterface(int version, GlobalFunc* global, void* local, void*) {
    if (version != kInterfaceVersion && !kCareless) return AFUNC_BADVERSION;
#if defined(WOBBLE_XPANELS)
    // Its options are built with a service this module cannot do without.
    if (!global || !global("LWXPanelFuncs", GFUSE_TRANSIENT)) return AFUNC_BADGLOBAL;
#else
    (void)global;
#endif
    auto* face = static_cast<LWInterface*>(local);
    if (!face) return AFUNC_BADGLOBAL;
    face->panel = nullptr;
    face->options = nullptr;
    face->command = nullptr;
    return AFUNC_OK;
}

void* startup() { return reinterpret_cast<void*>(1); }

void shutdown(void*) {}

ServerRecord servers[] = {
    {"ItemMotionHandler", "Wobble", activateHandler, nullptr},
    {"ItemMotionInterface", "Wobble", activateInterface, nullptr},
    {nullptr, nullptr, nullptr, nullptr},
};

}  // namespace

#if defined(WOBBLE_NO_DESCRIPTOR)
// Kept inside: the file is then a library that is not a module.
namespace {
[[maybe_unused]] const ModuleDescriptor unexported = {WOBBLE_SYNC_WORD, 3, 0x300, startup, shutdown, servers};
}
#else
extern "C" {
WOBBLE_EXPORT ModuleDescriptor _mod_descrip = {WOBBLE_SYNC_WORD, 3, 0x300, startup, shutdown, servers};
}
#endif
