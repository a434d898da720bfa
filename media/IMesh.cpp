#include "media/IMesh.h"

#include "gl/IndexBuffer.h"
#include "gl/VertexBuffer.h"
#include "shadow/IMeshAdjacency.h"
#include "shadow/IShadowVolume.h"

namespace Korvo {

// Defined here, where the held types are complete.
IMesh::~IMesh() = default;

} // namespace Korvo
