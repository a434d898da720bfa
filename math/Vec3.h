#pragma once

#include <cmath>

namespace Math {

template <class T>
struct Vec3 {
    T x = 0, y = 0, z = 0;

    constexpr Vec3() = default;
    constexpr Vec3(T x, T y, T z) : x(x), y(y), z(z) {}

    constexpr Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vec3 operator-() const { return {-x, -y, -z}; }
    constexpr Vec3 operator*(T s) const { return {x * s, y * s, z * s}; }
    constexpr Vec3 operator/(T s) const { return {x / s, y / s, z / s}; }
    Vec3& operator+=(const Vec3& o) { x += o.x; y += o.y; z += o.z; return *this; }
    Vec3& operator-=(const Vec3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
    Vec3& operator*=(T s) { x *= s; y *= s; z *= s; return *this; }
    constexpr bool operator==(const Vec3& o) const { return x == o.x && y == o.y && z == o.z; }
    constexpr bool operator!=(const Vec3& o) const { return !(*this == o); }

    T& operator[](int i) { return i == 0 ? x : (i == 1 ? y : z); }
    const T& operator[](int i) const { return i == 0 ? x : (i == 1 ? y : z); }
    T* Data() { return &x; }
    const T* Data() const { return &x; }

    T Length() const { return std::sqrt(x * x + y * y + z * z); }
    T LengthSquared() const { return x * x + y * y + z * z; }
};

template <class T>
constexpr Vec3<T> operator*(T s, const Vec3<T>& v) { return v * s; }

template <class T>
constexpr T Dot(const Vec3<T>& a, const Vec3<T>& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

template <class T>
constexpr Vec3<T> Cross(const Vec3<T>& a, const Vec3<T>& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// The engine's normalisation rule: divide by the length L only when L > 1e-6 and
// |1 - L| > 1e-6; a zero vector, or one already of unit length, is left unchanged.
template <class T>
Vec3<T> Normalize(const Vec3<T>& v)
{
    const T length = v.Length();
    if (length > T(1e-6) && std::fabs(T(1) - length) > T(1e-6))
        return v / length;
    return v;
}

using Vec3f = Vec3<float>;

} // namespace Math
