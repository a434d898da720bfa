#include "render/PrimitiveBufferPattern.h"

#include <gtest/gtest.h>

#include <set>

using Korvo::PrimitiveBufferPattern;

TEST(PrimitiveBufferPattern, RepeatedIndexLists)
{
    const auto quad = PrimitiveBufferPattern::Quad().RepeatIndices();
    ASSERT_EQ(quad.size(), 30000u);
    EXPECT_EQ(std::vector<uint16_t>(quad.end() - 6, quad.end()),
              (std::vector<uint16_t>{19996, 19997, 19998, 19996, 19998, 19999}));

    const auto wedgeR = PrimitiveBufferPattern::WedgeR().RepeatIndices();
    ASSERT_EQ(wedgeR.size(), 240000u);
    EXPECT_EQ(wedgeR[48], 10);
    EXPECT_EQ(PrimitiveBufferPattern::WedgeS().RepeatIndices().size(), 120000u);

    // Each wedge is a closed solid: every directed edge of its triangles appears once and
    // its reverse once, and every corner is used.
    for (const PrimitiveBufferPattern& p : {PrimitiveBufferPattern::WedgeS(), PrimitiveBufferPattern::WedgeR()}) {
        std::multiset<std::pair<int, int>> edges;
        std::set<int> corners;
        for (size_t t = 0; t < p.Indices.size(); t += 3)
            for (int k = 0; k < 3; ++k) {
                edges.insert({p.Indices[t + k], p.Indices[t + (k + 1) % 3]});
                corners.insert(p.Indices[t + k]);
            }
        EXPECT_EQ(int(corners.size()), p.VerticesPerPrimitive);
        for (const auto& e : edges) {
            EXPECT_EQ(edges.count(e), 1u);
            EXPECT_EQ(edges.count({e.second, e.first}), 1u) << e.first << "-" << e.second;
        }
        // Corners 1 and 2 carry the mark.
        for (int v = 0; v < p.VerticesPerPrimitive; ++v) {
            EXPECT_EQ(p.WedgeValues[2 * v], v);
            EXPECT_EQ(p.WedgeValues[2 * v + 1], v == 1 || v == 2 ? 1 : 0);
        }
    }
    const auto w = PrimitiveBufferPattern::Repeat(PrimitiveBufferPattern::Quad().QuadValues);
    EXPECT_EQ(w.size(), 20000u);
    EXPECT_EQ(w[4], 1.0f);
    EXPECT_EQ(w[5], 0.0f);
}
