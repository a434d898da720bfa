#include "game/PathMover.h"
#include "math/Mat4.h"
#include "tests/support/DeviceFixture.h"

#include <GL/glew.h>

#include <cmath>

namespace {

using Vec = Math::Vec3f;

class PathDrawing : public DeviceFixture {
protected:
    void SetUp() override
    {
        DeviceFixture::SetUp();
        glViewport(0, 0, 256, 256);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glColor3f(1, 1, 1);
    }

    static bool Lit(int x, int y)
    {
        unsigned char pixel[4] = {0, 0, 0, 0};
        glReadBuffer(GL_BACK);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
        return pixel[0] > 128;
    }
};

// A circle path in the floor plane, seen from straight above with an orthographic view:
// the line lands on the circle's pixels, the knots too, and nothing inside it.
TEST_F(PathDrawing, DrawsTheSampledLineThroughTheDevice)
{
    Game::PathMover mover;
    mover.BuildEllipsePath(Vec(0, 0, 0), 0.75f, 0.75f, 16);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(Math::Mat4::RotationX(float(M_PI) / 2).Data());   // z up the screen

    mover.GetPath()->Draw();
    mover.GetPath()->Draw();   // the buffers are made once and reused
    const int r = 96;           // 0.75 of the half width
    int hits = 0;
    for (int degrees = 0; degrees < 360; degrees += 15) {
        const double a = degrees * M_PI / 180;
        const int x = 128 + static_cast<int>(std::lround(r * std::cos(a)));
        const int y = 128 + static_cast<int>(std::lround(r * std::sin(a)));
        bool near = false;
        for (int dx = -2; dx <= 2; ++dx)
            for (int dy = -2; dy <= 2; ++dy)
                near = near || Lit(x + dx, y + dy);
        hits += near ? 1 : 0;
    }
    EXPECT_EQ(hits, 24);
    EXPECT_FALSE(Lit(128, 128));
    EXPECT_FALSE(Lit(128 + r / 2, 128));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
