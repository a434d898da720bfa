// The message box: a small modal X11 dialog, or standard error where no one could see one.

#include "platform/X11Connection.h"

#include <X11/keysym.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace Platform {

namespace {

bool WantsStandardError()
{
    const char* mode = std::getenv("KORVO_MESSAGEBOX");
    return mode != nullptr && std::strcmp(mode, "stderr") == 0;
}

std::vector<std::string> SplitLines(const char* text)
{
    std::vector<std::string> lines;
    std::string line;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n') {
            lines.push_back(line);
            line.clear();
        } else if (*p != '\r') {
            line += *p;
        }
    }
    lines.push_back(line);
    return lines;
}

// Runs the dialog on a connection of its own, so that the application's queue and its
// error state stay untouched while the box is up.
bool ShowDialog(const char* text, const char* title)
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0')
        return false;
    Display* display = XOpenDisplay(name);
    if (display == nullptr)
        return false;
    const int screen = DefaultScreen(display);
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    const int lineHeight = font != nullptr ? font->ascent + font->descent + 2 : 14;
    const std::vector<std::string> lines = SplitLines(text);
    int textWidth = 200;
    for (const std::string& line : lines) {
        const int width = font != nullptr
                              ? XTextWidth(font, line.c_str(), static_cast<int>(line.size()))
                              : static_cast<int>(line.size()) * 7;
        textWidth = std::max(textWidth, width);
    }
    const int margin = 16, buttonWidth = 80, buttonHeight = 26;
    const int width = textWidth + 2 * margin;
    const int height = static_cast<int>(lines.size()) * lineHeight + 3 * margin + buttonHeight;
    const unsigned long white = WhitePixel(display, screen), black = BlackPixel(display, screen);
    ::Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 100, 100,
                                          static_cast<unsigned>(width),
                                          static_cast<unsigned>(height), 1, black, white);
    XStoreName(display, window, title);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, ExposureMask | KeyPressMask | ButtonPressMask);
    GC gc = XCreateGC(display, window, 0, nullptr);
    XSetForeground(display, gc, black);
    if (font != nullptr)
        XSetFont(display, gc, font->fid);
    XMapRaised(display, window);

    const int buttonX = (width - buttonWidth) / 2;
    const int buttonY = height - margin - buttonHeight;
    bool done = false;
    while (!done) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
        case Expose: {
            int y = margin + lineHeight;
            for (const std::string& line : lines) {
                XDrawString(display, window, gc, margin, y, line.c_str(),
                            static_cast<int>(line.size()));
                y += lineHeight;
            }
            XDrawRectangle(display, window, gc, buttonX, buttonY, buttonWidth, buttonHeight);
            XDrawString(display, window, gc, buttonX + buttonWidth / 2 - 6,
                        buttonY + buttonHeight / 2 + 4, "OK", 2);
            break;
        }
        case KeyPress: {
            const KeySym key = XLookupKeysym(&event.xkey, 0);
            done = key == XK_Return || key == XK_KP_Enter || key == XK_Escape;
            break;
        }
        case ButtonPress:
            done = event.xbutton.x >= buttonX && event.xbutton.x < buttonX + buttonWidth
                   && event.xbutton.y >= buttonY && event.xbutton.y < buttonY + buttonHeight;
            break;
        case ClientMessage:
            done = static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow;
            break;
        default:
            break;
        }
    }
    XFreeGC(display, gc);
    if (font != nullptr)
        XFreeFont(display, font);
    XDestroyWindow(display, window);
    XCloseDisplay(display);
    return true;
}

} // namespace

int MessageBoxA(HWND, const char* text, const char* title, UINT)
{
    if (text == nullptr)
        text = "";
    if (title == nullptr)
        title = "Error";
    // After a lost connection the box might open on a server that is going away.
    if (WantsStandardError() || IsDisplayConnectionLost() || !ShowDialog(text, title)) {
        std::fprintf(stderr, "%s\n%s\n", title, text);
        std::fflush(stderr);
    }
    return 1;  // IDOK
}

} // namespace Platform
