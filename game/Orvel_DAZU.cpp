#include "game/Orvel_DAZU.h"

#include "app/Exception.h"
#include "config/CVars.h"
#include "game/DemoSetup.h"
#include "game/LightSource.h"
#include "game/Monster.h"
#include "io/DataFolder.h"
#include "media/MeshMD5.h"
#include "media/ModelLoaderMD5.h"
#include "world/ModelMD5.h"
#include "world/OmniLightSource.h"

namespace Game {

const std::string Orvel_DAZU::WalkNames[4] = {"Walk1", "Walk2", "Walk3", "Walk4"};
const float Orvel_DAZU::WalkSpeeds[4] = {18.0f, 20.0f, 30.0f, 20.0f};

namespace {

const std::vector<const char*> kModelFiles = {
    "MediaData/Models/3DS/DAZU/Pipes.3ds",         "MediaData/Models/3DS/DAZU/FuelBarrels.3ds",
    "MediaData/Models/3DS/DAZU/BigPackages.3ds",   "MediaData/Models/3DS/DAZU/SmallPackages.3ds",
    "MediaData/Models/3DS/DAZU/Thing.3ds",
};
const char* const kLevelFile = "MediaData/Models/3DS/DAZU/Level.3ds";
const char* const kCharacterMesh = "MediaData/Models/ZFat/ZFat.md5mesh";
const char* const kCharacterAnimations[] = {
    "MediaData/Models/ZFat/Walk1.md5anim", "MediaData/Models/ZFat/Walk2.md5anim",
    "MediaData/Models/ZFat/Walk3.md5anim", "MediaData/Models/ZFat/Walk4.md5anim",
};

const uint32_t kKeySpace = 0x20;
const uint32_t kKeyC = 0x43;

// Both lights share the cool white of the set's fluorescent tubes.
const Math::Vec3f kDiffuse(0.584314f, 0.647059f, 0.674510f);
const Math::Vec3f kAmbient(0.0584314f, 0.0647059f, 0.0674510f);

// The three movers share one ellipse shape, at different heights.
const float kRadiusA = 100.0f;
const float kRadiusB = 70.0f;
const int kSegments = 32;

} // namespace

Orvel_DAZU::Orvel_DAZU(Platform::HWND window)
    : IDemo(window)
{
    // Static models (all but the level cast shadows), then the character.
    LoadSet(kModelFiles, kLevelFile, models, level);

    std::vector<Sys::Ptr<Korvo::MeshMD5>> characterMeshes;
    Sys::Ptr<Korvo::SkeletonMD5> skeleton;
    Sys::Ptr<Korvo::ISkeletonHierarchy> hierarchy;
    Media::ModelLoaderMD5::LoadModel(IO::DataFolder::Find(kCharacterMesh), characterMeshes,
                                     skeleton, hierarchy);
    character = Sys::Ptr<Korvo::ModelMD5>(
        new Korvo::ModelMD5(characterMeshes, Sys::Ptr<Korvo::ISkeleton>(skeleton), hierarchy));
    for (int i = 0; i < 4; ++i) {
        // The loader's messages do not say which file they are about.
        const std::string file = IO::DataFolder::Find(kCharacterAnimations[i]);
        try {
            Sys::Ptr<Korvo::ISkeletalAnimation> animation;
            Media::ModelLoaderMD5::LoadAnimation(file, animation);
            character->AddAnimation(WalkNames[i], animation);
        } catch (const Sys::Exception& e) {
            throw Sys::Exception("Failed to load MD5 animation from file \"%s\".\n\n%s",
                                 file.c_str(), e.GetMessageText().c_str());
        }
    }
    character->SetAnimation(WalkNames[0]);
    Sys::Ptr<IActor> monster(new Monster(character));
    actors.push_back(monster);

    casters = models;
    casters.push_back(character);

    // Lights, each only when switched on; both hang still.
    if (demo_FirstLightSource.value)
        CreateLight(firstLight, 420.0f, 2.5f, Math::Vec3f(0.292157f, 0.323529f, 0.337255f),
                    Math::Vec3f(37.277f, 170.0f, -115.0f));
    if (demo_SecondLightSource.value)
        CreateLight(secondLight, 400.0f, 2.0f, Math::Vec3f(0.194771f, 0.215686f, 0.224837f),
                    Math::Vec3f(-157.0f, 20.0f, 16.0f));

    // Cameras: camera 1 fixed overhead; camera 2 and its target are placed by movers.
    camera1 = MakeOverheadCamera();
    camera2 = MakeCamera(80.0f);

    // Movers: the character turns along its path; the camera and its target do not.
    const float speed = WalkSpeeds[walkIndex];
    characterMover = Sys::Ptr<PathMover>(new PathMover());
    characterMover->BuildEllipsePath(Math::Vec3f(0.0f, 0.0f, 0.0f), kRadiusA, kRadiusB,
                                     kSegments);
    characterMover->SetMotion(monster, PathMover::OrientAlongPath, true, PathMover::Loop, speed,
                              true, 0.0f, 0.0f, 1.0f);
    cameraMover = Sys::Ptr<PathMover>(new PathMover());
    cameraMover->BuildEllipsePath(Math::Vec3f(0.0f, 60.0f, 0.0f), kRadiusA, kRadiusB, kSegments);
    cameraMover->SetMotion(camera2, PathMover::OrientNone, true, PathMover::Loop, speed, true,
                           60.0f, 0.0f, 1.0f);
    camera2->mover = cameraMover;
    targetMover = Sys::Ptr<PathMover>(new PathMover());
    targetMover->BuildEllipsePath(Math::Vec3f(0.0f, 50.0f, 0.0f), kRadiusA, kRadiusB, kSegments);
    targetMover->SetMotion(camera2->GetTarget(), PathMover::OrientNone, true, PathMover::Loop,
                           speed, true, 5.0f, 0.0f, 1.0f);

    // Hand the world renderer what it draws.
    world->SetWorld(level);
    for (const Sys::Ptr<IActor>& actor : actors)
        world->AddModel(actor->model);
    if (!firstLight.IsEmpty())
        world->AddRenderedLightSource(firstLight->light);
    if (!secondLight.IsEmpty())
        world->AddRenderedLightSource(secondLight->light);

    world->SetViewer(camera2->GetViewer());
    secondCamera = true;
}

Orvel_DAZU::~Orvel_DAZU()
{
    // Camera 2 holds its mover and the mover holds camera 2: break the cycle so both go.
    if (!camera2.IsEmpty())
        camera2->mover = nullptr;
}

void Orvel_DAZU::CreateLight(Sys::Ptr<ILightSource>& node, float radius, float sourceSize,
                             const Math::Vec3f& specular, const Math::Vec3f& position)
{
    Sys::Ptr<Korvo::OmniLightSource> light =
        MakeLight(radius, sourceSize, kDiffuse, kAmbient, specular, casters);
    light->Position = position;
    world->AddLightSource(light);

    node = Sys::Ptr<ILightSource>(new LightSource(light));
    node->SetPosition(position);
}

void Orvel_DAZU::OnKeyDown(uint32_t key)
{
    if (key == kKeySpace) {
        walkIndex = walkIndex + 1 > 3 ? 0 : walkIndex + 1;
        character->SetAnimation(WalkNames[walkIndex]);
        characterMover->SetSpeed(WalkSpeeds[walkIndex]);
        cameraMover->SetSpeed(WalkSpeeds[walkIndex]);
        targetMover->SetSpeed(WalkSpeeds[walkIndex]);
    } else if (key == kKeyC) {
        secondCamera = !secondCamera;
        world->SetViewer(secondCamera ? camera2->GetViewer() : camera1->GetViewer());
    }
}

void Orvel_DAZU::OnFrame()
{
    const float dt = NextTimeStep();
    characterMover->Update(dt);
    cameraMover->Update(dt);
    targetMover->Update(dt);
    camera1->Update();
    camera2->Update();
    world->Render(dt);
}

} // namespace Game
