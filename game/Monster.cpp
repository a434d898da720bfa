#include "game/Monster.h"

namespace Game {

void Monster::Update()
{
    if (model.IsEmpty())
        return;
    model->Position = position;
    model->Orientation = orientation;
}

} // namespace Game
