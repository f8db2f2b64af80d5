#include "math/rotation3.h"

#include "math/sin_cos.h"

namespace sinewrig {

Rotation3 rotationHPB(double heading, double pitch, double bank) {
    const SinCos h = sinCos(heading), p = sinCos(pitch), b = sinCos(bank);
    // Rz * Rx multiplied out; its products are rounded once, as the three
    // single-axis turns of an identity 4x4 matrix round them.
    const double sbsp = b.sin * p.sin, cbsp = b.cos * p.sin;
    return {{{b.cos * h.cos + sbsp * h.sin, b.sin * p.cos, -b.cos * h.sin + sbsp * h.cos},
             {-b.sin * h.cos + cbsp * h.sin, b.cos * p.cos, b.sin * h.sin + cbsp * h.cos},
             {p.cos * h.sin, -p.sin, p.cos * h.cos}}};
}

}  // namespace sinewrig
