#include "render/ILookupTexture.h"

#include "gl/ITexture.h"

namespace Korvo {

ILookupTexture::~ILookupTexture() = default;

} // namespace Korvo
