#pragma once

#include "tools/contentgen/Xform.h"

#include <cmath>

namespace Content {

// Unit quaternion (x, y, z, w) in double precision, composed parent on the left as the
// skeleton does.
struct Quat {
    double x = 0, y = 0, z = 0, w = 1;

    // From the rotation part of a placement (Shepperd's method, stable for every angle).
    static Quat FromRotation(const Xform& m)
    {
        const double* r = m.r;
        const double trace = r[0] + r[4] + r[8];
        Quat q;
        if (trace > 0) {
            const double s = std::sqrt(trace + 1.0) * 2;
            q = {(r[7] - r[5]) / s, (r[2] - r[6]) / s, (r[3] - r[1]) / s, 0.25 * s};
        } else if (r[0] > r[4] && r[0] > r[8]) {
            const double s = std::sqrt(1.0 + r[0] - r[4] - r[8]) * 2;
            q = {0.25 * s, (r[1] + r[3]) / s, (r[2] + r[6]) / s, (r[7] - r[5]) / s};
        } else if (r[4] > r[8]) {
            const double s = std::sqrt(1.0 + r[4] - r[0] - r[8]) * 2;
            q = {(r[1] + r[3]) / s, 0.25 * s, (r[5] + r[7]) / s, (r[2] - r[6]) / s};
        } else {
            const double s = std::sqrt(1.0 + r[8] - r[0] - r[4]) * 2;
            q = {(r[2] + r[6]) / s, (r[5] + r[7]) / s, 0.25 * s, (r[3] - r[1]) / s};
        }
        const double l = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
        return {q.x / l, q.y / l, q.z / l, q.w / l};
    }

    // The same rotation with w <= 0: files store only x, y, z and readers rebuild w as the
    // negative root.
    Quat WithNegativeW() const { return w > 0 ? Quat{-x, -y, -z, -w} : *this; }

    Xform ToRotation() const
    {
        const double s = 2.0 / (x * x + y * y + z * z + w * w);
        return Xform::FromRows({1 - s * (y * y + z * z), s * (x * y - w * z), s * (x * z + w * y)},
                               {s * (x * y + w * z), 1 - s * (x * x + z * z), s * (y * z - w * x)},
                               {s * (x * z - w * y), s * (y * z + w * x), 1 - s * (x * x + y * y)});
    }
};

} // namespace Content
