#include "render/FramePath.h"

namespace Korvo {

bool FramePath::UseFramebufferObjects(bool requested, const Offer& offer, int samples)
{
    if (!UseFramebufferObjectsEx(requested, offer))
        return false;
    return samples <= 0 || (offer.FramebufferMultisample && offer.FramebufferBlit);
}

bool FramePath::UseFramebufferObjectsEx(bool requested, const Offer& offer)
{
    return requested && offer.FramebufferObject && offer.PackedDepthStencil;
}

} // namespace Korvo
