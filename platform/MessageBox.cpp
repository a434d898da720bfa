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

// Whether a window manager runs on the screen: it owns the WM_Sn selection (ICCCM).
bool HasWindowManager(Display* display, int screen)
{
    const std::string name = "WM_S" + std::to_string(screen);
    return XGetSelectionOwner(display, XInternAtom(display, name.c_str(), False)) != 0;
}

// The rectangle to centre on: the owner's, when it is shown, else the screen's.
void CentreArea(Display* display, int screen, unsigned long owner, int* x, int* y, int* width,
                int* height)
{
    *x = 0;
    *y = 0;
    *width = DisplayWidth(display, screen);
    *height = DisplayHeight(display, screen);
    XWindowAttributes attributes;
    if (owner == 0 || XGetWindowAttributes(display, owner, &attributes) == 0
        || attributes.map_state != IsViewable)
        return;
    ::Window child = 0;
    XTranslateCoordinates(display, owner, RootWindow(display, screen), 0, 0, x, y, &child);
    *width = attributes.width;
    *height = attributes.height;
}

unsigned long NamedColour(Display* display, int screen, const char* name, unsigned long fallback)
{
    XColor exact, near;
    if (XAllocNamedColor(display, DefaultColormap(display, screen), name, &near, &exact) == 0)
        return fallback;
    return near.pixel;
}

int IgnoreError(Display*, XErrorEvent*)
{
    return 0;
}

// Runs the dialog on a connection of its own, so that the application's queue and its
// error state stay untouched while the box is up. The box is centred on its owner (or the
// screen), shows the stop sign beside the text, and draws its own title bar where no
// window manager would.
bool ShowDialog(unsigned long owner, const char* text, const char* title)
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || name[0] == '\0')
        return false;
    Display* display = XOpenDisplay(name);
    if (display == nullptr)
        return false;
    // The owner may be gone already; that must not end the process.
    XErrorHandler previous = XSetErrorHandler(IgnoreError);
    const int screen = DefaultScreen(display);
    XFontStruct* font = XLoadQueryFont(display, "fixed");
    const int lineHeight = font != nullptr ? font->ascent + font->descent + 2 : 14;
    const std::vector<std::string> lines = SplitLines(text);
    auto widthOf = [font](const std::string& line) {
        return font != nullptr ? XTextWidth(font, line.c_str(), static_cast<int>(line.size()))
                               : static_cast<int>(line.size()) * 7;
    };
    int textWidth = 200;
    for (const std::string& line : lines)
        textWidth = std::max(textWidth, widthOf(line));
    const bool ownTitle = !HasWindowManager(display, screen);
    const int titleHeight = ownTitle ? lineHeight + 8 : 0;
    textWidth = std::max(textWidth, widthOf(title) - 32);
    const int margin = 16, sign = 32, buttonWidth = 80, buttonHeight = 26;
    const int textX = 2 * margin + sign;
    const int bodyHeight = std::max(static_cast<int>(lines.size()) * lineHeight, sign);
    const int width = textX + textWidth + margin;
    const int height = titleHeight + bodyHeight + 3 * margin + buttonHeight;

    int areaX, areaY, areaWidth, areaHeight;
    CentreArea(display, screen, owner, &areaX, &areaY, &areaWidth, &areaHeight);
    const int x = areaX + (areaWidth - width) / 2;
    const int y = areaY + (areaHeight - height) / 2;

    const unsigned long white = WhitePixel(display, screen), black = BlackPixel(display, screen);
    const unsigned long red = NamedColour(display, screen, "red3", black);
    const unsigned long titleColour = NamedColour(display, screen, "navy", black);
    ::Window window = XCreateSimpleWindow(display, RootWindow(display, screen), x, y,
                                          static_cast<unsigned>(width),
                                          static_cast<unsigned>(height), 1, black, white);
    XStoreName(display, window, title);
    if (owner != 0)
        XSetTransientForHint(display, window, owner);
    // A fixed size at the position chosen here; a window manager keeps both.
    XSizeHints* hints = XAllocSizeHints();
    if (hints != nullptr) {
        hints->flags = USPosition | PPosition | PMinSize | PMaxSize;
        hints->x = x;
        hints->y = y;
        hints->min_width = hints->max_width = width;
        hints->min_height = hints->max_height = height;
        XSetWMNormalHints(display, window, hints);
        XFree(hints);
    }
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, ExposureMask | KeyPressMask | ButtonPressMask);
    GC gc = XCreateGC(display, window, 0, nullptr);
    if (font != nullptr)
        XSetFont(display, gc, font->fid);
    XMapRaised(display, window);
    // Without a window manager the keyboard goes to the box only if it takes it.
    XSync(display, False);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);

    const int buttonX = (width - buttonWidth) / 2;
    const int buttonY = height - margin - buttonHeight;
    bool done = false;
    while (!done) {
        XEvent event;
        XNextEvent(display, &event);
        switch (event.type) {
        case Expose: {
            if (event.xexpose.count != 0)
                break;
            if (ownTitle) {
                XSetForeground(display, gc, titleColour);
                XFillRectangle(display, window, gc, 0, 0, static_cast<unsigned>(width),
                               static_cast<unsigned>(titleHeight));
                XSetForeground(display, gc, white);
                XDrawString(display, window, gc, 6, titleHeight - 6, title,
                            static_cast<int>(std::strlen(title)));
            }
            // The stop sign: a red disc with a white cross.
            const int signX = margin, signY = titleHeight + margin;
            XSetForeground(display, gc, red);
            XFillArc(display, window, gc, signX, signY, sign, sign, 0, 360 * 64);
            XSetForeground(display, gc, white);
            XSetLineAttributes(display, gc, 3, LineSolid, CapRound, JoinRound);
            XDrawLine(display, window, gc, signX + 10, signY + 10, signX + sign - 10,
                      signY + sign - 10);
            XDrawLine(display, window, gc, signX + sign - 10, signY + 10, signX + 10,
                      signY + sign - 10);
            XSetLineAttributes(display, gc, 1, LineSolid, CapButt, JoinMiter);
            XSetForeground(display, gc, black);
            int lineY = titleHeight + margin + lineHeight - 2;
            for (const std::string& line : lines) {
                XDrawString(display, window, gc, textX, lineY, line.c_str(),
                            static_cast<int>(line.size()));
                lineY += lineHeight;
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
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
    return true;
}

} // namespace

int MessageBoxA(HWND owner, const char* text, const char* title, UINT)
{
    if (text == nullptr)
        text = "";
    if (title == nullptr)
        title = "Error";
    // After a lost connection the box might open on a server that is going away.
    if (WantsStandardError() || IsDisplayConnectionLost() || !ShowDialog(GetNativeWindowId(owner), text, title)) {
        std::fprintf(stderr, "%s\n%s\n", title, text);
        std::fflush(stderr);
    }
    return 1;  // IDOK
}

} // namespace Platform
