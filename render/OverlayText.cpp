#include "render/OverlayText.h"

namespace Korvo {

namespace {

// 237/255, 28/255, 36/255 and 236/255, 224/255, 0.
#define KORVO_RED {0.929412f, 0.109804f, 0.141176f, 0.8f}
#define KORVO_YELLOW {0.925490f, 0.878431f, 0.0f, 0.8f}
#define KORVO_WHITE {1.0f, 1.0f, 1.0f, 0.6f}

const OverlayLine English[OverlayText::LineCount + 1] = {
    {40, KORVO_RED, "Videocard: %s"},
    {60, KORVO_RED, "Framebuffer: %d x %d, %s"},
    {80, KORVO_YELLOW, "Frames per second: %d"},
    {120, KORVO_WHITE, "Demoscene: Zir Aradid Azavera-Zuva"},
    {120, KORVO_WHITE, "Demoscene: Zedov Avivi Ridor Izoder"},
};

// "Видеоускоритель", "Буфер кадра", "Кадров/сек", "Демосцена" in Windows-1251.
const OverlayLine Russian[OverlayText::LineCount + 1] = {
    {40, KORVO_RED, "\xC2\xE8\xE4\xE5\xEE\xF3\xF1\xEA\xEE\xF0\xE8\xF2\xE5\xEB\xFC: %s"},
    {60, KORVO_RED, "\xC1\xF3\xF4\xE5\xF0 \xEA\xE0\xE4\xF0\xE0: %d x %d, %s"},
    {80, KORVO_YELLOW, "\xCA\xE0\xE4\xF0\xEE\xE2/\xF1\xE5\xEA: %d"},
    {120, KORVO_WHITE, "\xC4\xE5\xEC\xEE\xF1\xF6\xE5\xED\xE0: Zir Aradid Azavera-Zuva"},
    {120, KORVO_WHITE, "\xC4\xE5\xEC\xEE\xF1\xF6\xE5\xED\xE0: Zedov Avivi Ridor Izoder"},
};

#undef KORVO_RED
#undef KORVO_YELLOW
#undef KORVO_WHITE

} // namespace

const OverlayLine& OverlayText::Get(Line line, bool english, int demoId)
{
    const OverlayLine* lines = english ? English : Russian;
    if (line == Demoscene && demoId != 0)
        return lines[LineCount];
    return lines[line];
}

} // namespace Korvo
