#pragma once

#include "game/Curve.h"
#include "game/IMover.h"
#include "game/INode.h"
#include "game/KorvoCurve.h"

namespace Game {

// Moves a node along a spline path at a constant speed in world units per second.
// The parameter `position` runs over 0..1 for the whole path; `length` converts speeds
// and start offsets from world units into that parameter.
class PathMover : public IMover {
public:
    enum WrapMode { Once = 0, Loop = 1, PingPong = 2 };
    enum OrientMode { OrientNone = 0, OrientAlongPath = 1 };

    PathMover() = default;
    ~PathMover() override = default;

    // A closed ellipse in the plane y = center.y through segments + 1 knots (the last
    // on top of the first), timed by chord length over 0..1.
    void BuildEllipsePath(const Math::Vec3f& center, float radiusA, float radiusB,
                          int segments) override;
    void SetMotion(Sys::Ptr<INode> node, int orientMode, bool forward, int wrapMode,
                   float speedOrDuration, bool isSpeed, float start, float rangeA,
                   float rangeB) override;
    void Update(float dt) override;

    void SetSpeed(float unitsPerSecond) { speed = unitsPerSecond; }

    float GetLength() const { return length; }
    float GetSpeed() const { return speed; }
    float GetPosition() const { return position; }
    bool IsForward() const { return forward; }
    bool IsFinished() const { return finished; }
    Sys::Ptr<Math::Curve<Math::Vec3f, 3>> GetCurve() const { return curve; }
    Sys::Ptr<Korvo::Curve> GetPath() const { return path; }

    // Arc length of the curve between two parameters, by Romberg integration of the
    // speed |dC/dt| (five refinements of the trapezoid rule).
    static float ArcLength(Math::Curve<Math::Vec3f, 3>& curve, float t0, float t1);

private:
    Sys::Ptr<Math::Curve<Math::Vec3f, 3>> curve;
    float length = 0.0f;
    Sys::Ptr<INode> node;
    int orientMode = OrientNone;
    bool forward = true;
    int wrapMode = Once;
    float speed = 0.0f;
    float start = 0.0f;
    float rangeA = 0.0f;
    float rangeB = 0.0f;
    float position = 0.0f;
    float lookAhead = 0.0f;
    bool noOrient = false;
    bool finished = false;
    Sys::Ptr<Korvo::Curve> path;
};

} // namespace Game
