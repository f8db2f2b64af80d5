// Mesh views (LWMeshInfo) of the stand-in Layout's objects, as "LW Object
// Info 6" meshInfo hands them out. A view stays readable until the module
// destroys it; use after destroy, and a view never destroyed, are problems.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/scene/object_mesh.h"
#include "abi/lw_host.h"

namespace host {

class MeshViews;

struct MeshView {
    LWMeshInfo info{};  // what the module gets; priv leads back here
    MeshViews* views = nullptr;
    int number = 0;  // from 1, in the order handed out
    LWItemID object = nullptr;
    std::shared_ptr<const ObjectMesh> mesh;
    bool destroyed = false;
};

class MeshViews {
public:
    LWMeshInfo* open(LWItemID object, std::shared_ptr<const ObjectMesh> mesh);

    // Every view handed out, destroyed ones included, in order.
    const std::vector<std::unique_ptr<MeshView>>& views() const { return views_; }
    // Misuse so far, and the views still waiting for destroy.
    std::vector<std::string> problems() const;
    void problem(const std::string& what) { misuse_.push_back(what); }
    // Frees the views the module has destroyed, for long runs; a use of one
    // after this is no longer caught.
    void releaseDestroyed();

private:
    std::vector<std::unique_ptr<MeshView>> views_;
    std::vector<std::string> misuse_;
};

}  // namespace host
