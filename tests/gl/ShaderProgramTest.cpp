#include "gl/FragmentShader.h"
#include "gl/Program.h"
#include "gl/VertexShader.h"
#include "media/ShaderLoader.h"
#include "tests/gl/GLFixture.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TestFiles.h"

#include <GL/glew.h>

#include <cstdlib>
#include <string>

namespace {

using TestFiles::ReadLog;

const char* const vertexSource =
    "attribute vec3 in_Position;\nattribute vec2 in_TexCoord;\nvarying vec2 v_TexCoord;\n"
    "void main()\n{\n    v_TexCoord = in_TexCoord;\n"
    "    gl_Position = gl_ModelViewProjectionMatrix * vec4(in_Position, 1.0);\n}\n";

const char* const fragmentSource =
    "struct Light { vec3 Position; float Radius; };\nuniform Light u_Lights[4];\n"
    "uniform vec4 u_Colour;\nuniform float u_Unused;\nuniform float u_Weights[4];\n"
    "varying vec2 v_TexCoord;\nvoid main()\n{\n"
    "    gl_FragColor = u_Colour * u_Lights[2].Radius + vec4(v_TexCoord, 0.0, 0.0)\n"
    "                 + vec4(u_Lights[0].Position, u_Weights[3]);\n}\n";

} // namespace

using Shaders = GLFixture;

TEST_F(Shaders, CompileFailuresReachTheLog)
{
    EXPECT_EQ(ErrorOf([] { GL::FragmentShader("void main() { gl_FragColor = oops; }"); }),
              "Failed to compile shader. See program log for GLSL compiler log details.");
    const std::string log = ReadLog();
    const size_t header = log.find("Failed to compile shader. GLSL compiler log:");
    ASSERT_NE(header, std::string::npos);
    EXPECT_NE(log.find("oops", header), std::string::npos) << "compiler log missing";
}

TEST_F(Shaders, ProgramBindsAttributesAndKeepsAUniformTable)
{
    Sys::Ptr<const GL::IShader> vs(new GL::VertexShader(vertexSource));
    Sys::Ptr<const GL::IShader> fs(new GL::FragmentShader(fragmentSource));
    GL::Program program;
    program.AttachShader(vs);
    program.AttachShader(fs);
    program.BindAttribute("in_Position", 0);
    program.BindAttribute("in_TexCoord", 5);
    program.Link();
    EXPECT_EQ(glGetAttribLocation(program.GetHandle(), "in_TexCoord"), 5);
    EXPECT_EQ(glGetAttribLocation(program.GetHandle(), "in_Position"), 0);

    const auto& table = program.GetUniformTable();
    EXPECT_EQ(table.count("u_Unused"), 0u);  // optimised away
    const size_t linked = table.size();

    program.Bind();
    const float colour[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    program.SetUniform4f("u_Colour", colour);
    // A name the program lacks sets and raises nothing; a later element of an array and a
    // member of a structure in an array are found although the driver lists neither.
    program.SetUniform1f("u_Unused", 3.0f);
    program.SetUniform1f("u_Weights[2]", 2.0f);
    program.SetUniform1f("u_Weights[2]", 3.0f);
    program.SetUniform1f("u_Lights[2].Radius", 4.0f);
    const struct {
        const char* name;
        size_t index;
        float value;
    } reads[] = {{"u_Weights[2]", 0, 3.0f}, {"u_Lights[2].Radius", 0, 4.0f}, {"u_Colour", 2, 0.75f}};
    for (const auto& read : reads) {
        float values[4] = {};
        glGetUniformfv(program.GetHandle(), program.GetUniformLocation(read.name), values);
        EXPECT_FLOAT_EQ(values[read.index], read.value) << read.name;
    }

    program.Unbind();

    // Relinking rebuilds the table from the active uniforms only.
    program.Link();
    EXPECT_EQ(program.GetUniformTable().size(), linked);
}

TEST_F(Shaders, LinkFailureCarriesTheLinkLog)
{
    Sys::Ptr<const GL::IShader> fs(new GL::FragmentShader(
        "vec4 Missing();\nvoid main() { gl_FragColor = Missing(); }\n"));
    GL::Program program;
    program.AttachShader(fs);
    const std::string text = ErrorOf([&] { program.Link(); });
    EXPECT_EQ(text.rfind("Failed to link program object.\n", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("Failed to link program object.\n").size());
}

TEST(ShaderLoaderDefine, PlacedAfterTheVersionLine)
{
    EXPECT_EQ(Media::ShaderLoader::InjectDefine("#version 110\nvoid main() {}\n", "SOFT 1"),
              "#version 110\n\n#define SOFT 1\nvoid main() {}\n");
    EXPECT_EQ(Media::ShaderLoader::InjectDefine("void main() {}\n", "SOFT"),
              "#define SOFT\n\nvoid main() {}\n");
    EXPECT_EQ(Media::ShaderLoader::InjectDefine("// c\n#version 110", "SOFT"),
              "// c\n#version 110");
}

TEST_F(Shaders, LoaderCompilesEachSourceOnce)
{
    ASSERT_EQ(std::system("mkdir -p MediaData/Shaders"), 0);
    TestFiles::Write("MediaData/Shaders/Plain.frag",
                     "#version 110\nvoid main()\n{\n#ifdef RED\n    gl_FragColor = vec4(1.0);\n"
                     "#else\n    gl_FragColor = vec4(0.0);\n#endif\n}\n");
    TestFiles::Write("MediaData/Shaders/Plain.vert", "void main() { gl_Position = ftransform(); }\n");
    TestFiles::Write("MediaData/Shaders/Empty.frag", "");
    Media::ShaderLoader loader;

    auto plain = loader.LoadFragmentShader("Shaders/Plain.frag", "");
    EXPECT_TRUE(plain == loader.LoadFragmentShader("Shaders/Plain.frag", ""));
    EXPECT_EQ(loader.GetCompileCount(), 1);
    auto red = loader.LoadFragmentShader("Shaders/Plain.frag", "RED");
    EXPECT_TRUE(red == loader.LoadFragmentShader("Shaders/Plain.frag", "RED"));
    EXPECT_FALSE(red == plain);
    EXPECT_EQ(loader.GetCompileCount(), 2);
    // Vertex shaders have a cache of their own.
    EXPECT_EQ(loader.LoadVertexShader("Shaders/Plain.vert", "")->GetTarget(),
              static_cast<GLenum>(GL_VERTEX_SHADER));
    EXPECT_EQ(loader.GetCompileCount(), 3);

    EXPECT_EQ(ErrorOf([&] { loader.LoadFragmentShader("Shaders/Empty.frag", ""); }),
              "Shader string is empty.");
    EXPECT_EQ(ErrorOf([&] { loader.LoadFragmentShader("Shaders/Missing.frag", ""); }),
              "Unable to open file \"MediaData/Shaders/Missing.frag\"");
}
