#include "tests/render/GLHarness.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::pair<int, std::string>> PositionOnly = {{0, "in_Vertex"}};
const std::vector<std::pair<int, std::string>> PositionNormal = {{0, "in_Vertex"},
                                                                 {1, "in_Normal"}};
const std::vector<std::pair<int, std::string>> Extrusion = {{0, "in_Vertex"}, {1, "in_WCoord"}};
const std::vector<std::pair<int, std::string>> Wedge = {
    {0, "in_Edge0"}, {1, "in_Edge1"}, {2, "in_VertexData"}};

struct Case {
    GLHarness::ProgramDesc Desc;
    // Uniforms the renderers set by name: each must be active, or setting it would
    // silently do nothing.
    std::vector<std::string> Uniforms;
};

std::vector<Case> AllPrograms()
{
    const std::string volume = "Shaders/Shadows/ShadowVolume/";
    const std::string wedge = "Shaders/Shadows/Wedge/Spherical/";
    const std::string lighting = "Shaders/LightingModels/";
    const std::vector<std::string> wedgeUniforms = {
        "u_TexCoordinate", "u_TexAtan2", "u_LightSource.WorldPosition", "u_LightSource.InvRadius",
        "u_LightSource.Position", "u_LightSource.Radius"};
    std::vector<Case> cases = {
        {{"Shaders/Common/Transform.vsh", "", "", "", PositionOnly}, {}},
        {{"Shaders/Common/ColorTransform.vsh", "", "", "", PositionOnly}, {}},
        {{volume + "ShadowVolume.vsh", "", "", "", Extrusion}, {"u_LightSource.Position"}},
        {{volume + "ShadowVolume.vsh", "", "ALPHA", "", Extrusion}, {"u_LightSource.Position"}},
        {{volume + "ShadowCap.vsh", "", "NEAR", "", PositionOnly}, {}},
        {{volume + "ShadowCap.vsh", "", "NEAR\n#define ALPHA", "", PositionOnly}, {}},
        {{volume + "ShadowCap.vsh", "", "FAR", "", PositionOnly}, {"u_LightSource.Position"}},
        {{volume + "ShadowCap.vsh", "", "FAR\n#define ALPHA", "", PositionOnly},
         {"u_LightSource.Position"}},
        {{"Shaders/Shadows/Framebuffer/Coordinate.vsh", "Shaders/Shadows/Framebuffer/Coordinate.fsh",
          "", "", PositionOnly},
         {"u_ModelMatrix"}},
        {{wedge + "Construct.vsh", "", "", "", Wedge}, {"u_LightSource.Position"}},
        {{wedge + "Construct.vsh", wedge + "Coverage.fsh", "FRAG", "FRAG", Wedge}, wedgeUniforms},
        {{"Shaders/Common/Transform.vsh", "Shaders/Shadows/Framebuffer/Combine.fsh", "", "",
          PositionOnly},
         {"u_TexStencil", "u_TexCoverage"}},
    };
    for (const std::string& define : {std::string(), std::string("SHADOW")}) {
        std::vector<std::string> common = {"u_LightSource.Position", "u_LightSource.Radius",
                                           "u_LightSource.DiffuseColor",
                                           "u_Material.DiffuseColor"};
        if (!define.empty()) {
            common.push_back("u_TexShadow");
            common.push_back("u_TexCoordScale");
        }
        cases.push_back({{lighting + "Lambert.vsh", lighting + "Lambert.fsh", "", define,
                          PositionNormal},
                         common});
        common.push_back("u_LightSource.SpecularColor");
        common.push_back("u_Material.SpecularPow");
        common.push_back("u_ViewPosition");
        cases.push_back({{lighting + "Phong.vsh", lighting + "Phong.fsh", "", define,
                          PositionNormal},
                         common});
    }
    for (int lights = 1; lights <= 6; ++lights) {
        const std::string define = "MAX_LIGHTS " + std::to_string(lights);
        std::vector<std::string> uniforms = {"u_AmbientColor", "u_Material.DiffuseColor"};
        for (int i = 0; i < lights; ++i) {
            const std::string light = "u_LightSource[" + std::to_string(i) + "].";
            uniforms.push_back(light + "Position");
            uniforms.push_back(light + "Radius");
            uniforms.push_back(light + "AmbientColor");
        }
        cases.push_back({{lighting + "Ambient.vsh", lighting + "Ambient.fsh", define, define,
                          PositionNormal},
                         uniforms});
    }
    return cases;
}

TEST(ShaderFiles, EveryProgramCompilesLinksAndKeepsTheUniformsTheRenderersSet)
{
    GLHarness gl;
    ASSERT_TRUE(gl.Ok()) << gl.Error;
    for (const Case& c : AllPrograms()) {
        const GLuint program = gl.BuildProgram(c.Desc);
        ASSERT_NE(program, 0u) << gl.Error;
        for (const std::string& name : c.Uniforms)
            EXPECT_NE(glGetUniformLocation(program, name.c_str()), -1)
                << c.Desc.VertexPath << " " << c.Desc.FragmentPath << " ["
                << c.Desc.FragmentDefine << "]: " << name;
        for (const auto& attribute : c.Desc.Attributes)
            EXPECT_EQ(glGetAttribLocation(program, attribute.second.c_str()), attribute.first)
                << c.Desc.VertexPath << ": " << attribute.second;
        glDeleteProgram(program);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

} // namespace
