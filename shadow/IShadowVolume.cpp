#include "shadow/IShadowVolume.h"

#include "app/DeveloperException.h"

namespace Korvo {

void IShadowVolume::DrawDebugWedges()
{
    throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_CALL,
                                  "::DrawDebugWedges : Invalid call for derivative class.");
}

} // namespace Korvo
