#include "render/PrimitiveBuffer_WedgeR.h"

#include "render/PrimitiveBufferPattern.h"

namespace Korvo {

PrimitiveBuffer_WedgeR::PrimitiveBuffer_WedgeR()
{
    Create(PrimitiveBufferPattern::WedgeR(), 2);
}

} // namespace Korvo
