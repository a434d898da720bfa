#include "game/PathMover.h"

#include "game/Curve_SplineCatmullRom.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace Game {

namespace {

const float kLookAhead = 0.01f;

} // namespace

void PathMover::BuildEllipsePath(const Math::Vec3f& center, float radiusA, float radiusB,
                                 int segments)
{
    if (segments + 1 < 2)
        throw std::invalid_argument("Math::Curve : Should always have greater than 1 knot.");

    std::vector<Math::Vec3f> knots;
    knots.reserve(segments + 1);
    for (int i = 0; i <= segments; ++i) {
        const double theta = 2.0 * M_PI * i / segments;
        knots.push_back(center + Math::Vec3f(static_cast<float>(radiusA * std::sin(theta)), 0.0f,
                                             static_cast<float>(radiusB * std::cos(theta))));
    }

    // Chord-length timing keeps the parameter roughly proportional to distance, so the
    // spline's speed varies little along the path.
    std::vector<double> chord(knots.size(), 0.0);
    for (size_t i = 1; i < knots.size(); ++i)
        chord[i] = chord[i - 1] + (knots[i] - knots[i - 1]).Length();
    const double total = chord.back();

    auto* spline = new Math::Curve_SplineCatmullRom<Math::Vec3f, 3>();
    curve = Sys::Ptr<Math::Curve<Math::Vec3f, 3>>(spline);
    spline->SetEndMode(0);
    spline->SetClosingGap(0.0f);
    for (size_t i = 0; i < knots.size(); ++i)
        spline->AddKnot(total > 0.0 ? static_cast<float>(chord[i] / total) : 0.0f, knots[i]);

    length = 0.0f;
    for (int i = 1; i < curve->GetNumKnots(); ++i)
        length += ArcLength(*curve, curve->KnotTime(i - 1), curve->KnotTime(i));

    path = Sys::Ptr<Korvo::Curve>(new Korvo::Curve(*curve));
}

float PathMover::ArcLength(Math::Curve<Math::Vec3f, 3>& curve, float t0, float t1)
{
    const int kRefinements = 5;
    const float h = t1 - t0;
    if (!(h > 0.0f))
        return 0.0f;
    // A knot belongs to the segment it ends, so the speed at t0 itself would come from
    // the previous segment; sample a hair inside this one instead.
    const float a = t0 + h * 1e-4f;
    auto speedAt = [&curve](float t) { return double(curve.EvaluateDerivative(t).Length()); };

    double r[kRefinements + 1][kRefinements + 1];
    r[0][0] = 0.5 * (t1 - a) * (speedAt(a) + speedAt(t1));
    int intervals = 1;
    for (int k = 1; k <= kRefinements; ++k) {
        const double step = double(t1 - a) / intervals;
        double sum = 0.0;
        for (int j = 0; j < intervals; ++j)
            sum += speedAt(static_cast<float>(a + (j + 0.5) * step));
        r[k][0] = 0.5 * (r[k - 1][0] + step * sum);
        intervals *= 2;
        double factor = 1.0;
        for (int m = 1; m <= k; ++m) {
            factor *= 4.0;
            r[k][m] = r[k][m - 1] + (r[k][m - 1] - r[k - 1][m - 1]) / (factor - 1.0);
        }
    }
    // The sliver [t0, a] at the segment's starting speed.
    return static_cast<float>(r[kRefinements][kRefinements] + (a - t0) * speedAt(a));
}

void PathMover::SetMotion(Sys::Ptr<INode> node_, int orientMode_, bool forward_, int wrapMode_,
                          float speedOrDuration, bool isSpeed, float start_, float rangeA_,
                          float rangeB_)
{
    node = node_;
    orientMode = orientMode_;
    forward = forward_;
    wrapMode = wrapMode_;
    speed = isSpeed ? speedOrDuration : length / speedOrDuration;
    start = start_ / length;
    rangeA = rangeA_ / length;
    rangeB = rangeB_ / length;
    position = start;
    finished = false;
}

void PathMover::Update(float dt)
{
    if (finished)
        return;

    const float step = speed * dt / length;
    position += forward ? step : -step;

    switch (wrapMode) {
    case Once:
        if (position >= 1.0f) {
            position = 1.0f;
            finished = forward;
        } else if (position <= 0.0f) {
            position = 0.0f;
            finished = !forward;
        }
        break;
    case Loop:
        while (position > 1.0f)
            position -= 1.0f;
        while (position < 0.0f)
            position += 1.0f;
        break;
    case PingPong:
        while (position > 1.0f || position < 0.0f) {
            position = position > 1.0f ? 2.0f - position : -position;
            forward = !forward;
        }
        break;
    default:
        break;
    }

    noOrient = false;
    if (orientMode == OrientAlongPath) {
        lookAhead = position + (forward ? kLookAhead : -kLookAhead);
        if (wrapMode == Loop) {
            while (lookAhead > 1.0f)
                lookAhead -= 1.0f;
            while (lookAhead < 0.0f)
                lookAhead += 1.0f;
        } else if (forward ? (1.0f - position < kLookAhead) : (position < kLookAhead)) {
            noOrient = true;
        }
    }

    const Math::Vec3f p = curve->Evaluate(position);
    node->SetPosition(p);

    if (orientMode == OrientAlongPath && !noOrient) {
        const Math::Vec3f q = curve->Evaluate(lookAhead);
        const Math::Vec3f d = Math::Normalize(q - p);
        const Math::Vec3f s = Math::Normalize(Math::Vec3f(-d.z, 0.0f, d.x));
        const Math::Vec3f u = Math::Normalize(Math::Cross(s, d));
        node->SetOrientation(Math::Mat3::FromRows(d, u, s));
    }

    node->Update();
}

} // namespace Game
