#pragma once

// Two vectors that float arithmetic should bring to the same place, compared component by
// component.

#include "math/Vec3.h"

#include <gtest/gtest.h>

namespace Test {

inline void ExpectNear(const Math::Vec3f& a, const Math::Vec3f& b, float eps = 1e-5f)
{
    EXPECT_NEAR(a.x, b.x, eps);
    EXPECT_NEAR(a.y, b.y, eps);
    EXPECT_NEAR(a.z, b.z, eps);
}

} // namespace Test
