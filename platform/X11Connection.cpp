#include "platform/X11Connection.h"

#include <X11/Xproto.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace Platform {

namespace {

// GLX protocol error numbers, relative to the extension's error base.
enum GLXError {
    GLXBadContext = 0,
    GLXBadContextState = 1,
    GLXBadDrawable = 2,
    GLXBadPixmap = 3,
    GLXBadContextTag = 4,
    GLXBadCurrentWindow = 5,
    GLXBadFBConfig = 9,
    GLXBadPbuffer = 10,
    GLXBadCurrentDrawable = 11,
    GLXBadWindow = 12,
};

DWORD g_LastError = 0;

Display* g_Display = nullptr;
bool g_OpenTried = false;
int g_LastXError = 0;
XErrorHandler g_PreviousHandler = nullptr;

std::vector<GLXFBConfig> g_Configs;
bool g_ConfigsRead = false;

int g_GLXErrorBase = -1;

bool g_ConnectionLost = false;

// Records the error and carries on: an X protocol error must never end the program.
int OnXError(Display*, XErrorEvent* event)
{
    g_LastXError = event->error_code;
    g_LastError = X11::ToLastError(event->error_code);
    return 0;
}

// The connection broke. Xlib's own handler would end the process here, past the program's
// shutdown; instead the loss is recorded and, since the exit handler below returns, Xlib
// lets every later call on the connection fail quietly. The message queue then reports the
// windows destroyed and the program shuts down the usual way.
int OnXIOError(Display* display)
{
    if (!g_ConnectionLost)
        std::fprintf(stderr, "The connection to X display \"%s\" was lost.\n",
                     DisplayString(display));
    g_ConnectionLost = true;
    X11::ForgetWindows();
    return 0;
}

void OnXIOErrorExit(Display*, void*)
{
    g_ConnectionLost = true;
}

} // namespace

DWORD GetLastError()
{
    return g_LastError;
}

void SetLastError(DWORD error)
{
    g_LastError = error;
}

namespace X11 {

HGLRC g_CurrentContext = nullptr;
HDC g_CurrentDC = nullptr;

bool IsConnectionLost()
{
    return g_ConnectionLost;
}

// Null once the connection is lost: from then on the layer behaves as without a server.
Display* GetDisplay()
{
    if (g_ConnectionLost)
        return nullptr;
    if (!g_OpenTried) {
        g_OpenTried = true;
        const char* name = std::getenv("DISPLAY");
        if (name != nullptr && name[0] != '\0')
            g_Display = XOpenDisplay(name);
        // The caller turns this into its own failure; the terminal learns which display.
        if (g_Display == nullptr && name != nullptr && name[0] != '\0')
            std::fprintf(stderr, "Cannot connect to X display \"%s\".\n", name);
        else if (g_Display == nullptr)
            std::fprintf(stderr, "No X display: DISPLAY is not set.\n");
        if (g_Display != nullptr) {
            g_PreviousHandler = XSetErrorHandler(OnXError);
            XSetIOErrorHandler(OnXIOError);
            XSetIOErrorExitHandler(g_Display, OnXIOErrorExit, nullptr);
            int eventBase = 0;
            if (!glXQueryExtension(g_Display, &g_GLXErrorBase, &eventBase))
                g_GLXErrorBase = -1;
        }
    }
    return g_Display;
}

int GetScreen()
{
    Display* display = GetDisplay();
    return display != nullptr ? DefaultScreen(display) : 0;
}

int BitsPerPixel(Display* display)
{
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    const int depth = DefaultDepth(display, GetScreen());
    int bits = depth;
    for (int i = 0; i < count; ++i)
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    if (formats != nullptr)
        XFree(formats);
    return bits;
}

const std::vector<GLXFBConfig>& GetConfigs()
{
    if (!g_ConfigsRead) {
        Display* display = GetDisplay();
        if (display != nullptr && g_GLXErrorBase >= 0) {
            g_ConfigsRead = true;
            int count = 0;
            GLXFBConfig* configs = glXGetFBConfigs(display, GetScreen(), &count);
            if (configs != nullptr) {
                g_Configs.assign(configs, configs + count);
                XFree(configs);
            }
        }
    }
    return g_Configs;
}

GLXFBConfig GetConfig(int pixelFormat)
{
    const auto& configs = GetConfigs();
    if (pixelFormat < 1 || pixelFormat > static_cast<int>(configs.size()))
        return nullptr;
    return configs[pixelFormat - 1];
}

int GetConfigAttrib(int pixelFormat, int attribute)
{
    GLXFBConfig config = GetConfig(pixelFormat);
    int value = 0;
    if (config == nullptr || glXGetFBConfigAttrib(g_Display, config, attribute, &value) != Success)
        return 0;
    return value;
}

int FindPixelFormat(GLXFBConfig config)
{
    int id = 0;
    if (config == nullptr || glXGetFBConfigAttrib(g_Display, config, GLX_FBCONFIG_ID, &id) != Success)
        return 0;
    const auto& configs = GetConfigs();
    for (size_t i = 0; i < configs.size(); ++i) {
        int other = 0;
        if (configs[i] == config
            || (glXGetFBConfigAttrib(g_Display, configs[i], GLX_FBCONFIG_ID, &other) == Success
                && other == id))
            return static_cast<int>(i) + 1;
    }
    return 0;
}

bool IsIndirect()
{
    const char* indirect = std::getenv("LIBGL_ALWAYS_INDIRECT");
    return indirect != nullptr && indirect[0] != '\0' && std::strcmp(indirect, "0") != 0;
}

void Sync()
{
    if (g_Display != nullptr && !g_ConnectionLost)
        XSync(g_Display, False);
}

void ClearError()
{
    Sync();
    g_LastXError = 0;
}

int LastErrorCode()
{
    return g_LastXError;
}

DWORD ToLastError(int xErrorCode)
{
    switch (xErrorCode) {
    case BadMatch:
        return ERROR_INVALID_PIXEL_FORMAT;
    case BadAlloc:
        return ERROR_NO_SYSTEM_RESOURCES;
    case BadWindow:
    case BadDrawable:
    case BadPixmap:
    case BadGC:
    case BadIDChoice:
        return ERROR_INVALID_HANDLE;
    default:
        break;
    }
    if (g_GLXErrorBase >= 0) {
        const int glx = xErrorCode - g_GLXErrorBase;
        switch (glx) {
        case GLXBadContext:
        case GLXBadContextState:
        case GLXBadDrawable:
        case GLXBadPixmap:
        case GLXBadContextTag:
        case GLXBadCurrentWindow:
        case GLXBadWindow:
        case GLXBadPbuffer:
        case GLXBadCurrentDrawable:
            return ERROR_INVALID_HANDLE;
        case GLXBadFBConfig:
            return ERROR_INVALID_PIXEL_FORMAT;
        default:
            break;
        }
    }
    return ERROR_INVALID_DATA;
}

bool IsCompatible(const WindowRecord& window, int pixelFormat)
{
    GLXFBConfig config = GetConfig(pixelFormat);
    if (config == nullptr)
        return false;
    if ((GetConfigAttrib(pixelFormat, GLX_DRAWABLE_TYPE) & GLX_WINDOW_BIT) == 0)
        return false;
    XVisualInfo* info = glXGetVisualFromFBConfig(g_Display, config);
    if (info == nullptr)
        return false;
    const bool compatible = info->depth == window.depth && info->c_class == window.visualClass;
    XFree(info);
    return compatible;
}

bool HasExtension(const char* name)
{
    Display* display = GetDisplay();
    if (display == nullptr || g_GLXErrorBase < 0)
        return false;
    const char* extensions = glXQueryExtensionsString(display, GetScreen());
    if (extensions == nullptr)
        return false;
    const size_t length = std::strlen(name);
    for (const char* p = extensions; (p = std::strstr(p, name)) != nullptr; p += length) {
        const bool startsWord = p == extensions || p[-1] == ' ';
        const bool endsWord = p[length] == ' ' || p[length] == '\0';
        if (startsWord && endsWord)
            return true;
    }
    return false;
}

} // namespace X11

bool IsDisplayConnectionLost()
{
    return g_ConnectionLost;
}

} // namespace Platform
