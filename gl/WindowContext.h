#pragma once

#include "gl/IContext.h"

namespace GL {

// The window's device context and an OpenGL context on a format chosen for the request.
// The new context is current when construction returns; a failure takes down whatever
// was made and makes the previously current context current again.
class WindowContext : public IContext {
public:
    WindowContext(const PixelFormatDesc& desc, Platform::HWND window);
    ~WindowContext() override;

    std::string GetTypeName() const override { return "GL::WindowContext"; }
    void SwapBuffers() override;

    Platform::HWND GetWindow() const { return windowHandle; }

private:
    // The multisampled choice needs the extended format query, whose entry point only a
    // current context can give: a throw-away window and context provide one.
    int ChooseMultisampleFormat(const PixelFormatDesc& desc);

    Platform::HWND windowHandle = nullptr;
};

} // namespace GL
