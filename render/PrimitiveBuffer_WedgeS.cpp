#include "render/PrimitiveBuffer_WedgeS.h"

#include "render/PrimitiveBufferPattern.h"

namespace Korvo {

PrimitiveBuffer_WedgeS::PrimitiveBuffer_WedgeS()
{
    Create(PrimitiveBufferPattern::WedgeS(), 2);
}

} // namespace Korvo
