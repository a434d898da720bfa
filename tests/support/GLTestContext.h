#pragma once

// The one way GL tests get an OpenGL context: a hidden window of the platform layer with
// a current, double-buffered RGBA8 context (24-bit depth, 8-bit stencil), GLEW loaded.
//
//     class MyTest : public Test::GLTest {};
//     TEST_F(MyTest, Draws) { glClear(GL_COLOR_BUFFER_BIT); ... }
//
// GLTest fails the test when no context can be made, and again when a GL error is left
// pending at the end of the test.

#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace Test {

// A hidden window of the test window class, with no pixel format yet.
class GLTestWindow {
public:
    GLTestWindow(int width = 256, int height = 256);
    ~GLTestWindow();

    GLTestWindow(const GLTestWindow&) = delete;
    GLTestWindow& operator=(const GLTestWindow&) = delete;

    Platform::HWND Get() const { return window; }

private:
    Platform::HWND window = nullptr;
};

class GLTestContext {
public:
    GLTestContext(int width = 256, int height = 256);
    ~GLTestContext();

    GLTestContext(const GLTestContext&) = delete;
    GLTestContext& operator=(const GLTestContext&) = delete;

    // False when the window or context could not be made; Error() then says why.
    bool IsReady() const { return renderContext != nullptr; }
    const std::string& Error() const { return error; }

    Platform::HWND GetWindow() const { return window.Get(); }
    Platform::HDC GetDC() const { return deviceContext; }
    Platform::HGLRC GetRC() const { return renderContext; }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }

    bool MakeCurrent() const;
    void SwapBuffers() const;

private:
    bool Fail(const char* what);

    GLTestWindow window;
    Platform::HDC deviceContext = nullptr;
    Platform::HGLRC renderContext = nullptr;
    int width = 0, height = 0;
    std::string error;
};

class GLTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<GLTestContext> context;
};

} // namespace Test
