// Three-double vectors in the host's layout, and the two operations muscles need
// on them: aiming a bone's +Z axis along a direction, and measuring a length.
#pragma once

namespace sinewrig {

struct Vec3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

inline Vec3 vec3From(const double v[3]) { return {v[0], v[1], v[2]}; }

inline Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(const Vec3& v) { return {-v.x, -v.y, -v.z}; }
inline Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(double s, const Vec3& v) { return {s * v.x, s * v.y, s * v.z}; }

inline double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// A right angle as the decimal literal the aiming rules use, a few units in the
// last place below the double nearest pi/2.
inline constexpr double kRightAngle = 1.570796326794895;

// Writes heading into rotation[0] and pitch into rotation[1]; bank (rotation[2])
// is left as the caller set it.
void aimAngles(const Vec3& direction, double rotation[3]);

double vectorLength(const Vec3& v);

// v scaled to length 1, given its length as vectorLength measures it; the
// zero vector stays zero, and lengths whose squares leave the doubles' range
// are measured again on a scaled copy.
Vec3 unitVectorOfExtremeLength(const Vec3& v);
inline Vec3 unitVector(const Vec3& v, double length) {
    if (length > 1e-150 && length < 1e150) return (1.0 / length) * v;
    return unitVectorOfExtremeLength(v);
}

}  // namespace sinewrig
