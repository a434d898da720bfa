#include "game/Curve_SplineCatmullRom.h"
#include "math/Vec3.h"

#include <gtest/gtest.h>

#include <stdexcept>

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

TEST(Curve, StepsToTheKnotEndingEachSegment)
{
    Math::Curve<Vec, 3> curve;
    EXPECT_EQ(curve.Evaluate(1.0f), Vec());
    EXPECT_TRUE(curve.IsFinished(-100.0f));
    FillSquare(curve);
    EXPECT_EQ(curve.Evaluate(-1.0f), Vec(0, 0, 0));
    EXPECT_EQ(curve.Evaluate(0.0f), Vec(0, 0, 0));
    EXPECT_EQ(curve.Evaluate(0.5f), Vec(1, 0, 0));
    EXPECT_EQ(curve.Evaluate(1.0f), Vec(1, 0, 0));
    EXPECT_EQ(curve.Evaluate(2.01f), Vec(0, 1, 0));
    EXPECT_EQ(curve.Evaluate(9.0f), Vec(0, 1, 0));
    EXPECT_FALSE(curve.IsFinished(2.99f));
    EXPECT_TRUE(curve.IsFinished(3.0f));

    // Removing a knot joins its segment to the next; indices outside the knots throw.
    EXPECT_THROW(curve.RemoveKnot(-1), std::out_of_range);
    EXPECT_THROW(curve.RemoveKnot(4), std::out_of_range);
    curve.RemoveKnot(1);
    ASSERT_EQ(curve.GetNumKnots(), 3);
    EXPECT_EQ(curve.Evaluate(0.5f), Vec(1, 1, 0));
    EXPECT_EQ(curve.KnotPoint(1), Vec(1, 1, 0));
    curve.Clear();
    EXPECT_EQ(curve.GetNumKnots(), 0);
    EXPECT_EQ(curve.KnotTime(3), 0.0f);
    EXPECT_EQ(curve.Evaluate(0.5f), Vec());
}

TEST(CatmullRom, DerivativesFollowTheSegmentsDurations)
{
    // Segments of 2, 3 and 1 time units: the derivatives are per unit of time, not per
    // unit of the segment's own parameter.
    Spline curve;
    curve.AddKnot(0.0f, Vec(0, 0, 0));
    curve.AddKnot(2.0f, Vec(4, 0, 0));
    curve.AddKnot(5.0f, Vec(4, 6, 0));
    curve.AddKnot(6.0f, Vec(0, 6, 3));
    const float h = 1e-3f;
    for (float t : {0.5f, 1.7f, 2.4f, 4.1f, 5.5f}) {
        const Vec first = (curve.Evaluate(t + h) - curve.Evaluate(t - h)) / (2 * h);
        EXPECT_LT((curve.EvaluateDerivative(t) - first).Length(), 1e-2f) << t;
        const Vec second =
            (curve.EvaluateDerivative(t + h) - curve.EvaluateDerivative(t - h)) / (2 * h);
        EXPECT_LT((curve.EvaluateSecondDerivative(t) - second).Length(), 2e-2f) << t;
    }
    // Fewer than two knots: no segment to move along.
    Spline single;
    single.AddKnot(1.0f, Vec(5, 5, 5));
    EXPECT_EQ(single.Evaluate(3.0f), Vec(5, 5, 5));
    EXPECT_EQ(single.EvaluateDerivative(1.0f), Vec());
}

TEST(CatmullRom, ClampedHoldsTheEndsAndClosedJoinsThem)
{
    Spline clamped;
    FillSquare(clamped);
    clamped.SetEndMode(Spline::Clamped);
    EXPECT_LT((clamped.Evaluate(-2.0f) - Vec(0, 0, 0)).Length(), 1e-5f);
    EXPECT_LT((clamped.Evaluate(7.0f) - Vec(0, 1, 0)).Length(), 1e-5f);
    EXPECT_TRUE(clamped.IsFinished(3.0f));

    // Closed, with a gap of one after the last knot: period 4, knots repeating around it.
    Spline closed;
    FillSquare(closed);
    closed.SetEndMode(Spline::Closed);
    closed.SetClosingGap(1.0f);
    EXPECT_FALSE(closed.IsFinished(100.0f));
    EXPECT_FLOAT_EQ(closed.KnotTime(4), 4.0f);
    EXPECT_FLOAT_EQ(closed.KnotTime(-1), -1.0f);
    EXPECT_FLOAT_EQ(closed.KnotTime(-5), -5.0f);
    EXPECT_FLOAT_EQ(closed.KnotTime(9), 9.0f);
    EXPECT_EQ(closed.KnotPoint(5), Vec(1, 0, 0));
    EXPECT_EQ(closed.KnotPoint(-1), Vec(0, 1, 0));
    // The closing segment comes back to the first knot, and reads the same whether it is
    // reached past the last knot or before the first.
    EXPECT_LT((closed.Evaluate(4.0f) - Vec(0, 0, 0)).Length(), 1e-5f);
    for (float t : {3.25f, 3.5f, 3.9f})
        EXPECT_LT((closed.Evaluate(t) - closed.Evaluate(t - 4.0f)).Length(), 1e-5f) << t;
    // No kink where it closes: the tangent arriving equals the tangent leaving.
    EXPECT_LT((closed.EvaluateDerivative(3.9999f) - closed.EvaluateDerivative(0.0001f)).Length(),
              1e-2f);
    // Periods away, before the first knot or past the closing segment, the curve and its
    // derivatives repeat.
    for (float t : {0.3f, 1.5f, 2.8f, 3.6f})
        for (float k : {-2.0f, -1.0f, 1.0f, 3.0f}) {
            const float away = t + 4.0f * k;
            EXPECT_LT((closed.Evaluate(away) - closed.Evaluate(t)).Length(), 1e-4f) << away;
            EXPECT_LT((closed.EvaluateDerivative(away) - closed.EvaluateDerivative(t)).Length(),
                      1e-3f) << away;
        }
}

} // namespace
