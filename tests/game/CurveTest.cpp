#include "game/Curve_SplineCatmullRom.h"
#include "math/Vec3.h"

#include <gtest/gtest.h>

namespace {

using Vec = Math::Vec3f;
using Spline = Math::Curve_SplineCatmullRom<Vec, 3>;

// Four knots at times 0..3 on a bent line.
void FillSquare(Math::Curve<Vec, 3>& curve)
{
    curve.AddKnot(0.0f, Vec(0, 0, 0));
    curve.AddKnot(1.0f, Vec(1, 0, 0));
    curve.AddKnot(2.0f, Vec(1, 1, 0));
    curve.AddKnot(3.0f, Vec(0, 1, 0));
}

TEST(Curve, FindSegmentBinarySearchAndCache)
{
    Math::Curve<Vec, 3> curve;
    FillSquare(curve);
    EXPECT_EQ(curve.FindSegment(1.5f), 2);
    EXPECT_EQ(curve.FindSegment(-1.0f), 0);
    EXPECT_EQ(curve.FindSegment(5.0f), 4);
    EXPECT_EQ(curve.FindSegment(1.0f), 1);

    // The cache answers its own interval and the next one, and falls back to a full
    // search for anything else; every answer must agree with the search of a fresh curve.
    for (float start : {-2.0f, 0.25f, 1.5f, 2.5f, 3.0f, 7.0f})
        for (float t = -1.0f; t <= 4.0f; t += 0.125f) {
            curve.FindSegment(start);
            Math::Curve<Vec, 3> fresh;
            FillSquare(fresh);
            EXPECT_EQ(curve.FindSegment(t), fresh.FindSegment(t)) << start << " " << t;
        }
}

TEST(Curve, KnotsAreSortedAndExtrapolated)
{
    Math::Curve<Vec, 3> curve;
    EXPECT_EQ(curve.AddKnot(2.0f, Vec(2, 0, 0)), 0);
    EXPECT_EQ(curve.AddKnot(0.0f, Vec(0, 0, 0)), 0);
    EXPECT_EQ(curve.AddKnot(1.0f, Vec(1, 0, 0)), 1);
    // Outside the range the first and last intervals continue.
    EXPECT_FLOAT_EQ(curve.KnotTime(-2), -2.0f);
    EXPECT_LT((curve.KnotPoint(3) - Vec(3, 0, 0)).Length(), 1e-5f);
}

TEST(CatmullRom, PassesThroughKnotsIsSmoothAndRunsOnPastTheLastKnot)
{
    Spline curve;
    FillSquare(curve);
    for (int i = 0; i < 4; ++i)
        EXPECT_LT((curve.Evaluate(float(i)) - curve.KnotPoint(i)).Length(), 1e-5f) << i;

    // Inside a segment the derivative matches a finite difference of the points.
    const float h = 1e-3f;
    for (float t : {0.3f, 1.5f, 2.7f}) {
        const Vec fd = (curve.Evaluate(t + h) - curve.Evaluate(t - h)) / (2 * h);
        EXPECT_LT((curve.EvaluateDerivative(t) - fd).Length(), 2e-3f) << t;
    }
    // The uniform basis gives the tangent (P[i+1] - P[i-1]) / 2 at a knot.
    EXPECT_LT((curve.EvaluateDerivative(2.0f) - Vec(-0.5f, 0.5f, 0)).Length(), 1e-5f);

    // The path mover uses the open end mode only: past the last knot the curve runs on.
    curve.SetEndMode(Spline::Open);
    EXPECT_GT((curve.Evaluate(3.5f) - Vec(0, 1, 0)).Length(), 0.1f);
    EXPECT_TRUE(curve.IsFinished(3.0f));
}

} // namespace
