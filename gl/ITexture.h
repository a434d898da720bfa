#pragma once

#include "gl/IObject.h"

#include <GL/glew.h>

#include <string>

namespace GL {

// Owner of one OpenGL texture object. Textures have no class-name query of their own in
// the error helpers; their GL errors are raised with the texture form of GL::Exception.
class ITexture : public Object {
public:
    ~ITexture() override;
    virtual std::string GetTypeName() const = 0;

    // Any of the six filters, for magnification and minification alike.
    void SetFilter(GLenum mag, GLenum min) const;
    void SetWrap(GLenum s, GLenum t) const;

    GLuint GetHandle() const { return handle; }
    GLenum GetTarget() const { return target; }

    static bool IsFilter(GLenum value);
    static bool IsWrap(GLenum value);

protected:
    // Generates the texture object and binds it to `target`.
    explicit ITexture(GLenum target);

    GLuint handle = 0;
    GLenum target;
};

} // namespace GL
