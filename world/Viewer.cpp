#include "world/Viewer.h"

#include "config/CVars.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace Korvo {

void Viewer::SetProjection(float fov_, float aspect_, float near_, float far_)
{
    fov = std::min(std::max(fov_, 2.0f), 120.0f);
    aspect = aspect_;
    if (!(far_ > near_)) {
        near_ = 4.0f;
        far_ = 4096.0f;
    } else {
        // The far plane first, so that the near plane never ends up on it or beyond: a
        // range both of whose ends lie past the farthest far plane keeps half of it.
        far_ = std::min(std::max(far_, 1.0f), 16384.0f);
        near_ = std::max(near_, 0.1f);
        if (near_ >= far_)
            near_ = 0.5f * far_;
    }
    zNear = near_;
    zFar = far_;

    if (r_GL_DepthClamp.value)
        projection = Math::Mat4::Perspective(fov, aspect, zNear, zFar);
    else if (zFar - zNear > kInfiniteEpsilon)
        projection = Math::Mat4::PerspectiveInfinite(fov, aspect, zNear, kInfiniteEpsilon);
    shortRange = Math::Mat4::Perspective(fov, aspect, zNear, kShortRangeFar);
}

void Viewer::LookAt(const Math::Vec3f& eye, const Math::Vec3f& centre, const Math::Vec3f& up)
{
    view = Math::Mat4::LookAt(eye, centre, up);
    Position = eye;
    // The camera's axes in world space, one per row (the rows of the view rotation):
    // the entity's model matrix is then the inverse of the view matrix.
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            Orientation(row, column) = view(row, column);
}

void Viewer::Draw() const
{
    // The viewing volume from the eye to the short-range far plane: corner rays in
    // translucent yellow, the near and far rectangles in translucent white.
    const Math::Mat4 toWorld = (shortRange * view).Inverse();
    Math::Vec3f corners[8];
    for (int i = 0; i < 8; ++i) {
        const Math::Vec3f ndc((i & 1) ? 1.0f : -1.0f, (i & 2) ? 1.0f : -1.0f,
                              (i & 4) ? 1.0f : -1.0f);
        corners[i] = toWorld.Project(ndc);
    }
    static const int kRect[4] = {0, 1, 3, 2};

    glBegin(GL_LINES);
    glColor4f(1.0f, 1.0f, 0.0f, 0.5f);
    for (int i = 0; i < 4; ++i) {
        glVertex3fv(Position.Data());
        glVertex3fv(corners[4 + i].Data());
    }
    glColor4f(1.0f, 1.0f, 1.0f, 0.3f);
    for (int plane = 0; plane < 8; plane += 4) {
        for (int i = 0; i < 4; ++i) {
            glVertex3fv(corners[plane + kRect[i]].Data());
            glVertex3fv(corners[plane + kRect[(i + 1) % 4]].Data());
        }
    }
    glEnd();
}

} // namespace Korvo
