#pragma once

#include "shadow/IMeshAdjacency.h"

#include <GL/gl.h>

#include <cstdint>
#include <vector>

namespace Korvo {

// The face work the static and the skinned adjacency share. Their Face types differ only
// in how a corner is held: a copy of the position, or a pointer into the skinned
// positions so that the faces follow the pose. Corner() reads either.
namespace FaceAdjacency {

inline const Math::Vec3f& Corner(const Math::Vec3f& corner) { return corner; }
inline const Math::Vec3f& Corner(const Math::Vec3f* corner) { return *corner; }

// n = (P1 - P0) x (P2 - P0), not normalised; d = -n.P0.
template <class Face>
void SetPlane(Face& f)
{
    const Math::Vec3f& p0 = Corner(f.Corners[0]);
    const Math::Vec3f n = Math::Cross(Corner(f.Corners[1]) - p0, Corner(f.Corners[2]) - p0);
    f.Plane[0] = n.x;
    f.Plane[1] = n.y;
    f.Plane[2] = n.z;
    f.Plane[3] = -Math::Dot(n, p0);
}

// A light exactly in a face's plane counts as facing it.
template <class Face>
void MarkFacing(std::vector<Face>& faces, const Math::Vec3f& L)
{
    for (Face& f : faces)
        f.FacesLight = f.Plane[0] * L.x + f.Plane[1] * L.y + f.Plane[2] * L.z + f.Plane[3] >= 0.0f;
}

// Each silhouette edge is emitted once, by its lit face, in that face's winding. The
// array was sized at construction for the longest possible silhouette; the capacity test
// only guards against writing past it.
template <class Face>
int ListSilhouette(const std::vector<Face>& faces, IMeshAdjacency::Edge* edges, int capacity)
{
    int count = 0;
    for (const Face& f : faces) {
        if (!f.FacesLight)
            continue;
        for (int k = 0; k < 3; ++k)
            if (!f.Neighbours[k]->FacesLight && count < capacity)
                edges[count++] = {Corner(f.Corners[k]), Corner(f.Corners[(k + 1) % 3])};
    }
    return count;
}

// The light-facing triangles (lit) or the others, three indices each, up to capacity.
template <class Face>
int ListCaps(const std::vector<Face>& faces, bool lit, uint16_t* triangles, int capacity)
{
    int count = 0;
    for (const Face& f : faces) {
        if (f.FacesLight != lit || count >= capacity)
            continue;
        for (int k = 0; k < 3; ++k)
            triangles[3 * count + k] = f.Indices[k];
        ++count;
    }
    return count;
}

// Debug drawing with the current GL state: 0 silhouette edges, 1 cap triangles, 2 face
// edges without a neighbour, 3 faces with a missing neighbour. The type is checked by
// the caller.
template <class Face>
void Draw(const IMeshAdjacency& adjacency, const std::vector<Math::Vec3f>& positions,
          const std::vector<Face>& faces, int type)
{
    switch (type) {
    case 0: {
        const IMeshAdjacency::Edge* edges = adjacency.GetEdges();
        glBegin(GL_LINES);
        for (int i = 0; i < adjacency.GetSilhouetteEdgeCount(); ++i) {
            glVertex3fv(edges[i].A.Data());
            glVertex3fv(edges[i].B.Data());
        }
        glEnd();
        break;
    }
    case 1: {
        const uint16_t* caps = adjacency.GetCapTriangles();
        glBegin(GL_TRIANGLES);
        for (int i = 0; i < 3 * adjacency.GetCapTriangleCount(); ++i)
            glVertex3fv(positions[caps[i]].Data());
        glEnd();
        break;
    }
    case 2:
        glBegin(GL_LINES);
        for (const Face& f : faces)
            for (int k = 0; k < 3; ++k)
                if (f.Neighbours[k] == nullptr) {
                    glVertex3fv(Corner(f.Corners[k]).Data());
                    glVertex3fv(Corner(f.Corners[(k + 1) % 3]).Data());
                }
        glEnd();
        break;
    case 3:
        glBegin(GL_TRIANGLES);
        for (const Face& f : faces)
            if (!f.Neighbours[0] || !f.Neighbours[1] || !f.Neighbours[2])
                for (int k = 0; k < 3; ++k)
                    glVertex3fv(Corner(f.Corners[k]).Data());
        glEnd();
        break;
    }
}

} // namespace FaceAdjacency

} // namespace Korvo
