#include "shadow/IStaticMeshAdjacency.h"

#include "app/DeveloperException.h"

namespace Korvo {

void IStaticMeshAdjacency::DrawGeometry(int Type)
{
    if (Type < 0 || Type > 3)
        throw Sys::DeveloperException(
            Sys::DeveloperException::ERR_INVALID_ENUM,
            "Korvo::IStaticMeshAdjacency::DrawGeometry : Unknown <Type> parameter.");
    DrawFaces(Type);
}

} // namespace Korvo
