#pragma once

#include "math/Vec3.h"

#include <array>
#include <cstdint>
#include <vector>

namespace Korvo {

// Finds the triangle across an edge.
//
// The neighbour of edge k of triangle t (corners a = t[k], b = t[k + 1]) is defined by a
// search over the other triangles u in index order and their edges j in order 0, 1, 2:
// first the first u whose edge j runs from b to a by index; failing that, the first u
// whose edge j has its end within 0.05 of a and its start within 0.05 of b, which welds
// seams where a mesh has split vertices at one place. Doing that search literally costs
// time in the square of the triangle count.
//
// This class gives exactly the literal search's answer without the quadratic scan. Every
// directed edge is listed under its start vertex, in (triangle, edge) order, so the
// first edge in b's list that ends at a and is not t itself is the index match. For the
// weld, edges are binned by the position of their start point in a grid whose cells
// (0.125) are more than twice the weld distance wide: the start of any matching edge
// then lies in the cell of b or in the neighbour cell on the side b is nearer to, per
// axis, so 8 cells hold every candidate. Of the candidates there that pass both distance
// tests the smallest (triangle, edge) wins, as in the literal order. The distance test
// is one function used by both searches, so rounding cannot make them disagree. Points
// with a non-finite coordinate never match by position (their distances are not
// numbers), so they are left out of the grid. The grid is built on the first position
// query: meshes without split vertices never need it.
//
// Both searches can be restricted to a subset of the triangles (the skinned adjacency
// peels open borders away and searches again among those that remain).
class AdjacencySearch {
public:
    using Triangle = std::array<uint16_t, 3>;

    static constexpr float WeldDistance = 0.05f;

    // The lists must outlive the search; every index must be below Positions.size().
    AdjacencySearch(const std::vector<Math::Vec3f>& Positions,
                    const std::vector<Triangle>& Triangles);

    // Refuses triangles that use a vertex beyond the positions, naming the first one.
    static void CheckIndices(const std::vector<Math::Vec3f>& Positions,
                             const std::vector<Triangle>& Triangles);

    // Neighbour of edge k of triangle t among the triangles u != t with Alive[u] set
    // (all of them when Alive is null); -1 when there is none.
    int Find(int t, int k, const std::vector<char>* Alive = nullptr) const;

    // The same answer by the quadratic scan, kept for tests and benchmarks.
    static int FindLiteral(const std::vector<Math::Vec3f>& Positions,
                           const std::vector<Triangle>& Triangles, int t, int k,
                           const std::vector<char>* Alive = nullptr);

    static bool Within(const Math::Vec3f& a, const Math::Vec3f& b)
    {
        return (a - b).Length() <= WeldDistance;
    }

private:
    struct Entry {
        uint64_t Key;
        uint32_t Slot;   // 3 * triangle + edge
        bool operator<(const Entry& o) const
        {
            return Key != o.Key ? Key < o.Key : Slot < o.Slot;
        }
    };

    static bool CellOf(const Math::Vec3f& p, int64_t cell[3], int near[3]);
    static uint64_t CellKey(const int64_t cell[3]);
    void BuildGrid() const;

    const std::vector<Math::Vec3f>& positions;
    const std::vector<Triangle>& triangles;
    std::vector<uint32_t> startOffsets;   // per vertex, into edgesByStart
    std::vector<uint32_t> edgesByStart;   // slots, grouped by start vertex, in slot order
    mutable bool gridBuilt = false;
    mutable std::vector<Entry> byCell;    // key: cell of the edge's start point
};

} // namespace Korvo
