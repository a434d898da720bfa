#pragma once

#include "gl/IContext.h"

namespace GL {

// An off-screen buffer of an exact size with a context that shares objects with the
// context current at construction. The P-buffer's context is current afterwards; a
// failure takes down whatever was made and makes the previous context current again.
class PBuffer : public IContext {
public:
    PBuffer(const PixelFormatDesc& desc, int width, int height);
    ~PBuffer() override;

    std::string GetTypeName() const override { return "GL::PBuffer"; }
    void SwapBuffers() override;

    Platform::HPBUFFER GetPBuffer() const { return pbuffer; }

private:
    Platform::HPBUFFER pbuffer = nullptr;
};

} // namespace GL
