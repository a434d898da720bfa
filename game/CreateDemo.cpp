#include "game/Main.h"

#include "game/Orvel_DAZU.h"
#include "game/Orvel_ZORI.h"

// The scene chosen by demo_ID: 0 is "Zir Aradid Azavera-Zuva", any other value
// "Zedov Avivi Ridor Izoder". (The program tests' twin of the program brings its own.)
Game::IDemo* CreateDemo(Platform::HWND window, int demoId)
{
    if (demoId == 0)
        return new Game::Orvel_DAZU(window);
    return new Game::Orvel_ZORI(window);
}
