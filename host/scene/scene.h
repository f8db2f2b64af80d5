// The stand-in Layout's items: objects, bones, lights and cameras with names,
// parents, the nine channels of their motion (envelopes, evaluated as the host
// does) and bone rest values. Items are numbered as the host numbers them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/scene/envelope.h"
#include "host/scene/item_numbers.h"
#include "host/scene/object_mesh.h"
#include "abi/lw_host.h"

namespace host {

struct Item {
    LWItemID id = nullptr;  // the item's number
    LWItemType type = LWI_OBJECT;
    std::string name;
    bool named = true;  // false: item info reports a null name
    LWItemID parent = nullptr;
    LWItemID owner = nullptr;  // bones: the object whose skeleton they belong to
    Channel position[3];
    Channel rotation[3];  // heading, pitch, bank in radians
    Channel scaling[3];
    double restLength = 1.0;  // bones
    // Bones: the rest position and rotation (radians) a scene gave; without
    // them bone info reports the channels at time 0.
    std::optional<std::array<double, 3>> restPosition, restRotation;
    bool active = true;              // bones: BoneActive
    double pivot[3] = {0, 0, 0};     // PivotPosition: kept, not used in evaluation
    std::string file;                // objects loaded from a file: its path as the scene names it
    int colour = -1;                 // "ItemColor" number; -1 until one is set
    std::shared_ptr<const ObjectMesh> mesh;  // objects loaded with a mesh
};

class Scene {
public:
    // How addItem numbers items: as the host's scenes count them, or plainly
    // 1, 2, ... in the order added (for tests that want small IDs).
    enum class Numbering { host, plain };
    Numbering numbering = Numbering::host;

    // An item numbered as counted (see item_numbers.h). IDs fit in 32 bits, as
    // the host's do, so they survive the scene data's U4 values. A bone's
    // owner, unless given, is its parent object or its parent bone's owner.
    LWItemID addItem(LWItemType type, std::string name, LWItemID parent = nullptr, LWItemID owner = nullptr);
    // An item with the number its scene gave it (counted all the same, as the
    // host counts every item); null when the number is 0 or held.
    LWItemID addNumberedItem(std::uint32_t number, LWItemType type, std::string name, LWItemID parent = nullptr,
                             LWItemID owner = nullptr);

    Item* find(LWItemID id);
    const Item* find(LWItemID id) const;
    const std::vector<Item>& items() const { return items_; }  // in the order added

    // Sets a key on all three channels of the parameter.
    void setKey(LWItemID id, LWItemParam param, double time, const double value[3]);
    // Replaces the parameter's channels with one constant value.
    void setValue(LWItemID id, LWItemParam param, const double value[3]);
    // The channels' value at a time; zeros for an unknown item or parameter.
    void channelValue(LWItemID id, LWItemParam param, double time, double out[3]) const;

    static Channel* channels(Item& item, LWItemParam param);
    static const Channel* channels(const Item& item, LWItemParam param);

private:
    LWItemID add(std::uint32_t number, LWItemType type, std::string name, LWItemID parent, LWItemID owner);
    LWItemID ownerOf(LWItemType type, LWItemID parent, LWItemID owner) const;

    std::vector<Item> items_;
    ItemNumbers numbers_;
};

}  // namespace host
