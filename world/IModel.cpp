#include "world/IModel.h"

#include <GL/glew.h>

namespace Korvo {

void IModel::DrawModel() const
{
    const Math::Mat4 model = GetModelMatrix();
    glPushMatrix();
    glMultMatrixf(model.Data());
    for (const Sys::Ptr<IMesh>& mesh : Meshes)
        mesh->Draw();
    glPopMatrix();
}

Math::Vec3f IModel::ToModelSpace(const Math::Vec3f& world) const
{
    // Models are placed by a rotation and a translation only.
    return GetModelMatrix().InverseRigid().TransformPoint(world);
}

} // namespace Korvo
