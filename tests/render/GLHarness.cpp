#include "tests/render/GLHarness.h"

#include "media/ShaderLoader.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

GLHarness::GLHarness()
{
    if (!context.IsReady())
        Error = context.Error();
}

std::string GLHarness::LoadSource(const std::string& path, const std::string& define)
{
    const char* root = std::getenv("KORVO_SOURCE_DIR");
    std::ifstream file(std::string(root != nullptr ? root : ".") + "/MediaData/" + path);
    std::stringstream text;
    text << file.rdbuf();
    const std::string source = text.str();
    if (define.empty())
        return source;
    return Media::ShaderLoader::InjectDefine(source, define);
}

GLuint GLHarness::Compile(GLenum type, const std::string& source, const std::string& name)
{
    if (source.empty()) {
        Error += name + ": empty source\n";
        return 0;
    }
    const GLuint shader = glCreateShader(type);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[4096] = {};
        glGetShaderInfoLog(shader, sizeof(log), nullptr, log);
        Error += name + ": " + log + "\n";
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

GLuint GLHarness::BuildProgram(const ProgramDesc& desc)
{
    const GLuint vertex = Compile(GL_VERTEX_SHADER, LoadSource(desc.VertexPath, desc.VertexDefine),
                                  desc.VertexPath + " [" + desc.VertexDefine + "]");
    GLuint fragment = 0;
    if (!desc.FragmentPath.empty())
        fragment = Compile(GL_FRAGMENT_SHADER,
                           LoadSource(desc.FragmentPath, desc.FragmentDefine),
                           desc.FragmentPath + " [" + desc.FragmentDefine + "]");
    if (vertex == 0 || (!desc.FragmentPath.empty() && fragment == 0))
        return 0;
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    if (fragment != 0)
        glAttachShader(program, fragment);
    for (const auto& attribute : desc.Attributes)
        glBindAttribLocation(program, attribute.first, attribute.second.c_str());
    glLinkProgram(program);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    glDeleteShader(vertex);
    if (fragment != 0)
        glDeleteShader(fragment);
    if (!ok) {
        char log[4096] = {};
        glGetProgramInfoLog(program, sizeof(log), nullptr, log);
        Error += "link " + desc.VertexPath + ": " + log + "\n";
        glDeleteProgram(program);
        return 0;
    }
    return program;
}
