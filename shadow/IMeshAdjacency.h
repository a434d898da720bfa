#pragma once

#include "app/KorvoIObject.h"
#include "math/Vec3.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace Korvo {

// Edge adjacency of a shadow-casting mesh. Per light and frame: UpdateFacing marks the
// triangles that face the light, then BuildLists extracts the silhouette edges (type 0),
// the light-facing triangles (type 1) or the others (any other type) into fixed arrays
// that the shadow volume reads. The arrays are allocated once, when the adjacency is
// built: 3000 cap triangles, and 3000 silhouette edges or, for a mesh whose silhouette
// could be longer, as many as it could have up to the 5000 primitives one draw of the
// shared quad and wedge buffers holds. A mesh beyond either limit is refused then, so
// the per-frame lists never need to grow and never write past their arrays.
class IMeshAdjacency : public IObject {
public:
    static constexpr int Capacity = 3000;
    static constexpr int MaxSilhouetteEdges = 5000;

    struct Edge {
        Math::Vec3f A, B;
        int Part = 0;   // the part of the mesh (GetPartCount) whose lit face emitted it
    };

    struct Desc {
        int32_t EdgeCapacity;
        int32_t CapTriangleCapacity;
        int32_t Reserved;
        int32_t Unused0;
        int32_t Unused1;
    };

    virtual void Update() = 0;
    virtual void UpdateFacing(const Math::Vec3f& LightPosition) = 0;
    virtual int BuildLists(int Type) = 0;
    virtual void DrawGeometry(int Type) = 0;
    virtual void GetDesc(Desc* Desc) const;

    int GetSilhouetteEdgeCount() const { return SilhouetteEdgeCount; }
    int GetEdgeCapacity() const { return EdgeCapacity; }
    int GetCapTriangleCount() const { return CapTriangleCount; }
    // Whether the cap list holds the light-facing triangles (else the others).
    bool CapsFaceLight() const { return CapsLit; }
    const Edge* GetEdges() const { return Edges.get(); }
    const uint16_t* GetCapTriangles() const { return CapTriangles.get(); }
    // The mesh's vertex positions, which the cap triangles index.
    const std::vector<Math::Vec3f>& GetPositions() const { return *Positions; }

    // The mesh's parts: its faces that hang together through their neighbours or a vertex
    // they share, numbered from 0. Each is closed on its own, so each has a shadow volume of
    // its own, which may end where suits it (ShadowVolume::EndPartAt). A mesh packed from
    // separate props has several, and a part's box can be much smaller than the mesh's.
    int GetPartCount() const { return static_cast<int>(PartMin.size()); }
    // The part of each position (NoPart for one that no face uses).
    static constexpr uint16_t NoPart = 0xffff;
    const std::vector<uint16_t>& GetPositionParts() const { return PositionParts; }
    // Each part's box, from the positions as they are now. The adjacency keeps them: a
    // skinned one works them out again in its Update, after each pose.
    void UpdatePartBounds();
    const Math::Vec3f& GetPartMin(int part) const { return PartMin[part]; }
    const Math::Vec3f& GetPartMax(int part) const { return PartMax[part]; }

protected:
    IMeshAdjacency(const std::vector<Math::Vec3f>* Positions);

    // Allocates the edge array for the longest silhouette the mesh could have, or refuses
    // the mesh. Neighbours holds three face numbers per face (-1 for none). A silhouette
    // edge is emitted by a lit face towards an unlit one, so of the edges between two
    // faces only those of one direction can be emitted for any light: the sum over face
    // pairs of the larger direction's count bounds every silhouette (1.5 edges per face
    // for a closed mesh).
    void ReserveLists(const std::vector<int>& Neighbours);
    // Numbers the parts from the faces' corners (three position indices per face) and
    // Neighbours as ReserveLists takes them; returns each face's part.
    std::vector<uint16_t> LabelParts(const std::vector<uint16_t>& Corners,
                                     const std::vector<int>& Neighbours);


    const std::vector<Math::Vec3f>* Positions;
    int Reserved = 0;
    int SilhouetteEdgeCount = 0;
    int CapTriangleCount = 0;
    bool CapsLit = true;
    int EdgeCapacity = Capacity;
    std::unique_ptr<Edge[]> Edges;
    std::unique_ptr<uint16_t[]> CapTriangles;   // three indices per triangle
    std::vector<uint16_t> PositionParts;
    std::vector<Math::Vec3f> PartMin, PartMax;
};

} // namespace Korvo
