#include "gl/FrameBuffer.h"
#include "gl/FrameBufferObject.h"
#include "gl/OutlineFont.h"
#include "gl/RenderDevice_Release.h"
#include "gl/TextGeometryCache.h"
#include "gl/TextureRectangle.h"
#include "tests/gl/GLFixture.h"
#include "tests/support/FixtureContext.h"

#include <GL/glew.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

// The program's C++ allocations, counted for the check that printing a cached text
// allocates nothing.
static std::atomic<long> g_Allocations{0};

void* operator new(std::size_t size)
{
    ++g_Allocations;
    if (void* p = std::malloc(size != 0 ? size : 1))
        return p;
    throw std::bad_alloc();
}
// The replacements pair malloc with free. Where GCC inlines them next to an operator new it
// takes the pair for a mismatch, which it is not.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

namespace {

// Largest distance between the curve and the chords that stand for it.
double WorstChordError(const double* x, const double* y, int order, double deviation)
{
    std::vector<double> outX, outY;
    GL::OutlineFont::Flatten(x, y, order, deviation, outX, outY);
    const int steps = static_cast<int>(outX.size());
    double worst = 0.0, previousX = x[0], previousY = y[0];
    for (int i = 0; i < steps; ++i) {
        for (int k = 1; k < 8; ++k) {
            // The point of the curve at t, by repeated interpolation of the control points.
            const double t = (i + k / 8.0) / steps;
            double cx[4], cy[4];
            std::copy(x, x + order, cx);
            std::copy(y, y + order, cy);
            for (int level = order - 1; level > 0; --level)
                for (int j = 0; j < level; ++j) {
                    cx[j] += t * (cx[j + 1] - cx[j]);
                    cy[j] += t * (cy[j + 1] - cy[j]);
                }
            const double ex = outX[i] - previousX, ey = outY[i] - previousY;
            const double d = std::fabs((cx[0] - previousX) * ey - (cy[0] - previousY) * ex);
            worst = std::max(worst, d / std::sqrt(ex * ex + ey * ey));
        }
        previousX = outX[i];
        previousY = outY[i];
    }
    return worst;
}

} // namespace

TEST(OutlineFontGeometry, CurvesAreFlattenedWithinTheDeviation)
{
    const double qx[3] = {0.0, 0.5, 1.0}, qy[3] = {0.0, 1.0, 0.0};
    const double cx[4] = {0.0, 0.0, 1.0, 1.0}, cy[4] = {0.0, 1.0, 1.0, 0.0};
    for (double deviation : {0.1, 0.01, 0.001}) {
        EXPECT_LE(WorstChordError(qx, qy, 3, deviation), deviation) << deviation;
        EXPECT_LE(WorstChordError(cx, cy, 4, deviation), deviation) << deviation;
    }
    // A straight "curve" needs no more than its end point.
    const double lx[3] = {0.0, 0.5, 1.0}, ly[3] = {0.0, 0.5, 1.0};
    std::vector<double> outX, outY;
    GL::OutlineFont::Flatten(lx, ly, 3, 0.01, outX, outY);
    ASSERT_EQ(outX.size(), 1u);
    EXPECT_DOUBLE_EQ(outX[0], 1.0);
}

// The overlay's Russian texts are in Windows-1251; Ё and ё lie outside the block.
TEST(OutlineFontGeometry, CodePage1251)
{
    const unsigned codes[][2] = {{'A', 0x41}, {0xC0, 0x0410}, {0xFF, 0x044F},
                                 {0xA8, 0x0401}, {0xB8, 0x0451}, {0x98, 0}};
    for (const auto& code : codes)
        EXPECT_EQ(GL::OutlineFont::FromCodePage1251(code[0]), code[1]) << code[0];
}

class OutlineFontDrawing : public GLFixture {
protected:
    void SetUp() override
    {
        GLFixture::SetUp();
        fbo = Sys::Ptr<GL::FrameBufferObject>(new GL::FrameBufferObject(256, 64));
        fbo->AttachTextureRectangle(GL_COLOR_ATTACHMENT0_EXT, Sys::Ptr<const GL::TextureRectangle>(
            new GL::TextureRectangle(GL_RGBA8, 256, 64, GL_RGBA, GL_UNSIGNED_BYTE)));
        fbo->Bind();
        glDrawBuffer(GL_COLOR_ATTACHMENT0_EXT);
        glReadBuffer(GL_COLOR_ATTACHMENT0_EXT);
        fbo->CheckStatus();
        glViewport(0, 0, 256, 64);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 256, 0, 64, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glColor3f(1, 1, 1);
    }
    void TearDown() override
    {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
        GLFixture::TearDown();
    }
    static std::vector<unsigned char> Pixels()
    {
        std::vector<unsigned char> pixels(256 * 64 * 4);
        glReadPixels(0, 0, 256, 64, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    int LitPixels(int x0, int x1)
    {
        const std::vector<unsigned char> pixels = Pixels();
        int lit = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = x0; x < x1; ++x)
                lit += pixels[4 * (y * 256 + x)] > 128 ? 1 : 0;
        return lit;
    }
    void Clear()
    {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    Sys::Ptr<GL::FrameBufferObject> fbo;
};

TEST_F(OutlineFontDrawing, DrawsLatinAndCyrillicWithoutTouchingTheMatrixStack)
{
    GL::OutlineFont font("Arial", 0.0f, 0.2f);
    EXPECT_EQ(font.GetSize(), 14);
    GLint depthBefore = 0, depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);

    Clear();
    font.Print(4, 20, "");
    EXPECT_EQ(LitPixels(0, 256), 0);

    font.Print(4, 20, "Frames per second: 60");
    const int latin = LitPixels(0, 256);
    EXPECT_GT(latin, 150);
    // 22 characters of 14-pixel text stay well inside the 256-pixel line.
    EXPECT_EQ(LitPixels(200, 256), 0);

    Clear();
    // "Кадров в секунду" in Windows-1251.
    const char cyrillic[] = "\xCA\xE0\xE4\xF0\xEE\xE2 \xE2 \xF1\xE5\xEA\xF3\xED\xE4\xF3";
    font.Print(4, 20, std::string(cyrillic));
    EXPECT_GT(LitPixels(0, 256), 150);

    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    GLint listBase = -1;
    glGetIntegerv(GL_LIST_BASE, &listBase);
    EXPECT_EQ(listBase, 0);
}

// The cache draws the font's triangles from one buffer: the pixels must match the font's
// own print, with back faces culled so that a triangle wound the wrong way would vanish.
class TextGeometryCacheDrawing : public OutlineFontDrawing {
protected:
    // Pixels where the cached print and the font's own print differ.
    int Differing(GL::TextGeometryCache& cache, const GL::OutlineFont& font,
                  const std::string& text)
    {
        Clear();
        font.Print(4, 20, text);
        const std::vector<unsigned char> expected = Pixels();
        Clear();
        cache.Print(*device, 4, 20, text);
        const std::vector<unsigned char> drawn = Pixels();
        int differing = 0;
        for (size_t i = 0; i < drawn.size(); i += 4)
            differing += drawn[i] != expected[i] ? 1 : 0;
        return differing;
    }
    void SetUp() override
    {
        OutlineFontDrawing::SetUp();
        device = Sys::Ptr<GL::RenderDevice_Release>(new GL::RenderDevice_Release(
            Sys::Ptr<GL::FrameBuffer>(new GL::FrameBuffer(
                Sys::Ptr<GL::IContext>(new FixtureContext(dc, context, true)), 256, 64))));
        GL::VertexFormat position;
        position.AddAttribute(0, 3, GL_FLOAT);
        position.Compile();
        device->SetVertexFormat(position);
        glEnable(GL_CULL_FACE);
    }
    void TearDown() override
    {
        glDisable(GL_CULL_FACE);
        device->SetVertexFormat(GL::VertexFormat());
        device->SetVertexAttributes(nullptr);
        device = nullptr;
        OutlineFontDrawing::TearDown();
    }
    Sys::Ptr<GL::RenderDevice_Release> device;
};

// Printing a cached text allocates nothing; a text that made room for others draws right
// when it comes back, also into a slot whose buffer was too small for it.
TEST_F(TextGeometryCacheDrawing, DrawsWhatTheFontDrawsStaysSmallAndKeepsWhatIsInUse)
{
    Sys::Ptr<GL::OutlineFont> font(new GL::OutlineFont("Arial", 0.0f, 0.0f));
    GL::TextGeometryCache cache(font, 3);
    for (const std::string text : {"\xC4\xE5\xEC\xEE\xF1\xF6\xE5\xED\xE0: Zedov @%&", "", "   "})
        EXPECT_EQ(Differing(cache, *font, text), 0) << text;
    EXPECT_EQ(LitPixels(0, 256), 0);   // the last text is blank

    const std::string steady = "Videocard: llvmpipe";
    for (int second = 0; second < 20; ++second) {
        cache.Print(*device, 4, 20, steady);
        cache.Print(*device, 4, 40, "Frames per second: " + std::to_string(second));
    }
    EXPECT_EQ(cache.GetCount(), 3);
    EXPECT_EQ(cache.GetLayouts(), 24);
    const long allocations = g_Allocations;
    cache.Print(*device, 4, 20, steady);
    EXPECT_EQ(g_Allocations - allocations, 0);

    EXPECT_EQ(Differing(cache, *font, "Frames per second: 5 and a much longer tail WWW"), 0);
    EXPECT_EQ(Differing(cache, *font, steady), 0);
    EXPECT_EQ(Differing(cache, *font, "Frames per second: 1"), 0);
    EXPECT_EQ(cache.GetLayouts(), 26);
}
