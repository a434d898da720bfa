#include "math/Mat4.h"

#include <cmath>

namespace Math {

Mat4 Mat4::operator*(const Mat4& o) const
{
    Mat4 r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row) {
            float s = 0;
            for (int k = 0; k < 4; ++k)
                s += (*this)(row, k) * o(k, c);
            r(row, c) = s;
        }
    return r;
}

Vec3f Mat4::TransformPoint(const Vec3f& p) const
{
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
            m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

Vec3f Mat4::TransformVector(const Vec3f& v) const
{
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z, m[1] * v.x + m[5] * v.y + m[9] * v.z,
            m[2] * v.x + m[6] * v.y + m[10] * v.z};
}

Vec3f Mat4::Project(const Vec3f& p) const
{
    const Vec3f q = TransformPoint(p);
    const float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    return w != 0.0f ? q / w : q;
}

Mat4 Mat4::Inverse() const
{
    const float* a = m;
    float inv[16];
    inv[0] = a[5] * a[10] * a[15] - a[5] * a[11] * a[14] - a[9] * a[6] * a[15] +
             a[9] * a[7] * a[14] + a[13] * a[6] * a[11] - a[13] * a[7] * a[10];
    inv[4] = -a[4] * a[10] * a[15] + a[4] * a[11] * a[14] + a[8] * a[6] * a[15] -
             a[8] * a[7] * a[14] - a[12] * a[6] * a[11] + a[12] * a[7] * a[10];
    inv[8] = a[4] * a[9] * a[15] - a[4] * a[11] * a[13] - a[8] * a[5] * a[15] +
             a[8] * a[7] * a[13] + a[12] * a[5] * a[11] - a[12] * a[7] * a[9];
    inv[12] = -a[4] * a[9] * a[14] + a[4] * a[10] * a[13] + a[8] * a[5] * a[14] -
              a[8] * a[6] * a[13] - a[12] * a[5] * a[10] + a[12] * a[6] * a[9];
    inv[1] = -a[1] * a[10] * a[15] + a[1] * a[11] * a[14] + a[9] * a[2] * a[15] -
             a[9] * a[3] * a[14] - a[13] * a[2] * a[11] + a[13] * a[3] * a[10];
    inv[5] = a[0] * a[10] * a[15] - a[0] * a[11] * a[14] - a[8] * a[2] * a[15] +
             a[8] * a[3] * a[14] + a[12] * a[2] * a[11] - a[12] * a[3] * a[10];
    inv[9] = -a[0] * a[9] * a[15] + a[0] * a[11] * a[13] + a[8] * a[1] * a[15] -
             a[8] * a[3] * a[13] - a[12] * a[1] * a[11] + a[12] * a[3] * a[9];
    inv[13] = a[0] * a[9] * a[14] - a[0] * a[10] * a[13] - a[8] * a[1] * a[14] +
              a[8] * a[2] * a[13] + a[12] * a[1] * a[10] - a[12] * a[2] * a[9];
    inv[2] = a[1] * a[6] * a[15] - a[1] * a[7] * a[14] - a[5] * a[2] * a[15] +
             a[5] * a[3] * a[14] + a[13] * a[2] * a[7] - a[13] * a[3] * a[6];
    inv[6] = -a[0] * a[6] * a[15] + a[0] * a[7] * a[14] + a[4] * a[2] * a[15] -
             a[4] * a[3] * a[14] - a[12] * a[2] * a[7] + a[12] * a[3] * a[6];
    inv[10] = a[0] * a[5] * a[15] - a[0] * a[7] * a[13] - a[4] * a[1] * a[15] +
              a[4] * a[3] * a[13] + a[12] * a[1] * a[7] - a[12] * a[3] * a[5];
    inv[14] = -a[0] * a[5] * a[14] + a[0] * a[6] * a[13] + a[4] * a[1] * a[14] -
              a[4] * a[2] * a[13] - a[12] * a[1] * a[6] + a[12] * a[2] * a[5];
    inv[3] = -a[1] * a[6] * a[11] + a[1] * a[7] * a[10] + a[5] * a[2] * a[11] -
             a[5] * a[3] * a[10] - a[9] * a[2] * a[7] + a[9] * a[3] * a[6];
    inv[7] = a[0] * a[6] * a[11] - a[0] * a[7] * a[10] - a[4] * a[2] * a[11] +
             a[4] * a[3] * a[10] + a[8] * a[2] * a[7] - a[8] * a[3] * a[6];
    inv[11] = -a[0] * a[5] * a[11] + a[0] * a[7] * a[9] + a[4] * a[1] * a[11] -
              a[4] * a[3] * a[9] - a[8] * a[1] * a[7] + a[8] * a[3] * a[5];
    inv[15] = a[0] * a[5] * a[10] - a[0] * a[6] * a[9] - a[4] * a[1] * a[10] +
              a[4] * a[2] * a[9] + a[8] * a[1] * a[6] - a[8] * a[2] * a[5];

    const float det = a[0] * inv[0] + a[1] * inv[4] + a[2] * inv[8] + a[3] * inv[12];
    Mat4 r;
    if (det == 0.0f)
        return r;
    const float invDet = 1.0f / det;
    for (int i = 0; i < 16; ++i)
        r.m[i] = inv[i] * invDet;
    return r;
}

Mat4 Mat4::InverseRigid() const
{
    Mat4 r;
    for (int row = 0; row < 3; ++row)
        for (int c = 0; c < 3; ++c)
            r(row, c) = (*this)(c, row);
    const Vec3f t{m[12], m[13], m[14]};
    const Vec3f it = r.TransformVector(t);
    r.m[12] = -it.x;
    r.m[13] = -it.y;
    r.m[14] = -it.z;
    return r;
}

Mat4 Mat4::Translation(const Vec3f& t)
{
    Mat4 r;
    r.m[12] = t.x;
    r.m[13] = t.y;
    r.m[14] = t.z;
    return r;
}

Mat4 Mat4::Scale(const Vec3f& s)
{
    Mat4 r;
    r.m[0] = s.x;
    r.m[5] = s.y;
    r.m[10] = s.z;
    return r;
}

Mat4 Mat4::RotationX(float a)
{
    Mat4 r;
    const float c = std::cos(a), s = std::sin(a);
    r(1, 1) = c; r(1, 2) = -s;
    r(2, 1) = s; r(2, 2) = c;
    return r;
}

Mat4 Mat4::RotationY(float a)
{
    Mat4 r;
    const float c = std::cos(a), s = std::sin(a);
    r(0, 0) = c; r(0, 2) = s;
    r(2, 0) = -s; r(2, 2) = c;
    return r;
}

Mat4 Mat4::RotationZ(float a)
{
    Mat4 r;
    const float c = std::cos(a), s = std::sin(a);
    r(0, 0) = c; r(0, 1) = -s;
    r(1, 0) = s; r(1, 1) = c;
    return r;
}

Mat4 Mat4::Perspective(float fovY, float aspect, float n, float f)
{
    const float t = 1.0f / std::tan(fovY * 3.14159265358979f / 360.0f);
    Mat4 r;
    r.m[0] = t / aspect;
    r.m[5] = t;
    r.m[10] = (f + n) / (n - f);
    r.m[11] = -1.0f;
    r.m[14] = 2.0f * f * n / (n - f);
    r.m[15] = 0.0f;
    return r;
}

Mat4 Mat4::PerspectiveInfinite(float fovY, float aspect, float n, float epsilon)
{
    const float t = 1.0f / std::tan(fovY * 3.14159265358979f / 360.0f);
    Mat4 r;
    r.m[0] = t / aspect;
    r.m[5] = t;
    r.m[10] = -(1.0f - epsilon);
    r.m[11] = -1.0f;
    r.m[14] = -(2.0f - epsilon) * n;
    r.m[15] = 0.0f;
    return r;
}

Mat4 Mat4::Ortho(float l, float rgt, float b, float t, float n, float f)
{
    Mat4 r;
    r.m[0] = 2.0f / (rgt - l);
    r.m[5] = 2.0f / (t - b);
    r.m[10] = -2.0f / (f - n);
    r.m[12] = -(rgt + l) / (rgt - l);
    r.m[13] = -(t + b) / (t - b);
    r.m[14] = -(f + n) / (f - n);
    return r;
}

Mat4 Mat4::LookAt(const Vec3f& eye, const Vec3f& centre, const Vec3f& up)
{
    Vec3f f = centre - eye;
    const float fl = f.Length();
    if (fl > 0.0f)
        f = f / fl;
    Vec3f s = Cross(f, up);
    const float sl = s.Length();
    if (sl > 0.0f)
        s = s / sl;
    const Vec3f u = Cross(s, f);
    Mat4 r;
    r(0, 0) = s.x; r(0, 1) = s.y; r(0, 2) = s.z;
    r(1, 0) = u.x; r(1, 1) = u.y; r(1, 2) = u.z;
    r(2, 0) = -f.x; r(2, 1) = -f.y; r(2, 2) = -f.z;
    r(0, 3) = -Dot(s, eye);
    r(1, 3) = -Dot(u, eye);
    r(2, 3) = Dot(f, eye);
    return r;
}

Mat4 Mat4::FromOrientationPosition(const Mat3& o, const Vec3f& p)
{
    Mat4 r;
    r.m[0] = o.m[0]; r.m[1] = o.m[1]; r.m[2] = o.m[2]; r.m[3] = 0;
    r.m[4] = o.m[3]; r.m[5] = o.m[4]; r.m[6] = o.m[5]; r.m[7] = 0;
    r.m[8] = o.m[6]; r.m[9] = o.m[7]; r.m[10] = o.m[8]; r.m[11] = 0;
    r.m[12] = p.x; r.m[13] = p.y; r.m[14] = p.z; r.m[15] = 1;
    return r;
}

} // namespace Math
