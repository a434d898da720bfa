#pragma once

namespace Korvo {

// The four lines of the renderers' text overlay: where they go, their colours and their
// printf formats, in English or in the alternative Russian texts (Windows-1251 bytes,
// which the outline font reads through that code page).
struct OverlayLine {
    int OffsetFromTop;     // the line's baseline lies at height - OffsetFromTop
    float Color[4];
    const char* Format;
};

class OverlayText {
public:
    enum Line { Videocard = 0, Framebuffer = 1, FramesPerSecond = 2, Demoscene = 3, LineCount = 4 };

    static constexpr int Left = 20;

    // Videocard: the renderer string; Framebuffer: width, height, path name;
    // FramesPerSecond: the count; Demoscene: no arguments.
    static const OverlayLine& Get(Line line, bool english, int demoId);

    // Shown in the framebuffer line for the two off-screen code paths.
    static const char* PathName(bool framebufferObjects)
    {
        return framebufferObjects ? "Framebuffer Object" : "P-Buffer";
    }
};

} // namespace Korvo
