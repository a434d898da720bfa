#pragma once

#include "math/Mat3.h"
#include "math/Vec3.h"

namespace Math {

// A 4x4 transformation in OpenGL's column-major order: m[4 * column + row], loaded with
// glLoadMatrixf / glMultMatrixf as it stands.
struct Mat4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Mat4 Identity() { return Mat4(); }

    float& operator()(int row, int column) { return m[4 * column + row]; }
    float operator()(int row, int column) const { return m[4 * column + row]; }
    const float* Data() const { return m; }

    Mat4 operator*(const Mat4& o) const;

    Vec3f TransformPoint(const Vec3f& p) const;   // w = 1, no perspective divide
    Vec3f TransformVector(const Vec3f& v) const;  // w = 0
    // Full transform of (p, 1) followed by the divide by w.
    Vec3f Project(const Vec3f& p) const;

    // General inverse; the identity when the matrix is singular.
    Mat4 Inverse() const;
    // Inverse of a rotation + translation (orthonormal upper 3x3).
    Mat4 InverseRigid() const;

    static Mat4 Translation(const Vec3f& t);
    static Mat4 Scale(const Vec3f& s);
    static Mat4 RotationX(float radians);
    static Mat4 RotationY(float radians);
    static Mat4 RotationZ(float radians);
    static Mat4 Perspective(float fovYDegrees, float aspect, float zNear, float zFar);
    // Far plane at infinity; epsilon keeps points at infinity inside the depth range.
    static Mat4 PerspectiveInfinite(float fovYDegrees, float aspect, float zNear,
                                    float epsilon);
    static Mat4 Ortho(float left, float right, float bottom, float top, float zNear,
                      float zFar);
    // View matrix looking from eye to centre; the camera looks down its negative z axis.
    static Mat4 LookAt(const Vec3f& eye, const Vec3f& centre, const Vec3f& up);
    // Model matrix of an entity: the nine orientation values in elements 0-2, 4-6, 8-10
    // in their storage order, the position in 12-14.
    static Mat4 FromOrientationPosition(const Mat3& orientation, const Vec3f& position);
};

} // namespace Math
