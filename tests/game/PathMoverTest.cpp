#include "game/Curve_SplineCatmullRom.h"
#include "game/INode.h"
#include "game/KorvoCurve.h"
#include "game/PathMover.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <vector>

namespace {

using Vec = Math::Vec3f;
using Spline = Math::Curve_SplineCatmullRom<Vec, 3>;

void ExpectNear(const Vec& a, const Vec& b, float eps = 1e-4f)
{
    EXPECT_LT((a - b).Length(), eps) << a.x << " " << a.y << " " << a.z;
}

TEST(PathMover, EllipseKnotsAndArcLength)
{
    Game::PathMover mover;
    mover.BuildEllipsePath(Vec(0, 0, 0), 2.0f, 1.0f, 4);
    auto curve = mover.GetCurve();
    ASSERT_EQ(curve->GetNumKnots(), 5);   // closed: the first knot again at the end
    ExpectNear(curve->KnotPoint(1), Vec(2, 0, 0));
    ExpectNear(curve->KnotPoint(4), Vec(0, 0, 1));
    EXPECT_FLOAT_EQ(curve->KnotTime(2), 0.5f);
    EXPECT_FLOAT_EQ(curve->KnotTime(4), 1.0f);

    // The scenes' ellipse: the length must match a dense polyline along the same
    // spline and come close to the true ellipse's perimeter.
    mover.BuildEllipsePath(Vec(0, 60, 0), 100.0f, 70.0f, 32);
    curve = mover.GetCurve();
    double polyline = 0.0;
    const int steps = 200000;
    Vec previous = curve->Evaluate(0.0f);
    for (int i = 1; i <= steps; ++i) {
        const Vec p = curve->Evaluate(float(i) / steps);
        polyline += (p - previous).Length();
        previous = p;
    }
    EXPECT_NEAR(mover.GetLength(), polyline, polyline * 2e-5);
    const double a = 100.0, b = 70.0, h = (a - b) * (a - b) / ((a + b) * (a + b));
    const double ramanujan = M_PI * (a + b) * (1 + 3 * h / (10 + std::sqrt(4 - 3 * h)));
    EXPECT_NEAR(mover.GetLength(), ramanujan, ramanujan * 2e-3);

    EXPECT_THROW(mover.BuildEllipsePath(Vec(), 1.0f, 1.0f, 0), std::invalid_argument);
}

// A mover on a 100 x 70 ellipse of 32 knots, and the node it moves.
class PathMoverOnEllipse : public ::testing::Test {
protected:
    void SetUp() override
    {
        mover.BuildEllipsePath(Vec(0, 0, 0), 100.0f, 70.0f, 32);
        length = mover.GetLength();
    }

    Game::PathMover mover;
    Sys::Ptr<Game::INode> node{new Game::INode()};
    float length = 0.0f;
};

TEST_F(PathMoverOnEllipse, LoopReturnsToStartAndSpeedIsInWorldUnits)
{
    mover.SetMotion(node, 0, true, Game::PathMover::Loop, length, true, 0.0f, 0.0f, 1.0f);

    mover.Update(0.0f);
    const Vec start = node->position;
    ExpectNear(start, Vec(0, 0, 70));

    // One second at one length per second, in small steps, is one lap.
    for (int i = 0; i < 400; ++i)
        mover.Update(1.0f / 400);
    ExpectNear(node->position, start, 1e-2f);

    // A lap and a half backwards from a start of a quarter of the way.
    mover.SetMotion(node, 0, false, Game::PathMover::Loop, 2.0f, false, length * 0.25f, 0.0f,
                    1.0f);
    EXPECT_NEAR(mover.GetSpeed(), length / 2.0f, 1e-3f);
    mover.Update(3.0f);
    EXPECT_NEAR(mover.GetPosition(), 0.75f, 1e-5f);
}

TEST_F(PathMoverOnEllipse, TurnsNodeAlongThePath)
{
    mover.SetMotion(node, 1, true, Game::PathMover::Loop, 18.0f, true, 0.0f, 0.0f, 1.0f);

    for (int frame = 0; frame < 200; ++frame) {
        const Vec before = node->position;
        mover.Update(0.25f);
        if (frame == 0)
            continue;
        // Rows: forward d, up u, side s; orthonormal, up is the world's y axis on a flat
        // path, and forward agrees with the actual motion.
        const Vec d = node->orientation.Row(0);
        EXPECT_NEAR(d.Length(), 1.0f, 1e-4f);
        EXPECT_NEAR(Math::Dot(d, node->orientation.Row(2)), 0.0f, 1e-4f);
        ExpectNear(node->orientation.Row(1), Vec(0, 1, 0), 1e-4f);
        const Vec motion = Math::Normalize(node->position - before);
        EXPECT_GT(Math::Dot(motion, d), 0.99f) << frame;
    }
}

TEST_F(PathMoverOnEllipse, OnceStopsAtTheEndItRunsTowards)
{

    // Half a length per second, forward from the start: standing at the start is no end.
    mover.SetMotion(node, 0, true, Game::PathMover::Once, length / 2, true, 0.0f, 0.0f, 1.0f);
    mover.Update(0.0f);
    EXPECT_FALSE(mover.IsFinished());
    mover.Update(1.0f);
    EXPECT_NEAR(mover.GetPosition(), 0.5f, 1e-5f);
    ExpectNear(node->position, mover.GetCurve()->Evaluate(0.5f));
    EXPECT_FALSE(mover.IsFinished());
    mover.Update(1.5f);
    EXPECT_EQ(mover.GetPosition(), 1.0f);
    EXPECT_TRUE(mover.IsFinished());
    // Once finished, the node stays where it stopped.
    node->position = Vec(-1, -1, -1);
    mover.Update(1.0f);
    EXPECT_EQ(mover.GetPosition(), 1.0f);
    EXPECT_EQ(node->position, Vec(-1, -1, -1));

    // Backwards from a quarter of the way, the start is the end.
    mover.SetMotion(node, 0, false, Game::PathMover::Once, length, true, length / 4, 0.0f, 1.0f);
    EXPECT_FALSE(mover.IsFinished());
    mover.Update(0.1f);
    EXPECT_NEAR(mover.GetPosition(), 0.15f, 1e-5f);
    mover.Update(0.5f);
    EXPECT_EQ(mover.GetPosition(), 0.0f);
    EXPECT_TRUE(mover.IsFinished());
}

TEST_F(PathMoverOnEllipse, PingPongTurnsAtBothEnds)
{
    mover.SetMotion(node, 0, true, Game::PathMover::PingPong, length, true, 0.0f, 0.0f, 1.0f);

    // A quarter past the far end comes back a quarter, now going backwards.
    mover.Update(1.25f);
    EXPECT_NEAR(mover.GetPosition(), 0.75f, 1e-5f);
    EXPECT_FALSE(mover.IsForward());
    ExpectNear(node->position, mover.GetCurve()->Evaluate(0.75f));
    mover.Update(1.0f);
    EXPECT_NEAR(mover.GetPosition(), 0.25f, 1e-5f);
    EXPECT_TRUE(mover.IsForward());
    // One long step bounces off both ends.
    mover.Update(2.5f);
    EXPECT_NEAR(mover.GetPosition(), 0.75f, 1e-5f);
    EXPECT_TRUE(mover.IsForward());
    EXPECT_FALSE(mover.IsFinished());
}

TEST(PathLine, RunsThroughTheKnots)
{
    // The line shown for a path: sixteen samples per segment, every sixteenth on a knot.
    Spline curve;
    curve.AddKnot(0.0f, Vec(0, 0, 0));
    curve.AddKnot(1.0f, Vec(4, 0, 0));
    curve.AddKnot(4.0f, Vec(4, 6, 0));
    curve.AddKnot(5.0f, Vec(0, 6, 3));
    Korvo::Curve path(curve);
    const std::vector<Vec>& line = path.GetLinePoints();
    const int samples = Korvo::Curve::kSamplesPerSegment;
    ASSERT_EQ(line.size(), static_cast<size_t>(3 * samples + 1));
    ASSERT_EQ(path.GetKnotPoints().size(), 4u);
    for (int i = 0; i < 4; ++i) {
        ExpectNear(line[i * samples], curve.KnotPoint(i));
        EXPECT_EQ(path.GetKnotPoints()[i], curve.KnotPoint(i));
    }
    // Samples are evenly spread in time within each segment, however long it lasts.
    ExpectNear(line[samples + samples / 2], curve.Evaluate(2.5f));
    ExpectNear(line[samples + 1], curve.Evaluate(1.0f + 3.0f / samples));

    // No knot, no line; one knot, a line of one point on it.
    Spline empty;
    Korvo::Curve none(empty);
    EXPECT_TRUE(none.GetLinePoints().empty());
    EXPECT_TRUE(none.GetKnotPoints().empty());
    empty.AddKnot(2.0f, Vec(1, 2, 3));
    Korvo::Curve one(empty);
    ASSERT_EQ(one.GetLinePoints().size(), 1u);
    EXPECT_EQ(one.GetLinePoints()[0], Vec(1, 2, 3));
}

} // namespace
