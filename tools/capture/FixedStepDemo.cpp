#include "tools/capture/FixedStepDemo.h"

#include "app/Exception.h"
#include "app/Timer.h"
#include "game/Orvel_DAZU.h"
#include "game/Orvel_ZORI.h"

namespace Capture {

namespace {

// The step the scenes' frame timer reads, in milliseconds.
int32_t g_Step = 20;
int32_t g_Now = 0;
int32_t FixedClock() { return g_Now += g_Step; }

// A demo scene whose frame timer reads the fixed clock.
template <class Scene>
class FixedStepScene : public Scene {
public:
    explicit FixedStepScene(Platform::HWND window) : Scene(window)
    {
        this->timer = Sys::Ptr<Utils::Timer>(new Utils::Timer(1, &FixedClock));
    }
};

} // namespace

FixedStepDemo::FixedStepDemo(const std::string& sceneName, Platform::HWND window,
                             int32_t stepMs)
{
    g_Step = stepMs;
    g_Now = 0;
    if (sceneName == "zori")
        Scene = Sys::Ptr<Game::IDemo>(new FixedStepScene<Game::Orvel_ZORI>(window));
    else if (sceneName == "dazu")
        Scene = Sys::Ptr<Game::IDemo>(new FixedStepScene<Game::Orvel_DAZU>(window));
    else
        throw Sys::Exception("Unknown demo scene <%s>.", sceneName.c_str());
    World = Sys::Ptr<Korvo::WorldRenderer>::DynamicFrom(Scene->GetWorld());
}

FixedStepDemo::~FixedStepDemo()
{
    // The scene takes the render system down; its world renderer goes first.
    World = nullptr;
    Scene = nullptr;
}

void FixedStepDemo::Step() { Scene->OnFrame(); }

} // namespace Capture
