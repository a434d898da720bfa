#include "app/Main.h"

#if KORVO_HAS_SCENES
#include "game/Orvel_DAZU.h"
#include "game/Orvel_ZORI.h"
#endif

// The scene chosen by demo_ID: 0 is "Zir Aradid Azavera-Zuva", any other value
// "Zedov Avivi Ridor Izoder". A build without the scene library has no scene to make;
// the main loop then runs without drawing anything.
Game::IDemo* CreateDemo(Platform::HWND window, int demoId)
{
#if KORVO_HAS_SCENES
    if (demoId == 0)
        return new Game::Orvel_DAZU(window);
    return new Game::Orvel_ZORI(window);
#else
    (void)window;
    (void)demoId;
    return nullptr;
#endif
}
