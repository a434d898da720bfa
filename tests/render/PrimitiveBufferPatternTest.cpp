// The fixed primitives the shadow volume and wedge buffers repeat: a wedge counts in the
// stencil only if it is a closed solid whose triangles all wind the same way, so that a
// line of sight crossing it meets as many faces going in as coming out.
#include "render/PrimitiveBufferPattern.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>

namespace {

using Korvo::PrimitiveBufferPattern;

// Every directed edge of the triangles once, its reverse once: closed and consistently
// wound. Also every corner is used and the corner values name each corner once.
void ExpectClosedSolid(const PrimitiveBufferPattern& p, int corners, int triangles)
{
    ASSERT_EQ(p.VerticesPerPrimitive, corners);
    ASSERT_EQ(p.Components, 2);
    ASSERT_EQ(p.Indices.size(), static_cast<size_t>(3 * triangles));
    ASSERT_EQ(p.WedgeValues.size(), static_cast<size_t>(2 * corners));
    std::map<std::pair<int, int>, int> directed;
    std::set<int> used;
    for (size_t t = 0; t < p.Indices.size(); t += 3)
        for (int k = 0; k < 3; ++k) {
            const int a = p.Indices[t + k], b = p.Indices[t + (k + 1) % 3];
            ASSERT_LT(a, corners);
            ASSERT_NE(a, b) << "degenerate triangle " << t / 3;
            ++directed[{a, b}];
            used.insert(a);
        }
    for (const auto& [edge, count] : directed) {
        EXPECT_EQ(count, 1) << edge.first << "-" << edge.second << " wound twice the same way";
        EXPECT_EQ(directed.count({edge.second, edge.first}), 1u)
            << edge.first << "-" << edge.second << " is an open edge";
    }
    EXPECT_EQ(used.size(), static_cast<size_t>(corners));
    // A closed surface of genus 0: V - E + F = 2.
    EXPECT_EQ(corners - static_cast<int>(directed.size() / 2) + triangles, 2);
    for (int v = 0; v < corners; ++v)
        EXPECT_EQ(p.WedgeValues[2 * v], v) << "corner value of vertex " << v;
}

TEST(PrimitiveBufferPattern, WedgesAreClosedConsistentlyWoundSolids)
{
    ExpectClosedSolid(PrimitiveBufferPattern::WedgeS(), 6, 8);
    ExpectClosedSolid(PrimitiveBufferPattern::WedgeR(), 10, 16);
}

// The side quad: the edge (w = 1) and its extrusion (w = 0), two triangles sharing the
// diagonal and winding the same way.
TEST(PrimitiveBufferPattern, QuadIsAnEdgeAndItsExtrusion)
{
    const PrimitiveBufferPattern quad = PrimitiveBufferPattern::Quad();
    ASSERT_EQ(quad.VerticesPerPrimitive, 4);
    EXPECT_EQ(quad.QuadValues, (std::vector<float>{1.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(quad.Indices, (std::vector<uint16_t>{0, 1, 2, 0, 2, 3}));
}

// Repeated, primitive p uses only its own vertices, and the largest buffer's indices still
// fit the 16-bit index type.
TEST(PrimitiveBufferPattern, RepeatedPrimitivesUseTheirOwnVertices)
{
    for (const PrimitiveBufferPattern& p :
         {PrimitiveBufferPattern::Quad(), PrimitiveBufferPattern::WedgeS(),
          PrimitiveBufferPattern::WedgeR()}) {
        const std::vector<uint16_t> all = p.RepeatIndices();
        ASSERT_EQ(all.size(), p.Indices.size() * PrimitiveBufferPattern::Primitives);
        const size_t n = p.Indices.size();
        for (int prim : {0, 1, 2, PrimitiveBufferPattern::Primitives - 1})
            for (size_t i = 0; i < n; ++i)
                ASSERT_EQ(all[prim * n + i], prim * p.VerticesPerPrimitive + p.Indices[i]);
        EXPECT_LE(static_cast<long>(PrimitiveBufferPattern::Primitives) * p.VerticesPerPrimitive,
                  65536L);
    }
}

} // namespace
