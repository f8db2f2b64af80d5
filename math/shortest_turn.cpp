#include "math/shortest_turn.h"

#include <cmath>
#include <numbers>

#include "math/arc_tangent.h"
#include "math/sin_cos.h"

namespace sinewrig {

namespace {

// tan of the 1e-12 radians within which a direction counts as straight behind.
constexpr double kBehindTangent = 1e-12;

// v turned right-handedly about the unit axis k, by the angle of the given sine and cosine.
Vec3 turned(const Vec3& v, const Vec3& k, SinCos angle) {
    return angle.cos * v + angle.sin * cross(k, v) + ((1.0 - angle.cos) * dot(k, v)) * k;
}

Rotation3 turnedRows(const Rotation3& r, const Vec3& axis, SinCos angle) {
    return {{turned(r.row[0], axis, angle), turned(r.row[1], axis, angle), turned(r.row[2], axis, angle)}};
}

Rotation3 halfTurnAboutOwnY(const Rotation3& own, double share) {
    if (share == 1.0) return {{-own.row[0], own.row[1], -own.row[2]}};
    return turnedRows(own, own.row[1], sinCos(share * std::numbers::pi));
}

}  // namespace

Rotation3 turnedTowards(const Rotation3& own, const Vec3& direction, double share) {
    const Vec3 &side = own.row[0], &up = own.row[1], &forward = own.row[2];
    // |axis| and cosine are the sine and cosine of the whole turn.
    const Vec3 axis = cross(forward, direction);
    const double cosine = dot(forward, direction), sineSquared = dot(axis, axis);
    if (cosine < 0.0 && sineSquared <= kBehindTangent * kBehindTangent * cosine * cosine)
        return halfTurnAboutOwnY(own, share);
    if (share != 1.0) {
        const double sine = std::sqrt(sineSquared);
        if (sine == 0.0) return own;
        return turnedRows(own, (1.0 / sine) * axis, sinCos(share * arcTangent2(sine, cosine)));
    }
    // The whole turn needs no angle. Each axis v of the bone goes to
    // cos v + w x v + (1 - cos) (w.v) w / sin^2 for the unnormalised axis w,
    // and (1 - cos) / sin^2 is 1 / (1 + cos), or, where 1 + cos has lost its
    // digits, is taken as it stands. The bone's axes being orthonormal,
    // w x v and w.v come from the direction's parts along them.
    const double along = cosine > 0.0 ? 1.0 / (1.0 + cosine) : (1.0 - cosine) / sineSquared;
    const double sideward = dot(direction, side), upward = dot(direction, up);
    return {{cosine * side - sideward * forward - (along * upward) * axis,
             cosine * up - upward * forward + (along * sideward) * axis, direction}};
}

}  // namespace sinewrig
