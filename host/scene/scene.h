// The stand-in Layout's items: objects, bones, lights and cameras with names,
// parents, keyed position/rotation/scale channels and bone rest lengths.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/scene/object_mesh.h"
#include "abi/lw_host.h"

namespace host {

struct Key {
    double time;
    double value;
};

// Linear between keys, constant before the first and after the last; 0 with no keys.
struct Channel {
    std::vector<Key> keys;  // sorted by time

    double valueAt(double time) const;
    void setKey(double time, double value);
};

struct Item {
    LWItemID id = nullptr;
    LWItemType type = LWI_OBJECT;
    std::string name;
    bool named = true;  // false: item info reports a null name
    LWItemID parent = nullptr;
    LWItemID owner = nullptr;  // bones: the object whose skeleton they belong to
    Channel position[3];
    Channel rotation[3];  // heading, pitch, bank
    Channel scaling[3];
    double restLength = 1.0;  // bones
    int colour = -1;          // "ItemColor" number; -1 until one is set
    std::shared_ptr<const ObjectMesh> mesh;  // objects loaded with a mesh
};

class Scene {
public:
    // Item IDs carry the item's type in their top four bits unless this is
    // false; then they are just the item's number from 1 (1, 2, ... A, B).
    bool typedIds = true;

    // IDs fit in 32 bits, as the host's do, so they survive the scene data's U4 values.
    // A bone's owner, unless given, is its parent object or its parent bone's owner.
    LWItemID addItem(LWItemType type, std::string name, LWItemID parent = nullptr, LWItemID owner = nullptr);

    Item* find(LWItemID id);
    const Item* find(LWItemID id) const;
    const std::vector<Item>& items() const { return items_; }

    // Sets a key on all three channels of the parameter.
    void setKey(LWItemID id, LWItemParam param, double time, const double value[3]);
    // Replaces the parameter's channels with one constant value.
    void setValue(LWItemID id, LWItemParam param, const double value[3]);
    // The channels' value at a time; zeros for an unknown item or parameter.
    void channelValue(LWItemID id, LWItemParam param, double time, double out[3]) const;

    static Channel* channels(Item& item, LWItemParam param);
    static const Channel* channels(const Item& item, LWItemParam param);

private:
    std::vector<Item> items_;
};

}  // namespace host
