#pragma once

#include "gl/IObject.h"
#include "gl/PixelFormatDesc.h"
#include "platform/Platform.h"

#include <string>
#include <vector>

namespace GL {

// A device context and an OpenGL rendering context made for a requested pixel format:
// the window's (GL::WindowContext) or an off-screen P-buffer's (GL::PBuffer).
class IContext : public IObject {
public:
    ~IContext() override = default;

    std::string GetTypeName() const override { return "GL::IContext"; }
    virtual void SwapBuffers() = 0;

    // The format actually chosen, read back from the driver.
    PixelFormatDesc GetPixelFormatDesc() const;

    Platform::HDC GetDC() const { return deviceContext; }
    Platform::HGLRC GetRC() const { return renderContext; }
    int GetPixelFormat() const { return pixelFormat; }
    const PixelFormatDesc& GetRequestedDesc() const { return requested; }
    bool IsWindow() const { return window; }

    // Makes this context current on its own device context; false on failure.
    bool MakeCurrent() const { return Platform::wglMakeCurrent(deviceContext, renderContext) != 0; }

protected:
    // Creates a context on dc into context, then makes it current; context is set before
    // the second step so that a failure there leaves it for the caller to delete.
    void CreateCurrentContext(Platform::HDC dc, Platform::HGLRC& context) const;
    // Deletes a context, leaving no context current first if it is the current one.
    static void DeleteContext(Platform::HGLRC context);
    // The colour, depth, stencil and auxiliary buffer sizes of a format query.
    static void AppendBufferBits(std::vector<int>& attributes, const PixelFormatDesc& desc,
                                 int colorBits);

    Platform::HDC deviceContext = nullptr;
    Platform::HGLRC renderContext = nullptr;
    int pixelFormat = 0;
    PixelFormatDesc requested;
    bool window = false;
};

} // namespace GL
