#include "shadow/ShadowVolumeDrawPlan.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using Plan = Korvo::ShadowVolumeDrawPlan;

// The pass's block with every field the plan leaves alone away from its default.
const GL::RasterState Pass = GL::RasterState()
                                 .Depth(GL_GREATER)
                                 .NoDepthWrite()
                                 .AlphaOnly()
                                 .StencilFunc(GL_ALWAYS, 0)
                                 .Additive()
                                 .Culling(GL_BACK);

// Only culling, the stencil operations and the blend equation may differ from the pass.
void ExpectPassKept(const GL::RasterState& s)
{
    GL::RasterState same = s;
    same.Cull = Pass.Cull;
    same.CullFace = Pass.CullFace;
    same.Front = Pass.Front;
    same.Back = Pass.Back;
    same.BlendEquation = Pass.BlendEquation;
    EXPECT_TRUE(same == Pass);
}

TEST(ShadowVolumeDrawPlan, StencilAndBlendTable)
{
    using Op = std::pair<GLenum, GLenum>;   // what counts front faces, back faces
    // Front and back operation on the field the step counts on (depth pass or depth fail).
    auto ops = [](const GL::RasterState& s, bool depthFail) {
        return depthFail ? Op{s.Front.DepthFail, s.Back.DepthFail}
                         : Op{s.Front.DepthPass, s.Back.DepthPass};
    };
    struct Row {
        Plan::Operation Operation;
        Plan::Mode Mode;
        bool DepthFail;
        Op Stencil;          // front, back
        Op Equation;         // front, back; 0: counted in the stencil even without it
    };
    const GLenum add = GL_FUNC_ADD, sub = GL_FUNC_REVERSE_SUBTRACT;
    const Row rows[] = {
        {Plan::Sides, Plan::DepthPass, false, {GL_INCR_WRAP, GL_DECR_WRAP}, {0, 0}},
        {Plan::Sides, Plan::DepthPassByBlending, false, {GL_DECR, GL_INCR}, {sub, add}},
        {Plan::Sides, Plan::DepthFail, true, {GL_DECR_WRAP, GL_INCR_WRAP}, {0, 0}},
        {Plan::Sides, Plan::DepthFailByBlending, true, {GL_INCR, GL_DECR}, {add, sub}},
        {Plan::Caps, Plan::DepthFail, true, {GL_DECR_WRAP, GL_INCR_WRAP}, {0, 0}},
        {Plan::Caps, Plan::DepthFailByBlending, true, {GL_INCR, GL_DECR}, {add, sub}},
        {Plan::CapsReversed, Plan::DepthFail, true, {GL_INCR_WRAP, GL_DECR_WRAP}, {0, 0}},
        {Plan::CapsReversed, Plan::DepthFailByBlending, true, {GL_DECR, GL_INCR}, {sub, add}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "operation " << r.Operation << " mode " << r.Mode);
        // Separate stencil: one draw of both faces, each with its own operation.
        Plan::Steps s = Plan::Plan(r.Operation, r.Mode, true, true, Pass);
        ASSERT_EQ(s.Count, 1);
        EXPECT_FALSE(s.State[0].Cull);
        EXPECT_EQ(ops(s.State[0], r.DepthFail), r.Stencil);
        ExpectPassKept(s.State[0]);

        // One face set at a time: the same operations, the faces kept by culling the other.
        s = Plan::Plan(r.Operation, r.Mode, true, false, Pass);
        ASSERT_EQ(s.Count, 2);
        for (int i = 0; i < 2; ++i) {
            const GL::RasterState& step = s.State[i];
            ASSERT_TRUE(step.Cull);
            const bool front = step.CullFace == GL_BACK;
            const Op o = ops(step, r.DepthFail);
            EXPECT_EQ(o.first, o.second);
            EXPECT_EQ(o.first, front ? r.Stencil.first : r.Stencil.second);
            ExpectPassKept(step);
        }
        EXPECT_NE(s.State[0].CullFace, s.State[1].CullFace);

        // Without stencil counting the blending modes add and subtract in the same order;
        // the wrapping modes still count in the stencil.
        s = Plan::Plan(r.Operation, r.Mode, false, r.Equation.first == 0, Pass);
        ASSERT_EQ(s.Count, 2);
        for (int i = 0; i < 2; ++i) {
            const bool front = s.State[i].CullFace == GL_BACK;
            if (r.Equation.first == 0) {
                EXPECT_EQ(ops(s.State[i], r.DepthFail).first,
                          front ? r.Stencil.first : r.Stencil.second);
            } else {
                EXPECT_EQ(s.State[i].BlendEquation, front ? r.Equation.first : r.Equation.second);
                EXPECT_TRUE(s.State[i].Front == Pass.Front && s.State[i].Back == Pass.Back);
            }
        }
    }

    // Caps in a depth-pass mode count as the non-wrapping depth-fail caps do; reversed
    // caps of the depth-pass modes are drawn once in the pass's own block.
    EXPECT_TRUE(Plan::Plan(Plan::Caps, Plan::DepthPass, true, false, Pass).State[0] ==
                Plan::Plan(Plan::Caps, Plan::DepthFailByBlending, true, false, Pass).State[0]);
    for (bool separate : {false, true}) {
        const Plan::Steps s = Plan::Plan(Plan::CapsReversed, Plan::DepthPass, true, separate, Pass);
        ASSERT_EQ(s.Count, 1);
        EXPECT_TRUE(s.State[0] == Pass);
    }
}
