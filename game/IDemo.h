#pragma once

#include "app/IObject.h"
#include "app/Ptr.h"
#include "app/Timer.h"
#include "platform/Platform.h"
#include "world/IRender.h"
#include "world/IWorldRenderer.h"

#include <cstdint>

namespace Game {

// Base of a scene: brings up the render system, the world renderer and the frame timer
// for the main window, and takes them down in reverse order.
class IDemo : public Sys::IObject {
public:
    explicit IDemo(Platform::HWND window);
    ~IDemo() override;

    // key: the virtual-key code of a key press (repeats included).
    virtual void OnKeyDown(uint32_t key) = 0;
    // One frame: move, aim the cameras, draw and present.
    virtual void OnFrame() = 0;

    Sys::Ptr<Korvo::IWorldRenderer> GetWorld() const { return world; }

protected:
    // A scene that draws nothing and brings up nothing (the program tests' recording
    // scene): the render system, the world renderer and the timer stay empty.
    IDemo() : window(nullptr) {}

    // Seconds since the previous frame; 0 on the first.
    float NextTimeStep();

    Platform::HWND window;
    Sys::Ptr<Korvo::IRender> render;
    Sys::Ptr<Korvo::IWorldRenderer> world;
    Sys::Ptr<Utils::Timer> timer;
};

} // namespace Game
