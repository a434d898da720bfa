#include "game/IDemo.h"

#include "render/WorldRenderer.h"
#include "world/RenderGL2.h"

namespace Game {

IDemo::IDemo(Platform::HWND window_)
    : window(window_)
{
    render = Sys::Ptr<Korvo::IRender>(new Korvo::RenderGL2(window));
    world = Sys::Ptr<Korvo::IWorldRenderer>(new Korvo::WorldRenderer());
    timer = Sys::Ptr<Utils::Timer>(new Utils::Timer(1));
}

IDemo::~IDemo()
{
    timer = nullptr;
    world = nullptr;
    render = nullptr;
}

float IDemo::NextTimeStep()
{
    return static_cast<float>(static_cast<double>(timer->GetDeltaTime()) / 1000.0);
}

} // namespace Game
