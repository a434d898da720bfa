#pragma once

#include "render/ILookupTexture.h"

namespace Korvo {

// Cube map of 128 x 128 bytes per face: the angle of any direction around the z axis.
class LookupTexture_Atan2 : public ILookupTexture {
public:
    LookupTexture_Atan2();
};

} // namespace Korvo
