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
    while (from > 0 && find(kind << 28 | from)) --from;
    return kind << 28 | from;  // held only once all 2^28 numbers of the kind are
}

std::size_t ItemNumbers::slotOf(std::uint32_t number) const {
    // Numbers differ mostly in their low digits and kind: mixed, so that
    // neighbours spread over the table.
    const std::size_t mask = holders_.size() - 1;
    std::size_t slot = static_cast<std::size_t>((number * 0x9E3779B97F4A7C15ull) >> 32) & mask;
    while (holders_[slot].number != 0 && holders_[slot].number != number) slot = (slot + 1) & mask;
    return slot;
}

void ItemNumbers::grow() {
    std::vector<Holder> old = std::move(holders_);
    holders_.assign(old.empty() ? 64 : old.size() * 2, Holder{});
    for (const Holder& holder : old)
        if (holder.number != 0) holders_[slotOf(holder.number)] = holder;
}

bool ItemNumbers::hold(std::uint32_t number, std::size_t index) {
    if (number == 0) return false;
    if ((held_ + 1) * 2 > holders_.size()) grow();
    Holder& holder = holders_[slotOf(number)];
    if (holder.number == number) return false;
    holder = Holder{number, index};
    ++held_;
    return true;
}

const std::size_t* ItemNumbers::find(std::uint32_t number) const {
    if (number == 0 || holders_.empty()) return nullptr;
    const Holder& holder = holders_[slotOf(number)];
    return holder.number == number ? &holder.index : nullptr;
}

}  // namespace host
