#pragma once

#include "app/KorvoIObject.h"

namespace Korvo {

// The off-screen targets a renderer draws a frame into. The path flag tells which of
// the two code paths the set took at construction: framebuffer objects in the window's
// context, or P-buffers with contexts of their own.
class IFrame : public IObject {
public:
    IFrame(int width, int height, int samples)
        : Width(width), Height(height), Samples(samples)
    {
    }
    ~IFrame() override = default;

    int GetWidth() const { return Width; }
    int GetHeight() const { return Height; }
    int GetSamples() const { return Samples; }
    bool UsesFramebufferObjects() const { return FramebufferObjects; }

protected:
    int Width;
    int Height;
    int Samples;
    bool FramebufferObjects = true;
};

} // namespace Korvo
