#pragma once

// Shared state of the platform layer's X11 side. Included only by platform/ sources.

#include "platform/Platform.h"

namespace Platform {
// X11 defines None as a macro; these name the enumerators before it exists.
constexpr ClassCursor NoClassCursor = ClassCursor::None;
constexpr ClassBrush NoClassBrush = ClassBrush::None;
} // namespace Platform

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <GL/glx.h>

#include <string>
#include <vector>

namespace Platform {

struct DeviceContextRecord {
    Display* display = nullptr;
    GLXDrawable drawable = 0;
    WindowRecord* window = nullptr;
    PBufferRecord* pbuffer = nullptr;
};

struct WindowRecord {
    ::Window xid = 0;
    std::string className;
    WNDPROC procedure = nullptr;
    ClassCursor cursor = NoClassCursor;
    DWORD style = 0;
    int x = 0, y = 0, width = 0, height = 0;
    bool mapped = false;
    int depth = 0;
    int visualClass = 0;
    VisualID visualId = 0;
    int pixelFormat = 0;
    DeviceContextRecord dc;
};

struct RenderContextRecord {
    GLXContext context = nullptr;
    int pixelFormat = 0;
    unsigned shareGroup = 0;
    bool direct = false;
};

struct PBufferRecord {
    GLXPbuffer pbuffer = 0;
    int pixelFormat = 0;
    int width = 0, height = 0;
    DeviceContextRecord dc;
};

namespace X11 {

// The process-wide connection, opened on first use with $DISPLAY. Null without a
// server. It stays open for the life of the process: GLX contexts must never outlive it.
Display* GetDisplay();
int GetScreen();
// Bits per pixel of the screen's default depth, as its pixmap format stores it.
int BitsPerPixel(Display* display);
// Whether the connection broke; GetDisplay() answers null from then on.
bool IsConnectionLost();

// The FBConfigs of the screen; pixel format n is configs[n - 1].
const std::vector<GLXFBConfig>& GetConfigs();
GLXFBConfig GetConfig(int pixelFormat);
int GetConfigAttrib(int pixelFormat, int attribute);
// The pixel format of a config returned by glXChooseFBConfig; 0 when unknown.
int FindPixelFormat(GLXFBConfig config);
// Whether contexts are direct (a complete client-side driver) or go through the server.
bool IsIndirect();

// X protocol errors are recorded here by the layer's error handler instead of ending
// the process. Sync() flushes the request queue so that pending errors arrive.
void Sync();
void ClearError();
int LastErrorCode();
DWORD ToLastError(int xErrorCode);

WindowRecord* FindWindow(::Window xid);
// Whether the config can draw into the window (same visual class and depth).
bool IsCompatible(const WindowRecord& window, int pixelFormat);

// The application's current render context and device context (the layer's own view).
extern HGLRC g_CurrentContext;
extern HDC g_CurrentDC;

bool HasExtension(const char* name);
void ApplyCursor(WindowRecord& window);
// Makes the window the borderless owner of a screen area: full-screen state for a window
// manager, fixed size, placed over the area, mapped, raised and given the keyboard.
// Called once the connection is lost: every window loses its X window and is reported
// destroyed.
void ForgetWindows();
void CoverArea(WindowRecord& window, int x, int y, int width, int height);

} // namespace X11
} // namespace Platform
