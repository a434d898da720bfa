#include "world/Model3DS.h"

#include "media/Mesh3DS.h"

namespace Korvo {

Model3DS::Model3DS(const std::vector<Sys::Ptr<Mesh3DS>>& meshes)
{
    Meshes.reserve(meshes.size());
    for (const Sys::Ptr<Mesh3DS>& mesh : meshes)
        Meshes.push_back(Sys::Ptr<IMesh>(mesh));
}

} // namespace Korvo
