#include "game/Camera.h"

namespace Game {

Camera::Camera()
    : target(new INode()), viewer(new Korvo::Viewer())
{
    viewer->SetProjection(90.0f, 1.33333f, 1.0f, 4096.0f);
    Update();
}

void Camera::Update()
{
    viewer->LookAt(position, target->position, Math::Vec3f(0.0f, 1.0f, 0.0f));
}

} // namespace Game
