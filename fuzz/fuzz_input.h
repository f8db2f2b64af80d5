// Turning fuzz bytes into what a host could hand the module: numbers that
// are finite but may be extreme, scene data of every type, texts that are
// empty, long, non-ASCII or full of format characters, and small scenes.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "host/scene_file/scene_data.h"
#include "abi/lw_host.h"

namespace fuzz {

class Session;

// A finite double: ordinary, zero of either sign, tiny, subnormal or huge.
double finiteNumber(FuzzedDataProvider& in);
// A time of evaluation: mostly within a few seconds, sometimes far out.
double evaluationTime(FuzzedDataProvider& in);
// Any float, NaN and infinities included, as a scene file may hold.
float sceneFloat(FuzzedDataProvider& in);
// An item ID as a 32-bit number: one of `items`, 0, all ones or any.
unsigned int itemNumber(FuzzedDataProvider& in, const std::vector<LWItemID>& items);

// A text for a name or a tag: one of `names`, or empty, very long, non-ASCII
// (Shift-JIS, a lead byte at the end, UTF-8), with format characters, or raw bytes.
std::string text(FuzzedDataProvider& in, const std::vector<std::string>& names);

// Scene data for one instance's load: either the six values the handler
// writes, with odd values and sometimes a write dropped, retyped or
// miscounted, or any run of writes of any type, short or long.
host::SceneData sceneStream(FuzzedDataProvider& in, const std::vector<LWItemID>& items);

// A few bones (and a light) with finite channels, parents that may chain or
// loop, rest lengths of any finite size and names from `names`; their IDs.
std::vector<LWItemID> addItems(Session& session, FuzzedDataProvider& in, const std::vector<std::string>& names,
                               int mostBones);

template <class T>
const T& pick(FuzzedDataProvider& in, const std::vector<T>& from) {
    return from[in.ConsumeIntegralInRange<std::size_t>(0, from.size() - 1)];
}

}  // namespace fuzz
