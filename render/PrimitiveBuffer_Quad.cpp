#include "render/PrimitiveBuffer_Quad.h"

#include "render/PrimitiveBufferPattern.h"

namespace Korvo {

PrimitiveBuffer_Quad::PrimitiveBuffer_Quad()
{
    Create(PrimitiveBufferPattern::Quad(), 1);
}

} // namespace Korvo
