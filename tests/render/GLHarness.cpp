#include "tests/render/GLHarness.h"

#include <GL/glx.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

GLHarness::GLHarness()
{
    ::Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        Error = "no display";
        return;
    }
    Display = display;
    const int attributes[] = {GLX_DRAWABLE_TYPE, GLX_PBUFFER_BIT, GLX_RENDER_TYPE, GLX_RGBA_BIT,
                              GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                              GLX_DEPTH_SIZE, 24, GLX_STENCIL_SIZE, 8, None};
    int count = 0;
    GLXFBConfig* configs = glXChooseFBConfig(display, DefaultScreen(display), attributes, &count);
    if (configs == nullptr || count == 0) {
        Error = "no P-buffer configuration";
        return;
    }
    const int size[] = {GLX_PBUFFER_WIDTH, 16, GLX_PBUFFER_HEIGHT, 16, None};
    const GLXPbuffer pbuffer = glXCreatePbuffer(display, configs[0], size);
    const GLXContext context =
        glXCreateNewContext(display, configs[0], GLX_RGBA_TYPE, nullptr, True);
    XFree(configs);
    Drawable = pbuffer;
    Context = context;
    if (context == nullptr || !glXMakeContextCurrent(display, pbuffer, pbuffer, context)) {
        Error = "no context";
        return;
    }
    glewExperimental = GL_TRUE;
    if (glewInit() != GLEW_OK)
        Error = "glewInit failed";
    while (glGetError() != GL_NO_ERROR) {
    }
}

GLHarness::~GLHarness()
{
    ::Display* display = static_cast<::Display*>(Display);
    if (display == nullptr)
        return;
    glXMakeContextCurrent(display, None, None, nullptr);
    if (Context != nullptr)
        glXDestroyContext(display, static_cast<GLXContext>(Context));
    if (Drawable != 0)
        glXDestroyPbuffer(display, Drawable);
    XCloseDisplay(display);
}

std::string GLHarness::LoadSource(const std::string& path, const std::string& define)
{
    const char* root = std::getenv("KORVO_SOURCE_DIR");
    std::ifstream file(std::string(root != nullptr ? root : ".") + "/MediaData/" + path);
    std::stringstream text;
    text << file.rdbuf();
    std::string source = text.str();
    if (define.empty())
        return source;
    const size_t version = source.find("#version");
    if (version == std::string::npos)
        return "#define " + define + "\n\n" + source;
    const size_t lineEnd = source.find('\n', version);
    if (lineEnd == std::string::npos)
        return source;
    return source.substr(0, lineEnd + 1) + "\n#define " + define + "\n" +
           source.substr(lineEnd + 1);
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
