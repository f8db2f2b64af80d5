// Rigid transforms for row vectors, p' = p * rotation + translation: a 4x4
// matrix without its constant column, so composing and applying skip its zeros and ones.
#pragma once

#include "math/rotation3.h"

namespace sinewrig {

struct RigidTransform {
    Rotation3 rotation;
    Vec3 translation;
};

inline Vec3 transformPoint(const RigidTransform& a, const Vec3& p) { return p * a.rotation + a.translation; }

// a then b.
inline RigidTransform operator*(const RigidTransform& a, const RigidTransform& b) {
    return {a.rotation * b.rotation, transformPoint(b, a.translation)};
}

// Exact only as far as the rotation is orthonormal, which rotations built from
// angles are to rounding.
inline RigidTransform inverse(const RigidTransform& a) {
    const Rotation3 back = transposed(a.rotation);
    return {back, -(a.translation * back)};
}

}  // namespace sinewrig
