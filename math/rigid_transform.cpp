#include "math/rigid_transform.h"

namespace sinewrig {

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
