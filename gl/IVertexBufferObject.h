#pragma once

#include "gl/IObject.h"

#include <GL/glew.h>

namespace GL {

// An OpenGL buffer object bound to one target. The render device binds it by name.
class IVertexBufferObject : public IObject {
public:
    ~IVertexBufferObject() override;

    // Re-allocates the storage for `count` elements, keeping the usage it was made with;
    // the contents are lost. For the base an element is one byte.
    virtual void Resize(int count);

    // Write-only mapping of the whole buffer.
    void* Map() const;
    void Unmap() const;

    GLuint GetHandle() const { return handle; }
    GLenum GetTarget() const { return target; }
    int GetSizeInBytes() const { return sizeInBytes; }

protected:
    // Needs OpenGL 1.5; generates the buffer object name.
    explicit IVertexBufferObject(GLenum target);

    // Allocates `bytes` of storage without data; false on a GL error (which stays pending).
    void Allocate(int bytes, GLenum usage);
    // Drains errors, binds, re-allocates with the current usage; raises `failure` on error.
    void Reallocate(int bytes, const char* failure);
    void ReleasePackBinding() const;

    GLenum target;
    GLuint handle = 0;
    int sizeInBytes = 0;
};

} // namespace GL
