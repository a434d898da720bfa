#include "render/OverlayLines.h"

#include <cstdarg>
#include <cstdio>

namespace Korvo {

OverlayLines::OverlayLines()
{
    // Room for any line the formatting buffer can hold, so that re-formatting a line never
    // allocates.
    for (std::string& text : texts)
        text.reserve(sizeof(buffer));
    buffer[0] = '\0';
}

const char* OverlayLines::FormatOf(OverlayText::Line line) const
{
    return OverlayText::Get(line, english, demoId).Format;
}

void OverlayLines::Format(OverlayText::Line line, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    texts[line].assign(written < 0 ? "" : buffer);
}

void OverlayLines::Update(bool english, int demoId, const std::string& renderer,
                          int frameWidth, int frameHeight, bool framebufferObjects,
                          int framesPerSecond)
{
    const bool all = !formatted || english != this->english || demoId != this->demoId;
    this->english = english;
    this->demoId = demoId;
    if (all || renderer != this->renderer) {
        this->renderer = renderer;
        Format(OverlayText::Videocard, FormatOf(OverlayText::Videocard), renderer.c_str());
    }
    if (all || frameWidth != this->frameWidth || frameHeight != this->frameHeight ||
        framebufferObjects != this->framebufferObjects) {
        this->frameWidth = frameWidth;
        this->frameHeight = frameHeight;
        this->framebufferObjects = framebufferObjects;
        Format(OverlayText::Framebuffer, FormatOf(OverlayText::Framebuffer), frameWidth,
               frameHeight, OverlayText::PathName(framebufferObjects));
    }
    if (all || framesPerSecond != this->framesPerSecond) {
        this->framesPerSecond = framesPerSecond;
        Format(OverlayText::FramesPerSecond, FormatOf(OverlayText::FramesPerSecond),
               framesPerSecond);
    }
    // The scene's name is plain text, printed as it is.
    if (all)
        texts[OverlayText::Demoscene].assign(FormatOf(OverlayText::Demoscene));
    formatted = true;
}

} // namespace Korvo
