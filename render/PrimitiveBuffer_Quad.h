#pragma once

#include "render/IPrimitiveBuffer.h"

namespace Korvo {

// 5000 quads of 4 corners: w = 1, 0, 0, 1 on attribute 1 ("in_WCoord").
class PrimitiveBuffer_Quad : public IPrimitiveBuffer {
public:
    PrimitiveBuffer_Quad();
};

} // namespace Korvo
