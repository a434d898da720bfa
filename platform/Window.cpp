// Window classes, windows and the message queue on X11.

#include "platform/X11Connection.h"

#include <X11/Xatom.h>
#include <X11/XKBlib.h>
#include <X11/cursorfont.h>
#include <X11/keysym.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>

namespace Platform {

namespace {

struct ClassRecord {
    WNDCLASSA fields;
    std::string name;
    uint16_t atom = 0;
};

std::map<std::string, ClassRecord> g_Classes;
uint16_t g_NextAtom = 0xC000;
std::vector<std::unique_ptr<WindowRecord>> g_Windows;
std::deque<MSG> g_Queue;
bool g_QuitPosted = false;
int g_QuitCode = 0;
int g_CursorCount = 0;
Cursor g_InvisibleCursor = 0;
Cursor g_ArrowCursor = 0;
Atom g_WmProtocols = 0;
Atom g_WmDeleteWindow = 0;
Atom g_MotifHints = 0;
bool g_AutoRepeatSet = false;
bool g_KeyDown[256] = {};

WindowRecord* Lookup(HWND window)
{
    for (auto& record : g_Windows)
        if (record.get() == window)
            return record.get();
    return nullptr;
}

void InternAtoms(Display* display)
{
    if (g_WmProtocols != 0)
        return;
    g_WmProtocols = XInternAtom(display, "WM_PROTOCOLS", False);
    g_WmDeleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    g_MotifHints = XInternAtom(display, "_MOTIF_WM_HINTS", False);
}

// Pop-up windows carry no decorations; a window manager reads that from the Motif hints.
void ApplyDecorations(Display* display, const WindowRecord& window)
{
    struct {
        unsigned long flags, functions, decorations;
        long inputMode;
        unsigned long status;
    } hints = {2, 0, 0, 0, 0};
    hints.decorations = (window.style & WS_POPUP) != 0 ? 0 : 1;
    XChangeProperty(display, window.xid, g_MotifHints, g_MotifHints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
}

void ApplyFixedSize(Display* display, const WindowRecord& window)
{
    XSizeHints* hints = XAllocSizeHints();
    if (hints == nullptr)
        return;
    // Minimum equal to maximum: a window manager offers no resizing at all.
    hints->flags = PPosition | PSize | PMinSize | PMaxSize;
    hints->x = window.x;
    hints->y = window.y;
    hints->width = window.width;
    hints->height = window.height;
    hints->min_width = hints->max_width = window.width;
    hints->min_height = hints->max_height = window.height;
    XSetWMNormalHints(display, window.xid, hints);
    XFree(hints);
}

UINT ToVirtualKey(KeySym key)
{
    if (key >= XK_a && key <= XK_z)
        return static_cast<UINT>(0x41 + (key - XK_a));
    if (key >= XK_A && key <= XK_Z)
        return static_cast<UINT>(0x41 + (key - XK_A));
    if (key >= XK_0 && key <= XK_9)
        return static_cast<UINT>(0x30 + (key - XK_0));
    if (key >= XK_F1 && key <= XK_F24)
        return static_cast<UINT>(VK_F1 + (key - XK_F1));
    if (key >= XK_KP_0 && key <= XK_KP_9)
        return static_cast<UINT>(0x60 + (key - XK_KP_0));
    switch (key) {
    case XK_BackSpace: return 0x08;
    case XK_Tab: case XK_ISO_Left_Tab: return VK_TAB;
    case XK_Return: case XK_KP_Enter: return VK_RETURN;
    case XK_Shift_L: case XK_Shift_R: return VK_SHIFT;
    case XK_Control_L: case XK_Control_R: return VK_CONTROL;
    case XK_Alt_L: case XK_Alt_R: case XK_Meta_L: case XK_Meta_R: return VK_MENU;
    case XK_Pause: return 0x13;
    case XK_Caps_Lock: return 0x14;
    case XK_Escape: return VK_ESCAPE;
    case XK_space: return VK_SPACE;
    case XK_Prior: return 0x21;
    case XK_Next: return 0x22;
    case XK_End: return 0x23;
    case XK_Home: return 0x24;
    case XK_Left: return VK_LEFT;
    case XK_Up: return VK_UP;
    case XK_Right: return VK_RIGHT;
    case XK_Down: return VK_DOWN;
    case XK_Print: return 0x2C;
    case XK_Insert: return 0x2D;
    case XK_Delete: return 0x2E;
    case XK_KP_Multiply: return 0x6A;
    case XK_KP_Add: return 0x6B;
    case XK_KP_Subtract: return 0x6D;
    case XK_KP_Decimal: return 0x6E;
    case XK_KP_Divide: return 0x6F;
    case XK_Num_Lock: return 0x90;
    case XK_Scroll_Lock: return 0x91;
    case XK_semicolon: return 0xBA;
    case XK_equal: return 0xBB;
    case XK_comma: return 0xBC;
    case XK_minus: return 0xBD;
    case XK_period: return 0xBE;
    case XK_slash: return 0xBF;
    case XK_grave: return 0xC0;
    case XK_bracketleft: return 0xDB;
    case XK_backslash: return 0xDC;
    case XK_bracketright: return 0xDD;
    case XK_apostrophe: return 0xDE;
    default: return 0;
    }
}

void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MSG msg;
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    g_Queue.push_back(msg);
}

void TranslateKey(WindowRecord* window, XKeyEvent& event, bool press)
{
    const UINT key = ToVirtualKey(XLookupKeysym(&event, 0));
    if (key == 0)
        return;
    const unsigned scan = event.keycode & 0xFF;
    const bool alt = (event.state & Mod1Mask) != 0 || (press && key == VK_MENU);
    LPARAM lParam = 1 | (static_cast<LPARAM>(scan) << 16);
    if (alt)
        lParam |= LPARAM(1) << 29;
    if (press) {
        if (g_KeyDown[scan])
            lParam |= LPARAM(1) << 30;  // an auto-repeat: the key was already down
        g_KeyDown[scan] = true;
        Post(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, lParam);
    } else {
        g_KeyDown[scan] = false;
        lParam |= (LPARAM(1) << 30) | (LPARAM(1) << 31);
        Post(window, alt && key != VK_MENU ? WM_SYSKEYUP : WM_KEYUP, key, lParam);
    }
}

void Translate(XEvent& event)
{
    WindowRecord* window = X11::FindWindow(event.xany.window);
    if (window == nullptr)
        return;
    switch (event.type) {
    case KeyPress:
        TranslateKey(window, event.xkey, true);
        break;
    case KeyRelease:
        TranslateKey(window, event.xkey, false);
        break;
    case Expose:
        if (event.xexpose.count == 0)
            Post(window, WM_PAINT, 0, 0);
        break;
    case FocusIn:
        Post(window, WM_ACTIVATE, 1, 0);
        break;
    case FocusOut:
        Post(window, WM_ACTIVATE, 0, 0);
        break;
    case ClientMessage:
        if (event.xclient.message_type == g_WmProtocols
            && static_cast<Atom>(event.xclient.data.l[0]) == g_WmDeleteWindow)
            Post(window, WM_CLOSE, 0, 0);
        break;
    case ConfigureNotify:
        window->width = event.xconfigure.width;
        window->height = event.xconfigure.height;
        break;
    case DestroyNotify:
        // Destroyed by someone else: the window procedure still hears of it. Its drawable
        // is gone, so nothing may stay current on it.
        if (window->xid == 0)
            break;
        if (X11::g_CurrentDC == &window->dc) {
            glXMakeContextCurrent(X11::GetDisplay(), None, None, nullptr);
            X11::g_CurrentDC = nullptr;
            X11::g_CurrentContext = nullptr;
        }
        window->xid = 0;
        Post(window, WM_DESTROY, 0, 0);
        break;
    default:
        break;
    }
}

bool g_TerminationPosted = false;

// An end asked for by a signal closes every window, once.
void PostTermination()
{
    if (g_TerminationPosted || GetTerminationSignal() == 0)
        return;
    g_TerminationPosted = true;
    for (auto& record : g_Windows)
        Post(record.get(), WM_CLOSE, 0, 0);
}

void Pump()
{
    PostTermination();
    Display* display = X11::GetDisplay();
    if (display == nullptr)
        return;
    while (!X11::IsConnectionLost() && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        Translate(event);
    }
}

} // namespace

namespace X11 {

WindowRecord* FindWindow(::Window xid)
{
    if (xid == 0)
        return nullptr;
    for (auto& record : g_Windows)
        if (record->xid == xid)
            return record.get();
    return nullptr;
}

void ApplyCursor(WindowRecord& window)
{
    Display* display = GetDisplay();
    if (display == nullptr || window.xid == 0)
        return;
    if (g_CursorCount < 0) {
        if (g_InvisibleCursor == 0) {
            static const char empty[1] = {0};
            Pixmap blank = XCreateBitmapFromData(display, window.xid, empty, 1, 1);
            XColor black = {};
            g_InvisibleCursor = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
            XFreePixmap(display, blank);
        }
        XDefineCursor(display, window.xid, g_InvisibleCursor);
    } else if (window.cursor == ClassCursor::Arrow) {
        if (g_ArrowCursor == 0)
            g_ArrowCursor = XCreateFontCursor(display, XC_left_ptr);
        XDefineCursor(display, window.xid, g_ArrowCursor);
    } else {
        XUndefineCursor(display, window.xid);
    }
    XFlush(display);
}

// Without the connection every window is as good as destroyed, and no X call on it may
// be made again (Xlib crashes on a broken connection): its procedure hears WM_DESTROY.
void ForgetWindows()
{
    for (auto& record : g_Windows) {
        if (record->xid == 0)
            continue;
        if (X11::g_CurrentDC == &record->dc) {
            X11::g_CurrentDC = nullptr;
            X11::g_CurrentContext = nullptr;
        }
        record->xid = 0;
        record->mapped = false;
        Post(record.get(), WM_DESTROY, 0, 0);
    }
}

void CoverArea(WindowRecord& window, int x, int y, int width, int height)
{
    Display* display = GetDisplay();
    if (display == nullptr || window.xid == 0)
        return;
    SetWindowLongA(&window, GWL_STYLE,
                   static_cast<long>(WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    // Read by a window manager when the window is mapped; without one the size is enough.
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    Atom fullScreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display, window.xid, state, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&fullScreen), 1);
    SetWindowPos(&window, HWND_TOP, x, y, width, height, SWP_SHOWWINDOW);
}

} // namespace X11

uint16_t RegisterClassA(const WNDCLASSA* windowClass)
{
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr
        || windowClass->lpszClassName[0] == '\0' || windowClass->lpfnWndProc == nullptr) {
        SetLastError(ERROR_INVALID_DATA);
        return 0;
    }
    const std::string name = windowClass->lpszClassName;
    if (g_Classes.count(name) != 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    ClassRecord record;
    record.fields = *windowClass;
    record.name = name;
    record.fields.lpszClassName = nullptr;
    record.atom = g_NextAtom++;
    g_Classes[name] = record;
    return record.atom;
}

BOOL UnregisterClassA(const char* className, HINSTANCE)
{
    if (className == nullptr || g_Classes.count(className) == 0) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE_;
    }
    for (auto& window : g_Windows)
        if (window->className == className) {
            SetLastError(ERROR_CLASS_HAS_WINDOWS);
            return FALSE_;
        }
    g_Classes.erase(className);
    return TRUE_;
}

bool IsClassRegistered(const char* className)
{
    return className != nullptr && g_Classes.count(className) != 0;
}

HWND CreateWindowExA(DWORD, const char* className, const char* title, DWORD style, int x, int y,
                     int width, int height, HWND, void*, HINSTANCE, void*)
{
    if (className == nullptr || g_Classes.count(className) == 0) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return nullptr;
    }
    Display* display = X11::GetDisplay();
    if (display == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    InternAtoms(display);
    const ClassRecord& windowClass = g_Classes[className];

    auto record = std::make_unique<WindowRecord>();
    record->className = className;
    record->procedure = windowClass.fields.lpfnWndProc;
    record->cursor = windowClass.fields.hCursor;
    record->style = style;
    record->x = x == CW_USEDEFAULT ? 0 : x;
    record->y = y == CW_USEDEFAULT ? 0 : y;
    record->width = width == CW_USEDEFAULT || width <= 0 ? 640 : width;
    record->height = height == CW_USEDEFAULT || height <= 0 ? 480 : height;

    const int screen = X11::GetScreen();
    Visual* visual = DefaultVisual(display, screen);
    record->depth = DefaultDepth(display, screen);
    record->visualClass = visual->c_class;
    record->visualId = XVisualIDFromVisual(visual);

    XSetWindowAttributes attributes = {};
    attributes.background_pixel = BlackPixel(display, screen);
    attributes.border_pixel = 0;
    attributes.event_mask =
        KeyPressMask | KeyReleaseMask | ExposureMask | FocusChangeMask | StructureNotifyMask;
    unsigned long mask = CWBorderPixel | CWEventMask;
    if (windowClass.fields.hbrBackground == ClassBrush::Black)
        mask |= CWBackPixel;

    X11::ClearError();
    record->xid = XCreateWindow(display, RootWindow(display, screen), record->x, record->y,
                                static_cast<unsigned>(record->width),
                                static_cast<unsigned>(record->height), 0, record->depth,
                                InputOutput, visual, mask, &attributes);
    X11::Sync();
    if (record->xid == 0 || X11::LastErrorCode() != 0) {
        std::fprintf(stderr, "The X server refused the window (X error %d).\n",
                     X11::LastErrorCode());
        if (record->xid != 0)
            XDestroyWindow(display, record->xid);
        SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    XStoreName(display, record->xid, title != nullptr ? title : "");
    XSetWMProtocols(display, record->xid, &g_WmDeleteWindow, 1);
    // Lets outside tools find the windows of this process.
    const long pid = static_cast<long>(getpid());
    XChangeProperty(display, record->xid, XInternAtom(display, "_NET_WM_PID", False), XA_CARDINAL,
                    32, PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
    ApplyDecorations(display, *record);
    if (!g_AutoRepeatSet) {
        // Held keys then arrive as repeated presses without releases in between.
        Bool supported = False;
        XkbSetDetectableAutoRepeat(display, True, &supported);
        g_AutoRepeatSet = true;
    }
    record->dc.display = display;
    record->dc.drawable = record->xid;
    record->dc.window = record.get();

    HWND handle = record.get();
    g_Windows.push_back(std::move(record));
    X11::ApplyCursor(*handle);
    if ((style & WS_VISIBLE) != 0)
        ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL IsWindow(HWND window)
{
    return Lookup(window) != nullptr ? TRUE_ : FALSE_;
}

BOOL DestroyWindow(HWND window)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    record->procedure(window, WM_DESTROY, 0, 0);
    // The window may have gone during its own WM_DESTROY handling.
    record = Lookup(window);
    if (record == nullptr)
        return TRUE_;
    Display* display = X11::GetDisplay();
    if (X11::g_CurrentDC == &record->dc) {
        if (display != nullptr)
            glXMakeContextCurrent(display, None, None, nullptr);
        X11::g_CurrentDC = nullptr;
        X11::g_CurrentContext = nullptr;
    }
    if (record->xid != 0 && display != nullptr) {
        XDestroyWindow(display, record->xid);
        X11::Sync();
    }
    // Messages still queued for the window are dropped with it.
    g_Queue.erase(std::remove_if(g_Queue.begin(), g_Queue.end(),
                                 [window](const MSG& msg) { return msg.hwnd == window; }),
                  g_Queue.end());
    g_Windows.erase(std::find_if(g_Windows.begin(), g_Windows.end(),
                                 [window](const auto& r) { return r.get() == window; }));
    return TRUE_;
}

long SetWindowLongA(HWND window, int index, long value)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr || index != GWL_STYLE) {
        SetLastError(record == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_DATA);
        return 0;
    }
    const long previous = static_cast<long>(record->style);
    record->style = static_cast<DWORD>(value);
    if (record->xid != 0)
        ApplyDecorations(X11::GetDisplay(), *record);
    return previous;
}

long GetWindowLongA(HWND window, int index)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr || index != GWL_STYLE) {
        SetLastError(record == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_DATA);
        return 0;
    }
    return static_cast<long>(record->style);
}

BOOL SetWindowPos(HWND window, HWND, int x, int y, int width, int height, UINT flags)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr || record->xid == 0 || width <= 0 || height <= 0) {
        SetLastError(record == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_DATA);
        return FALSE_;
    }
    Display* display = X11::GetDisplay();
    record->x = x;
    record->y = y;
    record->width = width;
    record->height = height;
    ApplyFixedSize(display, *record);
    XMoveResizeWindow(display, record->xid, x, y, static_cast<unsigned>(width),
                      static_cast<unsigned>(height));
    if ((flags & SWP_SHOWWINDOW) != 0)
        ShowWindow(window, SW_SHOW);
    else
        XRaiseWindow(display, record->xid);
    X11::Sync();
    return TRUE_;
}

BOOL ShowWindow(HWND window, int command)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr || record->xid == 0)
        return FALSE_;
    const BOOL wasVisible = record->mapped ? TRUE_ : FALSE_;
    Display* display = X11::GetDisplay();
    if (command == SW_HIDE) {
        XUnmapWindow(display, record->xid);
        record->mapped = false;
        record->style &= ~WS_VISIBLE;
    } else {
        XMapRaised(display, record->xid);
        record->mapped = true;
        record->style |= WS_VISIBLE;
        // Without a window manager nobody gives the window the keyboard; take it. A
        // refusal (the window not viewable yet under a manager) is not a failure here.
        X11::Sync();
        const DWORD lastError = GetLastError();
        XSetInputFocus(display, record->xid, RevertToParent, CurrentTime);
        X11::Sync();
        SetLastError(lastError);
    }
    return wasVisible;
}

BOOL AdjustWindowRect(RECT* rect, DWORD, BOOL)
{
    // The client area is the whole X window: frames belong to the window manager.
    return rect != nullptr ? TRUE_ : FALSE_;
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr || rect == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    rect->left = 0;
    rect->top = 0;
    rect->right = record->width;
    rect->bottom = record->height;
    return TRUE_;
}

BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove)
{
    if (message == nullptr)
        return FALSE_;
    Pump();
    for (auto it = g_Queue.begin(); it != g_Queue.end(); ++it) {
        if (window != nullptr && it->hwnd != window)
            continue;
        if ((filterMin != 0 || filterMax != 0)
            && (it->message < filterMin || it->message > filterMax))
            continue;
        *message = *it;
        if ((remove & PM_REMOVE) != 0)
            g_Queue.erase(it);
        return TRUE_;
    }
    // The quit message comes once everything else has been taken.
    if (g_QuitPosted && (filterMin == 0 && filterMax == 0)) {
        *message = MSG();
        message->message = WM_QUIT;
        message->wParam = static_cast<WPARAM>(g_QuitCode);
        if ((remove & PM_REMOVE) != 0)
            g_QuitPosted = false;
        return TRUE_;
    }
    return FALSE_;
}

BOOL TranslateMessage(const MSG* message)
{
    if (message == nullptr)
        return FALSE_;
    return message->message == WM_KEYDOWN || message->message == WM_SYSKEYDOWN ? TRUE_ : FALSE_;
}

LRESULT DispatchMessageA(const MSG* message)
{
    if (message == nullptr)
        return 0;
    WindowRecord* record = Lookup(message->hwnd);
    if (record == nullptr)
        return 0;
    const LRESULT result =
        record->procedure(message->hwnd, message->message, message->wParam, message->lParam);
    // A window destroyed from outside is forgotten once its procedure has heard of it.
    record = Lookup(message->hwnd);
    if (record != nullptr && record->xid == 0 && message->message == WM_DESTROY) {
        HWND window = message->hwnd;
        g_Windows.erase(std::find_if(g_Windows.begin(), g_Windows.end(),
                                     [window](const auto& r) { return r.get() == window; }));
    }
    return result;
}

void PostQuitMessage(int exitCode)
{
    g_QuitPosted = true;
    g_QuitCode = exitCode;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window != nullptr && Lookup(window) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    Post(window, message, wParam, lParam);
    return TRUE_;
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_SYSKEYDOWN:
        if (wParam == VK_F4)
            return SendMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    default:
        return 0;
    }
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return record->procedure(window, message, wParam, lParam);
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr || paint == nullptr)
        return nullptr;
    paint->hdc = &record->dc;
    return paint->hdc;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*)
{
    return Lookup(window) != nullptr ? TRUE_ : FALSE_;
}

int ShowCursor(BOOL show)
{
    g_CursorCount += show ? 1 : -1;
    const bool visibleNow = g_CursorCount >= 0;
    const bool visibleBefore = show ? g_CursorCount - 1 >= 0 : g_CursorCount + 1 >= 0;
    if (visibleNow != visibleBefore)
        for (auto& window : g_Windows)
            X11::ApplyCursor(*window);
    return g_CursorCount;
}

HDC GetDC(HWND window)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr || record->xid == 0 || X11::GetDisplay() == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &record->dc;
}

int ReleaseDC(HWND window, HDC dc)
{
    WindowRecord* record = Lookup(window);
    return record != nullptr && dc == &record->dc ? 1 : 0;
}

HWND WindowFromDC(HDC dc)
{
    if (dc == nullptr)
        return nullptr;
    for (auto& record : g_Windows)
        if (&record->dc == dc)
            return record.get();
    return nullptr;
}

unsigned long GetNativeWindowId(HWND window)
{
    WindowRecord* record = Lookup(window);
    return record != nullptr ? record->xid : 0;
}

namespace {

// The position of the lowest set bit of a channel mask and the channel's width in bits.
void MaskShape(unsigned long mask, int* shift, int* bits)
{
    *shift = 0;
    *bits = 0;
    if (mask == 0)
        return;
    while ((mask & 1) == 0) {
        mask >>= 1;
        ++*shift;
    }
    while ((mask & 1) != 0) {
        mask >>= 1;
        ++*bits;
    }
}

unsigned char Channel(unsigned long pixel, int shift, int bits)
{
    if (bits == 0)
        return 0;
    const unsigned long value = (pixel >> shift) & ((1ul << bits) - 1);
    return static_cast<unsigned char>(value * 255 / ((1ul << bits) - 1));
}

} // namespace

BOOL ReadWindowPixels(HWND window, int x, int y, int width, int height, unsigned char* rgba)
{
    WindowRecord* record = Lookup(window);
    if (record == nullptr || record->xid == 0 || !record->mapped || rgba == nullptr ||
        width <= 0 || height <= 0 || x < 0 || y < 0 || x + width > record->width ||
        y + height > record->height)
        return FALSE_;
    Display* display = X11::GetDisplay();
    // Whatever was presented is still in the request queue: let the server take it first.
    X11::Sync();
    const DWORD lastError = GetLastError();
    // X counts rows from the top, the caller from the bottom.
    XImage* image = XGetImage(display, record->xid, x, record->height - y - height, width,
                              height, AllPlanes, ZPixmap);
    X11::Sync();
    SetLastError(lastError);
    if (image == nullptr)
        return FALSE_;
    int shift[3], bits[3];
    MaskShape(image->red_mask, &shift[0], &bits[0]);
    MaskShape(image->green_mask, &shift[1], &bits[1]);
    MaskShape(image->blue_mask, &shift[2], &bits[2]);
    for (int row = 0; row < height; ++row) {
        unsigned char* out = rgba + static_cast<size_t>(height - 1 - row) * width * 4;
        for (int column = 0; column < width; ++column, out += 4) {
            const unsigned long pixel = XGetPixel(image, column, row);
            for (int c = 0; c < 3; ++c)
                out[c] = Channel(pixel, shift[c], bits[c]);
            out[3] = 255;
        }
    }
    XDestroyImage(image);
    return TRUE_;
}

} // namespace Platform
