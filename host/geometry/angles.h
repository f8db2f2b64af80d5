// Degrees, in which artists and scene files write angles, and radians, in
// which the host holds them.
#pragma once

#include <numbers>

namespace host {

inline constexpr double kDegreesPerRadian = 180.0 / std::numbers::pi;
inline constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

constexpr double degrees(double radians) { return radians * kDegreesPerRadian; }
constexpr double radians(double degrees) { return degrees * kRadiansPerDegree; }

}  // namespace host
