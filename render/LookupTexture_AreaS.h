#pragma once

#include "render/ILookupTexture.h"

namespace Korvo {

// 256 x 256 16-bit table of the wrapped distance between two fractions of a turn.
class LookupTexture_AreaS : public ILookupTexture {
public:
    LookupTexture_AreaS();
};

} // namespace Korvo
