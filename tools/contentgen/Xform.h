#pragma once

#include "math/Vec3.h"

#include <cmath>

namespace Content {

using Vec3d = Math::Vec3<double>;

// A rigid placement in double precision: p' = R p + t, with R stored row by row.
// The generator works in doubles so that the walk cycles can be checked for foot slide
// far below a thousandth of a unit before anything is rounded into a file.
struct Xform {
    double r[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    Vec3d t;

    static Xform Translate(const Vec3d& v)
    {
        Xform x;
        x.t = v;
        return x;
    }
    static Xform RotX(double a)
    {
        const double c = std::cos(a), s = std::sin(a);
        return FromRows({1, 0, 0}, {0, c, -s}, {0, s, c});
    }
    static Xform RotY(double a)
    {
        const double c = std::cos(a), s = std::sin(a);
        return FromRows({c, 0, s}, {0, 1, 0}, {-s, 0, c});
    }
    static Xform RotZ(double a)
    {
        const double c = std::cos(a), s = std::sin(a);
        return FromRows({c, -s, 0}, {s, c, 0}, {0, 0, 1});
    }
    static Xform FromRows(const Vec3d& a, const Vec3d& b, const Vec3d& c)
    {
        Xform x;
        const Vec3d rows[3] = {a, b, c};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                x.r[3 * i + j] = rows[i][j];
        return x;
    }
    // The rotation whose columns are the images of the x, y and z axes.
    static Xform FromColumns(const Vec3d& a, const Vec3d& b, const Vec3d& c)
    {
        return FromRows(a, b, c).InverseRotation();
    }

    Vec3d Rotate(const Vec3d& v) const
    {
        return {r[0] * v.x + r[1] * v.y + r[2] * v.z, r[3] * v.x + r[4] * v.y + r[5] * v.z,
                r[6] * v.x + r[7] * v.y + r[8] * v.z};
    }
    Vec3d Apply(const Vec3d& v) const { return Rotate(v) + t; }
    Vec3d Column(int j) const { return {r[j], r[3 + j], r[6 + j]}; }

    // The inverse of the rotation part (its transpose), without translation.
    Xform InverseRotation() const
    {
        Xform x;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                x.r[3 * i + j] = r[3 * j + i];
        return x;
    }
    // this after o: (this * o)(p) = this(o(p)).
    Xform operator*(const Xform& o) const
    {
        Xform x;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                x.r[3 * i + j] = r[3 * i] * o.r[j] + r[3 * i + 1] * o.r[3 + j] +
                                 r[3 * i + 2] * o.r[6 + j];
        x.t = Apply(o.t);
        return x;
    }
};

inline Vec3d Unit(const Vec3d& v)
{
    const double l = v.Length();
    return l > 0 ? v / l : v;
}

} // namespace Content
