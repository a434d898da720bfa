#pragma once

#include <algorithm>
#include <stdexcept>
#include <vector>

namespace Math {

// A parametric curve through knots (time, point), the times ascending. The base class
// is a step function: every parameter takes the point of the knot that ends its segment.
// Derived splines interpolate between the knots.
//
// Segment i runs from knot i-1 to knot i; FindSegment(t) names the segment that holds t.
// Movers evaluate a curve every frame with a parameter that changes a little each time,
// so the last answer is cached and tried before the binary search.
template <class T, int N>
class Curve {
public:
    Curve() = default;
    virtual ~Curve() = default;

    // Inserts a knot in time order; returns its index.
    virtual int AddKnot(float t, const T& point)
    {
        const int index = FindSegment(t);
        times.insert(times.begin() + index, t);
        points.insert(points.begin() + index, point);
        return index;
    }

    virtual void RemoveKnot(int index)
    {
        if (index < 0 || index >= GetNumKnots())
            throw std::out_of_range("Math::Curve : Invalid <Index> parameter.");
        times.erase(times.begin() + index);
        points.erase(points.begin() + index);
    }

    virtual void Clear()
    {
        times.clear();
        points.clear();
        lastSegment = -1;
    }

    virtual T Evaluate(float t)
    {
        if (points.empty())
            return T();
        const int index = FindSegment(t);
        return index >= GetNumKnots() ? points.back() : points[index];
    }

    virtual T EvaluateDerivative(float) { return T(); }
    virtual T EvaluateSecondDerivative(float) { return T(); }

    virtual bool IsFinished(float t) { return times.empty() || t >= times.back(); }

    // Index of the first knot whose time is not less than t: 0 for t at or before the
    // first knot, the knot count for t after the last.
    virtual int FindSegment(float t)
    {
        const int n = GetNumKnots();
        const int c = lastSegment;
        if (c >= 0 && c <= n && n > 0) {
            if (c > 0 && c < n && times[c - 1] < t && t <= times[c])
                return c;
            if (c < n && t > times[c] && (c + 1 == n || t <= times[c + 1])) {
                lastSegment = c + 1;
                return c + 1;
            }
            if (c == 0 && t <= times[0])
                return 0;
            if (c == n && t > times[n - 1])
                return n;
        }
        const auto found = std::lower_bound(times.begin(), times.end(), t);
        const int index = static_cast<int>(found - times.begin());
        if (found != times.end() && *found == t)
            return index;
        lastSegment = index;
        return index;
    }

    // Knot time for any index; outside the knots the first and last intervals continue.
    virtual float KnotTime(int i)
    {
        const int n = GetNumKnots();
        if (n == 0)
            return 0.0f;
        if (i >= 0 && i < n)
            return times[i];
        if (n == 1)
            return times[0];
        if (i < 0)
            return times[0] + static_cast<float>(i) * (times[1] - times[0]);
        return times[n - 1] + static_cast<float>(i - (n - 1)) * (times[n - 1] - times[n - 2]);
    }

    // Knot point for any index, continued linearly from the two end knots.
    virtual T KnotPoint(int i)
    {
        const int n = GetNumKnots();
        if (n == 0)
            return T();
        if (i >= 0 && i < n)
            return points[i];
        if (n == 1)
            return points[0];
        if (i < 0)
            return points[0] + (points[1] - points[0]) * static_cast<float>(i);
        return points[n - 1] + (points[n - 1] - points[n - 2]) * static_cast<float>(i - (n - 1));
    }

    int GetNumKnots() const { return static_cast<int>(times.size()); }
    int GetLastSegment() const { return lastSegment; }

protected:
    std::vector<float> times;
    std::vector<T> points;
    int lastSegment = -1;
};

} // namespace Math
