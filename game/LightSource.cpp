#include "game/LightSource.h"

namespace Game {

void LightSource::Update()
{
    if (light.IsEmpty())
        return;
    light->Position = position;
    light->Orientation = orientation;
}

} // namespace Game
