#pragma once

#include "game/Curve_Spline.h"

#include <cmath>

namespace Math {

// Catmull-Rom spline: each segment blends the four knots around it with the uniform
// basis (tension 0.5) in the segment's local parameter u = 0..1, so the curve passes
// through every knot whatever the segments' durations.
//
// End modes: open extrapolates knots beyond the ends, clamped holds the parameter inside
// the knot range, closed repeats the knots with the period last time + closing gap.
template <class T, int N>
class Curve_SplineCatmullRom : public Curve_Spline<T, N> {
public:
    enum EndMode { Open = 0, Clamped = 1, Closed = 2 };

    ~Curve_SplineCatmullRom() override = default;

    T Evaluate(float t) override
    {
        float w[4], u = 0.0f;
        const int i = Locate(t, u);
        if (i < 0)
            return this->points.empty() ? T() : this->points[0];
        w[0] = 0.5f * (-u * u * u + 2.0f * u * u - u);
        w[1] = 0.5f * (3.0f * u * u * u - 5.0f * u * u + 2.0f);
        w[2] = 0.5f * (-3.0f * u * u * u + 4.0f * u * u + u);
        w[3] = 0.5f * (u * u * u - u * u);
        return Blend(i, w, 1.0f);
    }

    T EvaluateDerivative(float t) override
    {
        float w[4], u = 0.0f;
        const int i = Locate(t, u);
        if (i < 0)
            return T();
        w[0] = 0.5f * (-3.0f * u * u + 4.0f * u - 1.0f);
        w[1] = 4.5f * u * u - 5.0f * u;
        w[2] = 0.5f * (-9.0f * u * u + 8.0f * u + 1.0f);
        w[3] = 1.5f * u * u - u;
        return Blend(i, w, 1.0f / Duration(i));
    }

    T EvaluateSecondDerivative(float t) override
    {
        float w[4], u = 0.0f;
        const int i = Locate(t, u);
        if (i < 0)
            return T();
        w[0] = -3.0f * u + 2.0f;
        w[1] = 9.0f * u - 5.0f;
        w[2] = -9.0f * u + 4.0f;
        w[3] = 3.0f * u - 1.0f;
        const float d = Duration(i);
        return Blend(i, w, 1.0f / (d * d));
    }

    bool IsFinished(float t) override
    {
        return endMode != Closed && Curve<T, N>::IsFinished(t);
    }

    float KnotTime(int i) override
    {
        const int n = this->GetNumKnots();
        if (endMode != Closed || n == 0 || (i >= 0 && i < n))
            return Curve<T, N>::KnotTime(i);
        const float period = this->times[n - 1] + closingGap;
        return this->times[Wrap(i, n)] + static_cast<float>(FloorDiv(i, n)) * period;
    }

    T KnotPoint(int i) override
    {
        const int n = this->GetNumKnots();
        if (endMode != Closed || n == 0 || (i >= 0 && i < n))
            return Curve<T, N>::KnotPoint(i);
        return this->points[Wrap(i, n)];
    }

    void SetEndMode(int mode) { endMode = mode; }
    void SetClosingGap(float gap) { closingGap = gap; }
    int GetEndMode() const { return endMode; }
    float GetClosingGap() const { return closingGap; }

protected:
    int endMode = Open;
    float closingGap = 0.0f;

private:
    // Segment index for t and the local parameter in it; -1 with fewer than two knots.
    int Locate(float t, float& local)
    {
        const int n = this->GetNumKnots();
        if (n < 2)
            return -1;
        if (endMode == Clamped)
            t = std::min(std::max(t, this->times[0]), this->times[n - 1]);
        // A closed curve repeats: any parameter reads the same as its place in the first
        // period, from the first knot up to the closing segment's end.
        const float period = this->times[n - 1] + closingGap;
        const float first = this->times[0];
        if (endMode == Closed && period > 0.0f && (t < first || t > first + period))
            t -= std::floor((t - first) / period) * period;
        const int i = this->FindSegment(t);
        const float t0 = KnotTime(i - 1);
        local = (t - t0) / (KnotTime(i) - t0);
        return i;
    }

    float Duration(int i) { return KnotTime(i) - KnotTime(i - 1); }

    T Blend(int i, const float w[4], float scale)
    {
        return (KnotPoint(i - 2) * w[0] + KnotPoint(i - 1) * w[1] + KnotPoint(i) * w[2] +
                KnotPoint(i + 1) * w[3]) * scale;
    }

    static int Wrap(int i, int n) { return ((i % n) + n) % n; }
    static int FloorDiv(int i, int n) { return (i - Wrap(i, n)) / n; }

};

} // namespace Math
