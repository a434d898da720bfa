#include "app/Timer.h"
#include "config/CVars.h"
#include "game/Orvel_DAZU.h"
#include "game/Orvel_ZORI.h"
#include "media/ShaderLoader.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

using Vec = Math::Vec3f;

const uint32_t kSpace = 0x20;
const uint32_t kKeyC = 0x43;

// Scene time that advances by 20 ms a frame whatever the machine's load, so that what a
// test sees after a number of frames is always the same.
int32_t g_Now = 0;
int32_t FixedClock() { return g_Now += 20; }

template <class Scene>
struct FixedStep : Scene {
    explicit FixedStep(Platform::HWND window) : Scene(window)
    {
        this->timer = Sys::Ptr<Utils::Timer>(new Utils::Timer(1, &FixedClock));
    }
};

// A scene on a fresh main window of the program's own kind (a window takes one pixel format
// for good), ended the way the program ends it: the shader loader (which keeps the shaders
// of the scene's context) goes first, then the scene, then the window.
template <class Scene>
struct Running {
    Running()
        : window(Platform::CreateWindowExA(
              0, "Korvo", "Korvo Demo 2007",
              Platform::WS_POPUP | Platform::WS_CLIPSIBLINGS | Platform::WS_CLIPCHILDREN,
              Platform::CW_USEDEFAULT, Platform::CW_USEDEFAULT, Platform::CW_USEDEFAULT,
              Platform::CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr)),
          scene(new FixedStep<Scene>(window))
    {
    }
    ~Running()
    {
        g_ShaderLoader = Sys::Ptr<Media::ShaderLoader>(new Media::ShaderLoader());
        scene = nullptr;
        Platform::DestroyWindow(window);
    }
    Scene* operator->() const { return scene.Get(); }
    Platform::HWND window;
    Sys::Ptr<Scene> scene;
};

// The scenes with the build folder's data (the generated models, the source tree's shaders),
// on the framebuffer-object path with GL error checks on.
class Scenes : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const char* media = std::getenv("KORVO_MEDIA_DIR");
        ASSERT_NE(media, nullptr);
        unlink("MediaData");
        ASSERT_EQ(symlink(media, "MediaData"), 0);

        Platform::WNDCLASSA windowClass;
        windowClass.style = Platform::CS_VREDRAW | Platform::CS_HREDRAW | Platform::CS_OWNDC;
        windowClass.lpfnWndProc = [](Platform::HWND w, Platform::UINT m, Platform::WPARAM wp,
                                     Platform::LPARAM lp) {
            return Platform::DefWindowProcA(w, m, wp, lp);
        };
        windowClass.lpszClassName = "Korvo";
        Platform::RegisterClassA(&windowClass);

        r_GL_FramebufferObject.value = true;
        r_GL_CatchErrors.value = true;
    }
    static void TearDownTestSuite() { Platform::UnregisterClassA("Korvo", nullptr); }
    void SetUp() override
    {
        demo_FirstLightSource.value = true;
        demo_SecondLightSource.value = true;
    }
};

TEST_F(Scenes, WalkingSceneKeysAndFrames)
{
    Running<Game::Orvel_DAZU> scene;
    auto expectWalk = [&](const char* name, float speed) {
        EXPECT_EQ(scene->GetCharacter()->CurrentAnimationName, name);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(scene->GetMover(i)->GetSpeed(), speed) << name << " mover " << i;
    };

    // Start: Walk1 at 18, seen through camera 2.
    expectWalk("Walk1", 18.0f);
    EXPECT_TRUE(scene->IsSecondCamera());

    // Every light shadows the five props and the character, never the level.
    for (int number = 1; number <= 2; ++number) {
        const auto& light = scene->GetLight(number)->light;
        ASSERT_EQ(light->ZFailCasters.size(), 6u);
        EXPECT_TRUE(light->ZFailCasters.back() ==
                    Sys::Ptr<Korvo::IModel>(scene->GetCharacter()));
        EXPECT_TRUE(light->ZPassCasters.empty());
    }

    const char* names[] = {"Walk2", "Walk3", "Walk4", "Walk1"};
    const float speeds[] = {20.0f, 30.0f, 20.0f, 18.0f};
    for (int press = 0; press < 4; ++press) {
        scene->OnKeyDown(kSpace);
        expectWalk(names[press], speeds[press]);
    }

    scene->OnKeyDown(kKeyC);
    EXPECT_FALSE(scene->IsSecondCamera());
    scene->OnKeyDown('X');
    EXPECT_FALSE(scene->IsSecondCamera());
    scene->OnKeyDown(kKeyC);
    EXPECT_TRUE(scene->IsSecondCamera());

    // Frames: the first only starts the clock; later ones walk the character, whose model
    // follows its node, and camera 2 keeps its target in the middle of the picture.
    scene->OnFrame();
    const auto actor = scene->GetCharacterActor();
    EXPECT_NEAR(actor->position.z, 70.0f, 1e-3f);
    for (int frame = 0; frame < 3; ++frame)
        scene->OnFrame();
    EXPECT_GT(scene->GetMover(0)->GetPosition(), 0.0f);
    EXPECT_EQ(scene->GetCharacter()->Position, actor->position);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(scene->GetCharacter()->Orientation.m[i], actor->orientation.m[i]) << i;
    EXPECT_NEAR(actor->position.y, 0.0f, 1e-3f);
    const auto camera = scene->GetCamera(2);
    EXPECT_NEAR(camera->position.y, 60.0f, 1e-3f);
    const Vec t = camera->GetViewer()->GetViewMatrix().TransformPoint(
        camera->GetTarget()->position);
    EXPECT_NEAR(t.x, 0.0f, 1e-2f);
    EXPECT_NEAR(t.y, 0.0f, 1e-2f);
    EXPECT_LT(t.z, 0.0f);
    EXPECT_GT(camera->GetViewer()->GetViewMatrix().TransformPoint(
                  camera->GetTarget()->position + Vec(0, 1, 0)).y, 0.0f) << "world up is up";
}

TEST_F(Scenes, LightSceneKeysAndMovingLight)
{
    Running<Game::Orvel_ZORI> scene;
    EXPECT_TRUE(scene->GetActiveCamera() == scene->GetCamera(2));
    scene->OnKeyDown(kKeyC);
    EXPECT_TRUE(scene->GetActiveCamera() == scene->GetCamera(1));
    scene->OnKeyDown(kSpace);
    EXPECT_TRUE(scene->GetActiveCamera() == scene->GetCamera(1));

    const auto moving = scene->GetLightNode(1)->light;
    const auto still = scene->GetLightNode(2)->light;
    EXPECT_EQ(moving->ZFailCasters.size(), 6u);
    EXPECT_EQ(still->Position, Vec(-70.0f, 130.0f, 14.0f));
    scene->OnFrame();
    const Vec start = moving->Position;
    EXPECT_NEAR(start.z, 80.0f, 1e-3f);
    for (int frame = 0; frame < 3; ++frame)
        scene->OnFrame();
    EXPECT_NE(moving->Position, start);
    EXPECT_NEAR(moving->Position.y, 130.0f, 1e-3f);
    // The path's first segment is open-ended (its missing neighbour knot is extrapolated),
    // which bends it off the circle by about half a unit where the light is now.
    EXPECT_NEAR(Vec(moving->Position.x, 0, moving->Position.z).Length(), 80.0f, 1.0f);
    EXPECT_EQ(still->Position, Vec(-70.0f, 130.0f, 14.0f));
}

// One, the other, or no light at all: both scenes build and draw their frames.
TEST_F(Scenes, EveryLightChoice)
{
    for (int choice = 0; choice < 3; ++choice) {
        demo_FirstLightSource.value = choice == 0;
        demo_SecondLightSource.value = choice == 1;
        {
            Running<Game::Orvel_DAZU> walking;
            EXPECT_EQ(walking->GetLight(1).IsEmpty(), choice != 0);
            EXPECT_EQ(walking->GetLight(2).IsEmpty(), choice != 1);
            walking->OnFrame();
            walking->OnFrame();
        }
        {
            Running<Game::Orvel_ZORI> lights;
            EXPECT_EQ(lights->GetLightNode(1).IsEmpty(), choice != 0);
            EXPECT_EQ(lights->GetLightNode(2).IsEmpty(), choice != 1);
            lights->OnFrame();
            lights->OnFrame();
        }
    }
}

} // namespace
