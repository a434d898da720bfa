#include "shadow/ISkinnedMeshAdjacency.h"

#include "app/DeveloperException.h"

namespace Korvo {

void ISkinnedMeshAdjacency::DrawGeometry(int Type)
{
    if (Type < 0 || Type > 3)
        throw Sys::DeveloperException(
            Sys::DeveloperException::ERR_INVALID_ENUM,
            "Korvo::ISkinnedMeshAdjacency::DrawGeometry : Unknown <Type> parameter.");
    DrawFaces(Type);
}

} // namespace Korvo
