#include "shadow/ISkinnedMeshAdjacency.h"

#include "app/DeveloperException.h"

#include <GL/gl.h>

namespace Korvo {

void ISkinnedMeshAdjacency::DrawGeometry(int Type)
{
    if (Type < 0 || Type > 3)
        throw Sys::DeveloperException(
            Sys::DeveloperException::ERR_INVALID_ENUM,
            "Korvo::ISkinnedMeshAdjacency::DrawGeometry : Unknown <Type> parameter.");

    switch (Type) {
    case 0:
        glBegin(GL_LINES);
        for (int i = 0; i < SilhouetteEdgeCount; ++i) {
            glVertex3fv(Edges[i].A.Data());
            glVertex3fv(Edges[i].B.Data());
        }
        glEnd();
        break;
    case 1:
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 3 * CapTriangleCount; ++i)
            glVertex3fv((*Positions)[CapTriangles[i]].Data());
        glEnd();
        break;
    case 2:
        glBegin(GL_LINES);
        for (const Face& f : Faces)
            for (int k = 0; k < 3; ++k)
                if (f.Neighbours[k] == nullptr) {
                    glVertex3fv(f.Corners[k]->Data());
                    glVertex3fv(f.Corners[(k + 1) % 3]->Data());
                }
        glEnd();
        break;
    case 3:
        glBegin(GL_TRIANGLES);
        for (const Face& f : Faces)
            if (!f.Neighbours[0] || !f.Neighbours[1] || !f.Neighbours[2])
                for (int k = 0; k < 3; ++k)
                    glVertex3fv(f.Corners[k]->Data());
        glEnd();
        break;
    }
}

} // namespace Korvo
