#pragma once

#include "gl/IContext.h"

#include <string>

// The GL fixture's window context seen through the context interface; isWindow false
// makes it pass for an off-screen one.
class FixtureContext : public GL::IContext {
public:
    FixtureContext(Platform::HDC dc, Platform::HGLRC rc, bool isWindow = true)
    {
        deviceContext = dc;
        renderContext = rc;
        window = isWindow;
        requested.DoubleBuffer = true;
    }
    std::string GetTypeName() const override { return "FixtureContext"; }
    void SwapBuffers() override { Platform::SwapBuffers(deviceContext); }
};
