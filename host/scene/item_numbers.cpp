#include "host/scene/item_numbers.h"

namespace host {

namespace {

constexpr std::uint32_t kOrdinalMask = 0x0FFFFFFF;
constexpr std::uint32_t kMostBonesInObject = 0xFFF;
constexpr std::uint32_t kMostObjectsWithBones = 0xFFFF;
// Bones of no object (the stand-in lets a caller make them) count as the object FFFF's.
constexpr std::uint32_t kNoObject = 0xFFFF;

}  // namespace

std::uint32_t ItemNumbers::kindOf(LWItemType type) { return (static_cast<std::uint32_t>(type) + 1) & 0xF; }

std::uint32_t ItemNumbers::count(LWItemType type, std::uint32_t object) {
    const std::uint32_t kind = kindOf(type);
    if (type != LWI_BONE) {
        const std::uint32_t ordinal = counts_[kind]++;
        return ordinal <= kOrdinalMask ? kind << 28 | ordinal : 0;
    }
    const std::uint32_t objectOrdinal = object ? object & kOrdinalMask : kNoObject;
    const std::uint32_t ordinal = bonesOf_[object]++;
    if (ordinal > kMostBonesInObject || objectOrdinal > kMostObjectsWithBones) return 0;
    return kind << 28 | ordinal << 16 | objectOrdinal;
}

std::uint32_t ItemNumbers::spare(LWItemType type) {
    const std::uint32_t kind = kindOf(type);
    std::uint32_t& from = spareFrom_[kind];
    if (from == 0) from = kOrdinalMask;
    while (from > 0 && holders_.count(kind << 28 | from)) --from;
    return kind << 28 | from;  // held only once all 2^28 numbers of the kind are
}

bool ItemNumbers::hold(std::uint32_t number, std::size_t index) {
    return number != 0 && holders_.try_emplace(number, index).second;
}

const std::size_t* ItemNumbers::find(std::uint32_t number) const {
    auto at = holders_.find(number);
    return at == holders_.end() ? nullptr : &at->second;
}

}  // namespace host
