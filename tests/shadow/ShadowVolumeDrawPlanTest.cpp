#include "shadow/ShadowVolumeDrawPlan.h"

#include "app/DeveloperException.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using Plan = Korvo::ShadowVolumeDrawPlan;

TEST(ShadowVolumeDrawPlan, StencilAndBlendTable)
{
    Plan::Step s[2];
    // Separate stencil with stencil counting: one draw, no state for any face set.
    for (auto op : {Plan::Sides, Plan::Caps, Plan::CapsReversed})
        for (int mode = 0; mode < 4; ++mode) {
            EXPECT_EQ(Plan::Plan(op, mode, true, true, s), 1);
            EXPECT_EQ(s[0].Cull, 0u);
            EXPECT_EQ(s[0].StencilOp[0], 0u);
        }

    // Modes 0 and 2 of the sides always count in the stencil, with wrapping.
    ASSERT_EQ(Plan::Plan(Plan::Sides, 0, false, false, s), 2);
    EXPECT_EQ(s[0].Cull, GLenum(GL_BACK));
    EXPECT_EQ(s[0].StencilOp[2], GLenum(GL_INCR_WRAP));
    EXPECT_EQ(s[1].Cull, GLenum(GL_FRONT));
    EXPECT_EQ(s[1].StencilOp[2], GLenum(GL_DECR_WRAP));
    EXPECT_EQ(s[1].BlendEquation, 0u);
    ASSERT_EQ(Plan::Plan(Plan::Sides, 2, false, true, s), 2);
    EXPECT_EQ(s[0].Cull, GLenum(GL_FRONT));
    EXPECT_EQ(s[0].StencilOp[1], GLenum(GL_INCR_WRAP));

    // Mode 1 counts by blending without stencil counting, by the stencil without wrap with.
    ASSERT_EQ(Plan::Plan(Plan::Sides, 1, false, false, s), 2);
    EXPECT_EQ(s[0].BlendEquation, GLenum(GL_FUNC_REVERSE_SUBTRACT));
    EXPECT_EQ(s[0].StencilOp[0], 0u);
    EXPECT_EQ(s[1].BlendEquation, GLenum(GL_FUNC_ADD));
    ASSERT_EQ(Plan::Plan(Plan::Sides, 1, true, false, s), 2);
    EXPECT_EQ(s[0].StencilOp[2], GLenum(GL_DECR));
    EXPECT_EQ(s[1].StencilOp[2], GLenum(GL_INCR));

    // Caps: mode 2 wraps, every other mode takes the non-wrapping pair.
    ASSERT_EQ(Plan::Plan(Plan::Caps, 2, true, false, s), 2);
    EXPECT_EQ(s[1].StencilOp[1], GLenum(GL_DECR_WRAP));
    ASSERT_EQ(Plan::Plan(Plan::Caps, 0, true, false, s), 2);
    EXPECT_EQ(s[0].StencilOp[1], GLenum(GL_DECR));
    EXPECT_EQ(s[0].Cull, GLenum(GL_FRONT));

    // Reversed caps: nothing for depth-pass modes, the opposite signs for depth-fail.
    EXPECT_EQ(Plan::Plan(Plan::CapsReversed, 1, false, false, s), 1);
    EXPECT_EQ(s[0].Cull, 0u);
    ASSERT_EQ(Plan::Plan(Plan::CapsReversed, 2, true, false, s), 2);
    EXPECT_EQ(s[0].StencilOp[1], GLenum(GL_DECR_WRAP));
    ASSERT_EQ(Plan::Plan(Plan::CapsReversed, 3, false, false, s), 2);
    EXPECT_EQ(s[0].BlendEquation, GLenum(GL_FUNC_ADD));
    EXPECT_EQ(s[1].BlendEquation, GLenum(GL_FUNC_REVERSE_SUBTRACT));

    EXPECT_THROW(Plan::Plan(Plan::Sides, 4, false, false, s), Sys::DeveloperException);
}

TEST(ShadowVolumeDrawPlan, WedgeBatches)
{
    auto batches = [](int edges, int count) {
        std::vector<std::pair<int, int>> out;
        Plan::ForEachWedgeBatch(edges, count, [&](int s, int n) { out.push_back({s, n}); });
        return out;
    };
    using B = std::vector<std::pair<int, int>>;
    EXPECT_EQ(batches(10, 4), (B{{0, 4}, {4, 4}, {8, 2}}));
    EXPECT_EQ(batches(3, 64), (B{{0, 3}}));   // the batch size is lowered to the edges
    EXPECT_EQ(batches(0, 4), B{});
    EXPECT_EQ(batches(5, 0), B{});
}
