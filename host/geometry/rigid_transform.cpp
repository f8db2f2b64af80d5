#include "host/geometry/rigid_transform.h"

#include <cmath>

namespace host {

Rotation3 multiply(const Rotation3& a, const Rotation3& b) {
    Rotation3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = a[i][0] * b[0][j] + a[i][1] * b[1][j] + a[i][2] * b[2][j];
    return r;
}

Rotation3 transpose(const Rotation3& a) {
    Rotation3 r{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) r[i][j] = a[j][i];
    return r;
}

Vector3 rotate(const Vector3& v, const Rotation3& r) {
    Vector3 out{};
    for (int c = 0; c < 3; ++c) out[c] = v[0] * r[0][c] + v[1] * r[1][c] + v[2] * r[2][c];
    return out;
}

Rotation3 rotationFromHPB(double h, double p, double b) {
    const double ch = std::cos(h), sh = std::sin(h), cp = std::cos(p), sp = std::sin(p), cb = std::cos(b),
                 sb = std::sin(b);
    const Rotation3 bank = {{{cb, sb, 0}, {-sb, cb, 0}, {0, 0, 1}}};
    const Rotation3 pitch = {{{1, 0, 0}, {0, cp, sp}, {0, -sp, cp}}};
    const Rotation3 heading = {{{ch, 0, -sh}, {0, 1, 0}, {sh, 0, ch}}};
    return multiply(multiply(bank, pitch), heading);
}

Vector3 hpbFromRotation(const Rotation3& m) {
    const double across = std::hypot(m[2][0], m[2][2]);
    if (across < 1e-12)  // straight up or down: the bank is folded into the heading
        return {std::atan2(-m[0][2], m[0][0]), std::atan2(-m[2][1], across), 0.0};
    return {std::atan2(m[2][0], m[2][2]), std::atan2(-m[2][1], across), std::atan2(m[0][1], m[1][1])};
}

RigidTransform compose(const RigidTransform& inner, const RigidTransform& outer) {
    RigidTransform r;
    r.rotation = multiply(inner.rotation, outer.rotation);
    r.translation = apply(outer, inner.translation);
    return r;
}

RigidTransform inverse(const RigidTransform& t) {
    RigidTransform r;
    r.rotation = transpose(t.rotation);
    const Vector3 moved = rotate(t.translation, r.rotation);
    r.translation = {-moved[0], -moved[1], -moved[2]};
    return r;
}

Vector3 apply(const RigidTransform& t, const Vector3& point) {
    const Vector3 turned = rotate(point, t.rotation);
    return {turned[0] + t.translation[0], turned[1] + t.translation[1], turned[2] + t.translation[2]};
}

}  // namespace host
