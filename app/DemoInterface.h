#pragma once

// The scene interface the main loop drives. With the scene library in the build it is
// the scene framework's own base class; a build without scenes (and the test program,
// which brings its own scene) uses the bare interface below, which is all the loop needs.

#if KORVO_HAS_SCENES
#include "game/IDemo.h"
#else
#include "app/IObject.h"

#include <cstdint>

namespace Game {

class IDemo : public Sys::IObject {
public:
    ~IDemo() override = default;
    // key: the virtual-key code of a key press (repeats included).
    virtual void OnKeyDown(uint32_t key) = 0;
    virtual void OnFrame() = 0;
};

} // namespace Game
#endif
