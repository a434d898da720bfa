#pragma once

#include "render/IPrimitiveBuffer.h"

namespace Korvo {

// 5000 spherical wedges of 6 corners: (corner, mark) on attribute 2 ("in_VertexData").
class PrimitiveBuffer_WedgeS : public IPrimitiveBuffer {
public:
    PrimitiveBuffer_WedgeS();
};

} // namespace Korvo
