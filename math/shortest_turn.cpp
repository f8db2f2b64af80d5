#include "math/shortest_turn.h"

#include <cmath>
#include <numbers>

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
    const Vec3& forward = own.row[2];
    // |axis| and cosine are the sine and cosine of the whole turn.
    const Vec3 axis = cross(forward, direction);
    const double cosine = dot(forward, direction), sineSquared = dot(axis, axis);
    if (cosine < 0.0 && sineSquared <= kBehindTangent * kBehindTangent * cosine * cosine)
        return halfTurnAboutOwnY(own, share);
    if (share != 1.0) {
        const double sine = std::sqrt(sineSquared);
        if (sine == 0.0) return own;
        return turnedRows(own, (1.0 / sine) * axis, sinCos(share * std::atan2(sine, cosine)));
    }
    // The whole turn needs no angle: with the unnormalised axis w, (1 - cos) k k.v
    // is w w.v / (1 + cos), or (1 - cos) w w.v / sin^2 where 1 + cos has lost its digits.
    const double along = cosine > 0.0 ? 1.0 / (1.0 + cosine) : (1.0 - cosine) / sineSquared;
    auto whole = [&](const Vec3& v) { return cosine * v + cross(axis, v) + (along * dot(axis, v)) * axis; };
    return {{whole(own.row[0]), whole(own.row[1]), direction}};
}

}  // namespace sinewrig
