#pragma once

#include "app/Ptr.h"
#include "game/Curve.h"
#include "gl/VertexBuffer.h"
#include "gl/VertexFormat.h"
#include "world/IEntity.h"

#include <string>
#include <vector>

namespace Korvo {

// A path shown in the world as a line strip through points sampled along a curve, with
// its knots as points of size 3. A debugging aid; the samples are taken once, when the
// path is built, and go into two vertex buffers (generic attribute 0, three floats) at
// the first draw, since a path may be built before any OpenGL context exists.
class Curve : public IEntity {
public:
    // Samples per segment between two knots.
    static const int kSamplesPerSegment = 16;

    explicit Curve(Math::Curve<Math::Vec3f, 3>& curve);
    ~Curve() override = default;

    std::string GetTypeName() const override { return "Korvo::Curve"; }

    // Draws the line and the knots through the render device with the current program,
    // colour and matrices.
    virtual void Draw() const;

    const std::vector<Math::Vec3f>& GetLinePoints() const { return linePoints; }
    const std::vector<Math::Vec3f>& GetKnotPoints() const { return knotPoints; }

private:
    std::vector<Math::Vec3f> linePoints;
    std::vector<Math::Vec3f> knotPoints;
    mutable GL::VertexFormat format;
    mutable Sys::Ptr<GL::VertexBuffer> lineBuffer;
    mutable Sys::Ptr<GL::VertexBuffer> knotBuffer;
};

} // namespace Korvo
