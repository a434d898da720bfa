#pragma once

#include "game/Curve.h"

namespace Math {

// Common base of the interpolating curves.
template <class T, int N>
class Curve_Spline : public Curve<T, N> {
public:
    ~Curve_Spline() override = default;
};

} // namespace Math
