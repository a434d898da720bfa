#pragma once

#include "tests/support/GLTestContext.h"

#include <GL/glew.h>

#include <string>
#include <utility>
#include <vector>

// The shader files on their own, on the GL tests' context (drawing goes to framebuffer
// objects), loaded with the shader loader's rule for definitions.
class GLHarness {
public:
    GLHarness();
    GLHarness(const GLHarness&) = delete;
    GLHarness& operator=(const GLHarness&) = delete;

    bool Ok() const { return Error.empty(); }
    std::string Error;

    // Reads "MediaData/" + path from the source tree with `define`, when not empty, put in
    // as the shader loader does.
    static std::string LoadSource(const std::string& path, const std::string& define);

    struct ProgramDesc {
        std::string VertexPath;
        std::string FragmentPath;   // empty: no fragment shader
        std::string VertexDefine;
        std::string FragmentDefine;
        std::vector<std::pair<int, std::string>> Attributes;
    };
    // Compiles and links; 0 with the logs in Error on failure.
    GLuint BuildProgram(const ProgramDesc& desc);

private:
    GLuint Compile(GLenum type, const std::string& source, const std::string& name);

    Test::GLTestContext context;
};
