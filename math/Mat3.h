#pragma once

#include "math/Vec3.h"

namespace Math {

// A 3x3 orientation, nine floats stored row by row: m[3 * row + column].
struct Mat3 {
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    static Mat3 Identity() { return Mat3(); }
    static Mat3 FromRows(const Vec3f& r0, const Vec3f& r1, const Vec3f& r2)
    {
        Mat3 r;
        const Vec3f rows[3] = {r0, r1, r2};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r.m[3 * i + j] = rows[i][j];
        return r;
    }

    float& operator()(int row, int column) { return m[3 * row + column]; }
    float operator()(int row, int column) const { return m[3 * row + column]; }
    Vec3f Row(int i) const { return {m[3 * i], m[3 * i + 1], m[3 * i + 2]}; }

    Vec3f operator*(const Vec3f& v) const
    {
        return {m[0] * v.x + m[1] * v.y + m[2] * v.z, m[3] * v.x + m[4] * v.y + m[5] * v.z,
                m[6] * v.x + m[7] * v.y + m[8] * v.z};
    }
    Mat3 operator*(const Mat3& o) const
    {
        Mat3 r;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r.m[3 * i + j] = m[3 * i] * o.m[j] + m[3 * i + 1] * o.m[3 + j] +
                                 m[3 * i + 2] * o.m[6 + j];
        return r;
    }
    Mat3 Transposed() const
    {
        Mat3 r;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r.m[3 * i + j] = m[3 * j + i];
        return r;
    }
};

} // namespace Math
