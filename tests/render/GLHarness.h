#pragma once

#include <GL/glew.h>

#include <string>
#include <utility>
#include <vector>

// A bare GL context on the test display (a small P-buffer; drawing goes to framebuffer
// objects) and the loading rule of the shader files, for the tests that run the shader
// files on their own.
class GLHarness {
public:
    GLHarness();
    ~GLHarness();
    GLHarness(const GLHarness&) = delete;
    GLHarness& operator=(const GLHarness&) = delete;

    bool Ok() const { return Error.empty(); }
    std::string Error;

    // Reads "MediaData/" + path from the source tree and, when define is not empty, puts
    // "#define <define>" on the line after "#version".
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

    void* Display = nullptr;
    void* Context = nullptr;
    unsigned long Drawable = 0;
};
