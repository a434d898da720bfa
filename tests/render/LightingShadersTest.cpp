// The lighting shader files on their own: a floor seen from straight above under one
// light, drawn into a float target and read back.
#include "gl/FragmentShader.h"
#include "gl/Program.h"
#include "gl/VertexShader.h"
#include "media/ShaderLoader.h"
#include "tests/gl/GLFixture.h"
#include "tests/support/TestFiles.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int Size = 64;
constexpr float Extent = 8.0f;   // the floor spans -Extent..Extent in x and z

// World x (or z) of a pixel centre.
float WorldOf(int pixel) { return -Extent + 2.0f * Extent * (pixel + 0.5f) / Size; }

class LightingShaders : public GLFixture {
protected:
    void SetUp() override
    {
        GLFixture::SetUp();
        glGenTextures(1, &target);
        glBindTexture(GL_TEXTURE_RECTANGLE_ARB, target);
        glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA32F_ARB, Size, Size, 0, GL_RGBA,
                     GL_FLOAT, nullptr);
        glGenFramebuffersEXT(1, &framebuffer);
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
        glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT,
                                  GL_TEXTURE_RECTANGLE_ARB, target, 0);
        glViewport(0, 0, Size, Size);
        // Looking down the -y axis: x to the right, -z up the picture.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-Extent, Extent, -Extent, Extent, -20, 20);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    }

    void TearDown() override
    {
        glUseProgram(0);
        program = nullptr;
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
        glDeleteFramebuffersEXT(1, &framebuffer);
        glDeleteTextures(1, &target);
        GLFixture::TearDown();
    }

    // Links the model's two files, each definition put in as the shader loader puts it, and
    // binds the program.
    void Build(const std::string& model, const std::string& vertexDefine,
               const std::string& fragmentDefine)
    {
        const char* root = std::getenv("KORVO_SOURCE_DIR");
        const std::string path = std::string(root != nullptr ? root : ".") +
                                 "/MediaData/Shaders/LightingModels/" + model;
        auto source = [&](const char* extension, const std::string& define) {
            const std::string text = TestFiles::Read(path + extension);
            return define.empty() ? text : Media::ShaderLoader::InjectDefine(text, define);
        };
        program = Sys::Ptr<GL::Program>(new GL::Program());
        program->AttachShader(Sys::Ptr<const GL::IShader>(
            new GL::VertexShader(source(".vsh", vertexDefine))));
        program->AttachShader(Sys::Ptr<const GL::IShader>(
            new GL::FragmentShader(source(".fsh", fragmentDefine))));
        program->BindAttribute("in_Vertex", 0);
        program->BindAttribute("in_Normal", 1);
        program->Link();
        program->Bind();
    }

    // Draws the floor with the bound program and returns the red channel, row by row.
    std::vector<float> DrawFloor()
    {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        const float corners[] = {-Extent, 0, -Extent, -Extent, 0, Extent, Extent, 0, Extent,
                                 -Extent, 0, -Extent, Extent, 0, Extent,  Extent, 0, -Extent};
        const float normals[] = {0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0};
        glDisable(GL_CULL_FACE);
        glEnableVertexAttribArray(0);
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 0, corners);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, 0, normals);
        glDrawArrays(GL_TRIANGLES, 0, 6);
        glDisableVertexAttribArray(1);
        glDisableVertexAttribArray(0);
        std::vector<float> red(Size * Size);
        glReadPixels(0, 0, Size, Size, GL_RED, GL_FLOAT, red.data());
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        return red;
    }

    // The renderers set these uniforms by name: each must be active, or setting it would
    // silently do nothing.
    int At(const char* name) const
    {
        const int location = program->GetUniformLocation(name);
        EXPECT_NE(location, -1) << name;
        return location;
    }
    void Set3(const char* name, float x, float y, float z) const { glUniform3f(At(name), x, y, z); }
    void Set1(const char* name, float v) const { glUniform1f(At(name), v); }

    Sys::Ptr<GL::Program> program;
    GLuint target = 0;
    GLuint framebuffer = 0;
};

TEST_F(LightingShaders, LambertFadesToZeroAtTheRadiusAndFollowsTheAngle)
{
    Build("Lambert", "", "");
    Set3("u_LightSource.Position", 0, 2, 0);
    Set1("u_LightSource.Radius", 6.0f);
    Set3("u_LightSource.DiffuseColor", 1, 1, 1);
    Set3("u_Material.DiffuseColor", 0.8f, 0.8f, 0.8f);
    const std::vector<float> red = DrawFloor();

    const int row = Size / 2;
    float previous = 2.0f;
    for (int x = Size / 2; x < Size; ++x) {
        const float wx = WorldOf(x), wz = WorldOf(row);
        const float distance = std::sqrt(wx * wx + 4.0f + wz * wz);
        const float value = red[row * Size + x];
        if (distance >= 6.0f) {
            EXPECT_EQ(value, 0.0f) << "beyond the radius at x = " << wx;
        } else {
            EXPECT_GT(value, 0.0f) << "inside the radius at x = " << wx;
            EXPECT_LT(value, previous) << "brightness falls away from the light";
        }
        previous = value;
    }
    // Straight under the light nearly all of the diffuse colour arrives, scaled by the
    // fade at distance 2 of 6.
    const float centre = red[row * Size + Size / 2];
    EXPECT_GT(centre, 0.25f);
    EXPECT_LT(centre, 0.8f);

    // A light under the floor lights nothing.
    Set3("u_LightSource.Position", 0, -1, 0);
    for (float v : DrawFloor())
        EXPECT_EQ(v, 0.0f);
}

TEST_F(LightingShaders, ShadowValueScalesTheLitPrograms)
{
    GLuint shadow = 0;
    glGenTextures(1, &shadow);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, shadow);
    std::vector<unsigned char> half(Size * Size * 4, 0);
    for (int i = 0; i < Size * Size; ++i)
        half[4 * i + 3] = i % Size < Size / 2 ? 0 : 255;   // left half hidden
    glTexImage2D(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA8, Size, Size, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, half.data());
    glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MAG_FILTER, GL_NEAREST);

    for (const char* model : {"Lambert", "Phong"}) {
        for (const std::string define : {"", "SHADOW"}) {
            Build(model, "", define);
            Set3("u_LightSource.Position", 0, 3, 0);
            Set1("u_LightSource.Radius", 20.0f);
            Set3("u_LightSource.DiffuseColor", 1, 1, 1);
            Set3("u_Material.DiffuseColor", 0.5f, 0.5f, 0.5f);
            if (model == std::string("Phong")) {
                Set3("u_LightSource.SpecularColor", 1, 1, 1);
                Set1("u_Material.SpecularPow", 16.0f);
                Set3("u_ViewPosition", 0, 10, 0);
            }
            if (!define.empty()) {
                glUniform1i(At("u_TexShadow"), 0);
                Set1("u_TexCoordScale", 1.0f);
            }
            const std::vector<float> red = DrawFloor();
            const int row = Size / 2;
            const float left = red[row * Size + Size / 2 - 2];
            const float right = red[row * Size + Size / 2 + 1];
            EXPECT_GT(right, 0.2f) << model << " " << define;
            if (define.empty())
                EXPECT_NEAR(left, red[row * Size + Size / 2 + 1], 0.05f) << model;
            else
                EXPECT_EQ(left, 0.0f) << model;
        }
    }
    glDeleteTextures(1, &shadow);
}

TEST_F(LightingShaders, AmbientAddsOnlyTheLightsItWasGiven)
{
    for (int lights = 1; lights <= 5; ++lights) {   // every count a renderer draws with
        const std::string define = "MAX_LIGHTS " + std::to_string(lights);
        Build("Ambient", define, define);
        Set3(("u_LightSource[" + std::to_string(lights - 1) + "].AmbientColor").c_str(), 0, 0, 0);
    }
    Build("Ambient", "MAX_LIGHTS 3", "MAX_LIGHTS 3");
    Set3("u_AmbientColor", 0.02f, 0.02f, 0.02f);
    Set3("u_Material.DiffuseColor", 1, 1, 1);
    const std::vector<float> dark = DrawFloor();
    for (float v : dark)
        EXPECT_NEAR(v, 0.02f, 1e-6f);

    Set3("u_LightSource[1].Position", 0, 1, 0);
    Set1("u_LightSource[1].Radius", 4.0f);
    Set3("u_LightSource[1].AmbientColor", 0.3f, 0.3f, 0.3f);
    const std::vector<float> lit = DrawFloor();
    const int centre = (Size / 2) * Size + Size / 2;
    EXPECT_GT(lit[centre], 0.1f);
    EXPECT_NEAR(lit[0], 0.02f, 1e-6f);   // the corner lies beyond the radius
}

} // namespace
