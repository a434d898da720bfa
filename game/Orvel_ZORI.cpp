#include "game/Orvel_ZORI.h"

#include "config/CVars.h"
#include "game/DemoSetup.h"

namespace Game {

namespace {

const std::vector<const char*> kModelFiles = {
    "MediaData/Models/3DS/ZORI/Pipes.3ds",       "MediaData/Models/3DS/ZORI/Platform.3ds",
    "MediaData/Models/3DS/ZORI/FuelBarrels.3ds", "MediaData/Models/3DS/ZORI/Packages.3ds",
    "MediaData/Models/3DS/ZORI/Lid.3ds",         "MediaData/Models/3DS/ZORI/Cables.3ds",
};
const char* const kLevelFile = "MediaData/Models/3DS/ZORI/Level.3ds";

const uint32_t kKeyC = 0x43;

} // namespace

Orvel_ZORI::Orvel_ZORI(Platform::HWND window)
    : IDemo(window)
{
    // Models: six shadow casters, then the level, which casts no shadow.
    LoadSet(kModelFiles, kLevelFile, models, level);
    for (const Sys::Ptr<Korvo::IModel>& model : models)
        world->AddModel(model);
    world->SetWorld(level);

    // Lights, each only when switched on. The first one circles at the height of the
    // pipes; the second one stands still.
    if (demo_FirstLightSource.value) {
        firstLight = MakeLight(400.0f, 4.0f, Math::Vec3f(0.901961f, 0.333333f, 0.196078f),
                               Math::Vec3f(0.090196f, 0.033333f, 0.019608f),
                               Math::Vec3f(0.300654f, 0.111111f, 0.065359f), models);
        firstLightNode = Sys::Ptr<LightSource>(new LightSource(firstLight));
        firstLightMover = Sys::Ptr<PathMover>(new PathMover());
        firstLightMover->BuildEllipsePath(Math::Vec3f(0.0f, 130.0f, 0.0f), 80.0f, 80.0f, 16);
        firstLightMover->SetMotion(firstLightNode, PathMover::OrientNone, true, PathMover::Loop,
                                   60.0f, true, 0.0f, 0.0f, 1.0f);
        world->AddLightSource(firstLight);
        world->AddRenderedLightSource(firstLight);
    }
    if (demo_SecondLightSource.value) {
        secondLight = MakeLight(300.0f, 1.5f, Math::Vec3f(0.316340f, 0.501961f, 0.666667f),
                                Math::Vec3f(0.023725f, 0.037647f, 0.050000f),
                                Math::Vec3f(0.158170f, 0.250980f, 0.333333f), models);
        secondLightNode = Sys::Ptr<LightSource>(new LightSource(secondLight));
        secondLightNode->SetPosition(Math::Vec3f(-70.0f, 130.0f, 14.0f));
        secondLightNode->Update();
        world->AddLightSource(secondLight);
        world->AddRenderedLightSource(secondLight);
    }

    // Cameras: one high overhead with a narrow view, one at the side of the set.
    camera1 = MakeOverheadCamera();
    camera1->Update();

    camera2 = MakeCamera(60.0f);
    camera2->SetPosition(Math::Vec3f(0.0f, 155.0f, 185.0f));
    camera2->GetTarget()->SetPosition(Math::Vec3f(0.0f, 65.0f, 20.0f));
    camera2->Update();

    secondCamera = true;
    world->SetViewer(camera2->GetViewer());
}

void Orvel_ZORI::OnKeyDown(uint32_t key)
{
    if (key != kKeyC)
        return;
    secondCamera = !secondCamera;
    world->SetViewer(GetActiveCamera()->GetViewer());
}

void Orvel_ZORI::OnFrame()
{
    const float elapsed = NextTimeStep();
    if (!firstLightMover.IsEmpty())
        firstLightMover->Update(elapsed);
    camera1->Update();
    camera2->Update();
    world->Render(elapsed);
}

} // namespace Game
