#pragma once

#include "render/OverlayText.h"

#include <string>

namespace Korvo {

// The text overlay's four lines as the renderer shows them. Each line is formatted again
// only when what it shows changes (the frame rate about once a second, the rest hardly
// ever), into strings whose room is reserved up front, so that a frame allocates nothing;
// the unchanged strings let the renderer draw them from geometry cached by text.
class OverlayLines {
public:
    OverlayLines();
    OverlayLines(const OverlayLines&) = delete;
    OverlayLines& operator=(const OverlayLines&) = delete;

    // The lines' arguments: the renderer string of the driver, the frame set's size and
    // code path, the frame rate; english and demoId choose the texts.
    void Update(bool english, int demoId, const std::string& renderer, int frameWidth,
                int frameHeight, bool framebufferObjects, int framesPerSecond);

    const std::string& GetText(OverlayText::Line line) const { return texts[line]; }
    // Where and in which colour the line goes, in the language of the last Update.
    const OverlayLine& GetLook(OverlayText::Line line) const
    {
        return OverlayText::Get(line, english, demoId);
    }

private:
    const char* FormatOf(OverlayText::Line line) const;
    void Format(OverlayText::Line line, const char* format, ...)
        __attribute__((format(printf, 3, 4)));

    std::string texts[OverlayText::LineCount];
    char buffer[1024];

    // What the texts were made from.
    bool formatted = false;
    bool english = true;
    int demoId = 0;
    std::string renderer;
    int frameWidth = 0;
    int frameHeight = 0;
    bool framebufferObjects = false;
    int framesPerSecond = 0;
};

} // namespace Korvo
