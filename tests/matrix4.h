// 4x4 matrices of doubles for row vectors (p' = p * M), translation in row 3:
// the tests' reference arithmetic for the module's rigid transforms.
// Every in-place operation multiplies on the right, so it acts after what the
// matrix already did.
#pragma once

#include "math/rigid_transform.h"
#include "math/vector.h"

namespace sinewrig {

struct Matrix4 {
    double m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    void setIdentity();
    void translate(double tx, double ty, double tz);
    void rotateX(double angle);  // pitch: +Z turns towards -Y
    void rotateY(double angle);  // heading: +Z turns towards +X
    void rotateZ(double angle);  // bank: +X turns towards +Y
    // Banks, then pitches, then heads a point.
    void rotateHPB(double heading, double pitch, double bank);
    void transformPoint(Vec3& v) const;
};

Matrix4 multiply(const Matrix4& a, const Matrix4& b);

Matrix4 toMatrix4(const RigidTransform& a);

}  // namespace sinewrig
