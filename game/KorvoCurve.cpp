#include "game/KorvoCurve.h"

#include "gl/IRenderDevice.h"

#include <GL/glew.h>

#include <cstring>

namespace Korvo {

namespace {

Sys::Ptr<GL::VertexBuffer> MakeBuffer(const GL::VertexFormat& format,
                                      const std::vector<Math::Vec3f>& points)
{
    Sys::Ptr<GL::VertexBuffer> buffer(
        new GL::VertexBuffer(format, static_cast<int>(points.size()), GL_STATIC_DRAW));
    void* data = buffer->Map();
    std::memcpy(data, points.data(), points.size() * sizeof(Math::Vec3f));
    buffer->Unmap();
    return buffer;
}

} // namespace

Curve::Curve(Math::Curve<Math::Vec3f, 3>& curve)
{
    const int knots = curve.GetNumKnots();
    knotPoints.reserve(knots);
    for (int i = 0; i < knots; ++i)
        knotPoints.push_back(curve.KnotPoint(i));
    if (knots == 0)
        return;

    linePoints.reserve((knots - 1) * kSamplesPerSegment + 1);
    linePoints.push_back(curve.Evaluate(curve.KnotTime(0)));
    for (int i = 1; i < knots; ++i) {
        const float t0 = curve.KnotTime(i - 1);
        const float t1 = curve.KnotTime(i);
        for (int j = 1; j <= kSamplesPerSegment; ++j)
            linePoints.push_back(curve.Evaluate(t0 + (t1 - t0) * j / kSamplesPerSegment));
    }
}

void Curve::Draw() const
{
    if (linePoints.empty())
        return;
    if (lineBuffer.IsEmpty()) {
        format = GL::VertexFormat();
        format.AddAttribute(0, 3, GL_FLOAT);
        format.Compile();
        lineBuffer = MakeBuffer(format, linePoints);
        knotBuffer = MakeBuffer(format, knotPoints);
    }
    GL::Device->SetVertexFormat(format);
    GL::Device->SetVertexBuffer(lineBuffer);
    GL::Device->DrawArrays(GL_LINE_STRIP, 0, static_cast<int>(linePoints.size()));
    glPointSize(3.0f);
    GL::Device->SetVertexBuffer(knotBuffer);
    GL::Device->DrawArrays(GL_POINTS, 0, static_cast<int>(knotPoints.size()));
    glPointSize(1.0f);
}

} // namespace Korvo
