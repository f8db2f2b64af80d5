// The host's item IDs are 32 bits wide: scene data, command strings and
// integer control values carry them as 32-bit numbers.
#pragma once

#include <cstdint>

#include "abi/lw_host.h"

inline std::uint32_t itemNumber(LWItemID id) { return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(id)); }
inline LWItemID itemFromNumber(std::uint32_t number) { return reinterpret_cast<LWItemID>(static_cast<std::uintptr_t>(number)); }
