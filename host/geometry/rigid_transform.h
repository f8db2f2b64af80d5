// Rotations and rigid transforms for row vectors (world = local * R + t), as
// the host turns and places items: bank, then pitch, then heading. The
// stand-in keeps its own small set, apart from the module's, so that what it
// reports is not the module's arithmetic checking itself.
#pragma once

#include <array>

namespace host {

using Vector3 = std::array<double, 3>;
using Rotation3 = std::array<Vector3, 3>;

Rotation3 multiply(const Rotation3& a, const Rotation3& b);
Rotation3 transpose(const Rotation3& a);
Vector3 rotate(const Vector3& v, const Rotation3& r);  // v * r
Rotation3 rotationFromHPB(double heading, double pitch, double bank);
Vector3 hpbFromRotation(const Rotation3& r);

struct RigidTransform {
    Rotation3 rotation{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    Vector3 translation{0, 0, 0};
};

// First `inner`, then `outer`: a child's local transform, then its parent's world.
RigidTransform compose(const RigidTransform& inner, const RigidTransform& outer);
RigidTransform inverse(const RigidTransform& t);
Vector3 apply(const RigidTransform& t, const Vector3& point);

}  // namespace host
