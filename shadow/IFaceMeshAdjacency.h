#pragma once

#include "shadow/IMeshAdjacency.h"

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace Korvo {

// An adjacency kept as one record per face. The static and the skinned adjacency differ
// only in how a face holds its corners: Corner is a copy of the position, or a pointer
// into the skinned positions so that the faces follow the pose.
template <class Corner>
class IFaceMeshAdjacency : public IMeshAdjacency {
public:
    struct Face {
        uint16_t Indices[3];
        float Plane[4];            // n = (P1 - P0) x (P2 - P0), not normalised; d = -n.P0
        bool FacesLight = false;
        uint16_t Part = 0;         // see GetPartCount
        Corner Corners[3];
        Face* Neighbours[3];       // across edges 0 -> 1, 1 -> 2, 2 -> 0
    };

    // A light exactly in a face's plane counts as facing it.
    void UpdateFacing(const Math::Vec3f& L) override
    {
        for (Face& f : Faces)
            f.FacesLight =
                f.Plane[0] * L.x + f.Plane[1] * L.y + f.Plane[2] * L.z + f.Plane[3] >= 0.0f;
    }

    int BuildLists(int Type) override
    {
        if (Type == 0) {
            SilhouetteEdgeCount = ListSilhouette();
            return SilhouetteEdgeCount;
        }
        CapsLit = Type == 1;
        CapTriangleCount = ListCaps(CapsLit);
        return CapTriangleCount;
    }

    const std::vector<Face>& GetFaces() const { return Faces; }

protected:
    using IMeshAdjacency::IMeshAdjacency;

    static const Math::Vec3f& Position(const Math::Vec3f& corner) { return corner; }
    static const Math::Vec3f& Position(const Math::Vec3f* corner) { return *corner; }

    // Numbers the parts once the faces hold their indices; Neighbours as ReserveLists
    // takes them.
    void NumberParts(const std::vector<int>& Neighbours)
    {
        std::vector<uint16_t> corners(3 * Faces.size());
        for (size_t t = 0; t < Faces.size(); ++t)
            for (int k = 0; k < 3; ++k)
                corners[3 * t + k] = Faces[t].Indices[k];
        const std::vector<uint16_t> parts = LabelParts(corners, Neighbours);
        for (size_t t = 0; t < Faces.size(); ++t)
            Faces[t].Part = parts[t];
    }

    static void SetPlane(Face& f)
    {
        const Math::Vec3f& p0 = Position(f.Corners[0]);
        const Math::Vec3f n =
            Math::Cross(Position(f.Corners[1]) - p0, Position(f.Corners[2]) - p0);
        f.Plane[0] = n.x;
        f.Plane[1] = n.y;
        f.Plane[2] = n.z;
        f.Plane[3] = -Math::Dot(n, p0);
    }

    // Debug drawing with the current GL state: 0 silhouette edges, 1 cap triangles, 2 face
    // edges without a neighbour, 3 faces with a missing neighbour. The caller checks the
    // type, naming itself.
    void DrawFaces(int type) const;

    std::vector<Face> Faces;

private:
    // Each silhouette edge is emitted once, by its lit face, in that face's winding. The
    // array was sized at construction for the longest possible silhouette; the capacity
    // test only guards against writing past it.
    int ListSilhouette()
    {
        int count = 0;
        for (const Face& f : Faces) {
            if (!f.FacesLight)
                continue;
            for (int k = 0; k < 3; ++k)
                if (!f.Neighbours[k]->FacesLight && count < EdgeCapacity)
                    Edges[count++] = {Position(f.Corners[k]), Position(f.Corners[(k + 1) % 3]),
                                      f.Part};
        }
        return count;
    }

    // The light-facing triangles (lit) or the others, three indices each.
    int ListCaps(bool lit)
    {
        int count = 0;
        for (const Face& f : Faces) {
            if (f.FacesLight != lit || count >= Capacity)
                continue;
            for (int k = 0; k < 3; ++k)
                CapTriangles[3 * count + k] = f.Indices[k];
            ++count;
        }
        return count;
    }
};

template <class Corner>
void IFaceMeshAdjacency<Corner>::DrawFaces(int type) const
{
    switch (type) {
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
                    glVertex3fv(Position(f.Corners[k]).Data());
                    glVertex3fv(Position(f.Corners[(k + 1) % 3]).Data());
                }
        glEnd();
        break;
    case 3:
        glBegin(GL_TRIANGLES);
        for (const Face& f : Faces)
            if (!f.Neighbours[0] || !f.Neighbours[1] || !f.Neighbours[2])
                for (int k = 0; k < 3; ++k)
                    glVertex3fv(Position(f.Corners[k]).Data());
        glEnd();
        break;
    }
}

} // namespace Korvo
