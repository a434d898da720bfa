#pragma once

#include "app/Ptr.h"
#include "game/IDemo.h"
#include "platform/Platform.h"
#include "render/IRenderer.h"
#include "render/WorldRenderer.h"

#include <cstdint>
#include <string>

namespace Capture {

// One of the demo scenes ("zori" or "dazu") on a window, whose frame timer advances by a
// fixed step instead of the wall clock, so that a frame number always shows the same
// moment of the scene. The step lives in a process-wide clock: one such scene at a time.
class FixedStepDemo {
public:
    // Throws Sys::Exception for an unknown scene name.
    FixedStepDemo(const std::string& sceneName, Platform::HWND window, int32_t stepMs);
    ~FixedStepDemo();
    FixedStepDemo(const FixedStepDemo&) = delete;
    FixedStepDemo& operator=(const FixedStepDemo&) = delete;

    // One frame of the scene: move, draw and present.
    void Step();

    Sys::Ptr<Korvo::WorldRenderer> GetWorld() const { return World; }
    Sys::Ptr<Korvo::IRenderer> GetRenderer() const { return World->GetRenderer(); }

private:
    Sys::Ptr<Game::IDemo> Scene;
    Sys::Ptr<Korvo::WorldRenderer> World;
};

} // namespace Capture
