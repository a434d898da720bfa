#pragma once

#include "gl/IObject.h"

#include <GL/glew.h>

namespace GL {

class RenderBuffer : public IObject {
public:
    // samples > 0 makes a multisampled renderbuffer.
    RenderBuffer(GLenum internalFormat, int width, int height, int samples);
    ~RenderBuffer() override;

    std::string GetTypeName() const override { return "GL::RenderBuffer"; }
    GLuint GetHandle() const { return handle; }

private:
    GLuint handle = 0;
};

} // namespace GL
