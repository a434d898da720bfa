#include "game/KorvoCurve.h"

#include <GL/gl.h>

namespace Korvo {

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
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(Math::Vec3f), linePoints.data());
    glDrawArrays(GL_LINE_STRIP, 0, static_cast<GLsizei>(linePoints.size()));
    glPointSize(3.0f);
    glVertexPointer(3, GL_FLOAT, sizeof(Math::Vec3f), knotPoints.data());
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(knotPoints.size()));
    glPointSize(1.0f);
    glPopClientAttrib();
}

} // namespace Korvo
