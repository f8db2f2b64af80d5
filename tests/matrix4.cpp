#include "tests/matrix4.h"

#include <cmath>

namespace sinewrig {

void Matrix4::setIdentity() { *this = Matrix4{}; }

void Matrix4::translate(double tx, double ty, double tz) {
    for (auto& row : m) {
        row[0] += tx * row[3];
        row[1] += ty * row[3];
        row[2] += tz * row[3];
    }
}

void Matrix4::rotateX(double angle) {
    const double s = std::sin(angle), c = std::cos(angle);
    for (auto& row : m) {
        const double y = row[1], z = row[2];
        row[1] = y * c - z * s;
        row[2] = y * s + z * c;
    }
}

void Matrix4::rotateY(double angle) {
    const double s = std::sin(angle), c = std::cos(angle);
    for (auto& row : m) {
        const double x = row[0], z = row[2];
        row[0] = x * c + z * s;
        row[2] = -x * s + z * c;
    }
}

void Matrix4::rotateZ(double angle) {
    const double s = std::sin(angle), c = std::cos(angle);
    for (auto& row : m) {
        const double x = row[0], y = row[1];
        row[0] = x * c - y * s;
        row[1] = x * s + y * c;
    }
}

void Matrix4::rotateHPB(double heading, double pitch, double bank) {
    rotateZ(bank);
    rotateX(pitch);
    rotateY(heading);
}

void Matrix4::transformPoint(Vec3& v) const {
    const Vec3 p = v;
    v.x = p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0];
    v.y = p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1];
    v.z = p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2];
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] +
                        a.m[i][3] * b.m[3][j];
    return r;
}

Matrix4 toMatrix4(const RigidTransform& a) {
    Matrix4 m;
    const Vec3 rows[4] = {a.rotation.row[0], a.rotation.row[1], a.rotation.row[2], a.translation};
    for (int r = 0; r < 4; ++r) {
        m.m[r][0] = rows[r].x;
        m.m[r][1] = rows[r].y;
        m.m[r][2] = rows[r].z;
    }
    return m;
}

}  // namespace sinewrig
