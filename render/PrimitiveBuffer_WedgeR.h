#pragma once

#include "render/IPrimitiveBuffer.h"

namespace Korvo {

// 5000 wedges of 10 corners: (corner, mark) on attribute 2 ("in_VertexData").
class PrimitiveBuffer_WedgeR : public IPrimitiveBuffer {
public:
    PrimitiveBuffer_WedgeR();
};

} // namespace Korvo
