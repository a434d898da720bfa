#pragma once

// The platform layer: what the engine expects of Win32, WGL and DirectDraw, provided on
// Linux by X11, GLX and XRandR. Only files in platform/ include X11 or GLX headers; the
// rest of the engine sees the declarations below. Names, values and failure behaviour
// follow the Windows interfaces they stand in for, so the engine's logic, order of steps
// and messages stay as they are. Failures set the layer's last error (GetLastError) with
// the Windows numbers listed at the end of this file.

#include <cstdint>

namespace Platform {

// ---------------------------------------------------------------------------------------
// Handles and basic types
// ---------------------------------------------------------------------------------------

using BOOL = int;
using UINT = unsigned int;
using DWORD = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using HRESULT = int32_t;

struct WindowRecord;
struct DeviceContextRecord;
struct RenderContextRecord;
struct PBufferRecord;

using HWND = WindowRecord*;
using HDC = DeviceContextRecord*;
using HGLRC = RenderContextRecord*;
using HPBUFFER = PBufferRecord*;
using HINSTANCE = void*;

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

constexpr BOOL TRUE_ = 1;
constexpr BOOL FALSE_ = 0;

// ---------------------------------------------------------------------------------------
// Messages and virtual keys (Windows values)
// ---------------------------------------------------------------------------------------

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;

constexpr UINT VK_TAB = 0x09;
constexpr UINT VK_RETURN = 0x0D;
constexpr UINT VK_SHIFT = 0x10;
constexpr UINT VK_CONTROL = 0x11;
constexpr UINT VK_MENU = 0x12;  // Alt
constexpr UINT VK_ESCAPE = 0x1B;
constexpr UINT VK_SPACE = 0x20;
constexpr UINT VK_LEFT = 0x25;
constexpr UINT VK_UP = 0x26;
constexpr UINT VK_RIGHT = 0x27;
constexpr UINT VK_DOWN = 0x28;
constexpr UINT VK_F1 = 0x70;
constexpr UINT VK_F4 = 0x73;
// 'A'..'Z' are 0x41..0x5A and '0'..'9' are 0x30..0x39, as on Windows.

struct MSG {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// ---------------------------------------------------------------------------------------
// Window classes and windows
// ---------------------------------------------------------------------------------------

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_OWNDC = 0x0020;

constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000);

// Cursor and brush choices of a window class (the only ones the engine uses).
enum class ClassCursor { None, Arrow };
enum class ClassBrush { None, Black };

struct WNDCLASSA {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    int cbClsExtra = 0;
    int cbWndExtra = 0;
    HINSTANCE hInstance = nullptr;
    ClassCursor hCursor = ClassCursor::None;
    ClassBrush hbrBackground = ClassBrush::None;
    const char* lpszClassName = nullptr;
};

struct RECT {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Registering a class name twice fails, as on Windows. Returns 0 on failure.
uint16_t RegisterClassA(const WNDCLASSA* windowClass);
BOOL UnregisterClassA(const char* className, HINSTANCE instance);
bool IsClassRegistered(const char* className);

// Creates an unmapped X window. Pop-up style means no decorations (Motif hints);
// overlapped + caption means a normal decorated window. Fails (null) when there is no
// display or the class is unknown.
HWND CreateWindowExA(DWORD exStyle, const char* className, const char* title, DWORD style,
                     int x, int y, int width, int height, HWND parent, void* menu,
                     HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
// The X window behind a window handle (0 when there is none), for tests and tools that
// drive the program from outside.
unsigned long GetNativeWindowId(HWND window);
// Reads back what the X server shows of the window's client area, as RGBA rows from the
// bottom up (the layout of glReadPixels), for tests and tools that check the presented
// picture. FALSE when the window is unknown, not mapped or the rectangle lies outside it.
BOOL ReadWindowPixels(HWND window, int x, int y, int width, int height, unsigned char* rgba);

constexpr int GWL_STYLE = -16;
long SetWindowLongA(HWND window, int index, long value);
long GetWindowLongA(HWND window, int index);

constexpr HWND HWND_TOP = nullptr;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height,
                  UINT flags);

constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;
BOOL ShowWindow(HWND window, int command);
BOOL AdjustWindowRect(RECT* rect, DWORD style, BOOL menu);
BOOL GetClientRect(HWND window, RECT* rect);

// ---------------------------------------------------------------------------------------
// Message queue
// ---------------------------------------------------------------------------------------

// Never blocks: drains pending X events into the queue, then takes one message.
// Key press -> WM_KEYDOWN with the virtual-key code (auto-repeat gives repeated
// WM_KEYDOWN), key release -> WM_KEYUP, WM_DELETE_WINDOW -> WM_CLOSE, expose -> WM_PAINT,
// focus -> WM_ACTIVATE, destroy -> WM_DESTROY, PostQuitMessage -> WM_QUIT.
BOOL PeekMessageA(MSG* message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
void PostQuitMessage(int exitCode);
BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Alt+F4 becomes WM_CLOSE; WM_CLOSE destroys the window.
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Sends a message straight to the window procedure (used by tests and the layer).
LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct PAINTSTRUCT {
    HDC hdc = nullptr;
};
HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);

// ---------------------------------------------------------------------------------------
// Message box, cursor, priority, last error
// ---------------------------------------------------------------------------------------

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONERROR = 0x00000010;
// A modal X11 dialog with title, text and an OK button. With no display, or with
// KORVO_MESSAGEBOX=stderr, writes the title and the text to standard error instead.
int MessageBoxA(HWND owner, const char* text, const char* title, UINT type);

// Display-count semantics; below zero the windows get an invisible cursor.
int ShowCursor(BOOL show);

constexpr DWORD NORMAL_PRIORITY_CLASS = 0x20;
constexpr DWORD HIGH_PRIORITY_CLASS = 0x80;
BOOL SetPriorityClass(DWORD priorityClass);

DWORD GetLastError();
void SetLastError(DWORD error);

// Ends asked for from outside the window. SIGINT, SIGTERM and SIGHUP no longer end the
// process at once: the handler only records the signal (nothing else is safe there), and
// the next PeekMessageA posts WM_CLOSE to every window, as if the user had closed them, so
// the program's own shutdown runs. A second signal of the same kind ends the process
// the default way. GetTerminationSignal gives the first signal that arrived, 0 if none.
void InstallTerminationHandlers();
int GetTerminationSignal();
// True once the connection to the X server broke (server gone, client killed). From then
// on nothing is sent to the server; the next PeekMessageA reports every window as
// destroyed (WM_DESTROY), so the program shuts down without its display.
bool IsDisplayConnectionLost();

constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_INVALID_DATA = 13;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_CLASS_HAS_WINDOWS = 1412;
constexpr DWORD ERROR_NO_SYSTEM_RESOURCES = 1450;
constexpr DWORD ERROR_INVALID_PIXEL_FORMAT = 2000;
constexpr DWORD ERROR_BAD_DRIVER = 2001;
constexpr DWORD ERROR_INVALID_WINDOW_STYLE = 2002;
constexpr DWORD ERROR_INVALID_OPERATION = 4317;

// ---------------------------------------------------------------------------------------
// Device contexts and classic pixel formats
// ---------------------------------------------------------------------------------------

// The pair (display connection, drawable). Null when there is no display or window.
HDC GetDC(HWND window);
int ReleaseDC(HWND window, HDC dc);
// The window of a window's device context; null for P-buffers and unknown contexts.
HWND WindowFromDC(HDC dc);

constexpr int BITSPIXEL = 12;
int GetDeviceCaps(HDC dc, int index);

constexpr DWORD PFD_DOUBLEBUFFER = 0x00000001;
constexpr DWORD PFD_STEREO = 0x00000002;
constexpr DWORD PFD_DRAW_TO_WINDOW = 0x00000004;
constexpr DWORD PFD_SUPPORT_OPENGL = 0x00000020;
constexpr DWORD PFD_GENERIC_FORMAT = 0x00000040;
constexpr DWORD PFD_GENERIC_ACCELERATED = 0x00001000;
constexpr uint8_t PFD_TYPE_RGBA = 0;
constexpr uint8_t PFD_MAIN_PLANE = 0;

// The classic 40-byte descriptor.
struct PIXELFORMATDESCRIPTOR {
    uint16_t nSize = 40;
    uint16_t nVersion = 1;
    DWORD dwFlags = 0;
    uint8_t iPixelType = 0;
    uint8_t cColorBits = 0;
    uint8_t cRedBits = 0, cRedShift = 0, cGreenBits = 0, cGreenShift = 0;
    uint8_t cBlueBits = 0, cBlueShift = 0, cAlphaBits = 0, cAlphaShift = 0;
    uint8_t cAccumBits = 0, cAccumRedBits = 0, cAccumGreenBits = 0, cAccumBlueBits = 0;
    uint8_t cAccumAlphaBits = 0;
    uint8_t cDepthBits = 0, cStencilBits = 0, cAuxBuffers = 0;
    uint8_t iLayerType = 0, bReserved = 0;
    DWORD dwLayerMask = 0, dwVisibleMask = 0, dwDamageMask = 0;
};

// Pixel formats are 1-based indices into the display's GLXFBConfigs. ChoosePixelFormat
// picks a window-capable config compatible with the window's visual with at least the
// requested bits and the requested double-buffering, closest match first; 0 if none.
// SetPixelFormat binds it to the window once (a second set fails). The generic flag
// (0x40) marks an indirect context, the X server's own software GL; 0x1000 never occurs.
int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor);
BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* descriptor);
int GetPixelFormat(HDC dc);
int DescribePixelFormat(HDC dc, int format, UINT bytes, PIXELFORMATDESCRIPTOR* descriptor);
BOOL SwapBuffers(HDC dc);

// ---------------------------------------------------------------------------------------
// WGL: rendering contexts
// ---------------------------------------------------------------------------------------

// GLX sharing is fixed at creation: a new context shares objects with the context that
// is current at the time of the call. wglShareLists then succeeds exactly when the two
// contexts were created sharing.
HGLRC wglCreateContext(HDC dc);
BOOL wglDeleteContext(HGLRC context);
BOOL wglMakeCurrent(HDC dc, HGLRC context);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
BOOL wglShareLists(HGLRC first, HGLRC second);
// Entry points by name ("wglChoosePixelFormatARB" and the others below answer with the
// layer's own functions; GL names go to glXGetProcAddress). Null when unknown.
void* wglGetProcAddress(const char* name);

constexpr UINT WGL_SWAP_MAIN_PLANE = 0x00000001;
BOOL wglSwapLayerBuffers(HDC dc, UINT planes);

// ---------------------------------------------------------------------------------------
// WGL extensions (answered from GLX): pixel format, P-buffers, swap control
// ---------------------------------------------------------------------------------------

// The GLX extension string of the display of dc. Null without a display.
const char* wglGetExtensionsStringARB(HDC dc);
// The GLX version of the display (1.3 and above has FBConfigs and P-buffers); false
// without a display or GLX.
bool GetGLXVersion(int* major, int* minor);

BOOL wglChoosePixelFormatARB(HDC dc, const int* intAttributes, const float* floatAttributes,
                             UINT maxFormats, int* formats, UINT* numFormats);
BOOL wglGetPixelFormatAttribivARB(HDC dc, int format, int layerPlane, UINT count,
                                  const int* attributes, int* values);

HPBUFFER wglCreatePbufferARB(HDC dc, int format, int width, int height,
                             const int* attributes);
HDC wglGetPbufferDCARB(HPBUFFER pbuffer);
int wglReleasePbufferDCARB(HPBUFFER pbuffer, HDC dc);
BOOL wglDestroyPbufferARB(HPBUFFER pbuffer);
BOOL wglQueryPbufferARB(HPBUFFER pbuffer, int attribute, int* value);

// Swap control, only when the GLX string lists a swap-control extension.
BOOL wglSwapIntervalEXT(int interval);
int wglGetSwapIntervalEXT();
bool HasSwapControl();

constexpr int WGL_NUMBER_PIXEL_FORMATS_ARB = 0x2000;
constexpr int WGL_DRAW_TO_WINDOW_ARB = 0x2001;
constexpr int WGL_DRAW_TO_BITMAP_ARB = 0x2002;
constexpr int WGL_ACCELERATION_ARB = 0x2003;
constexpr int WGL_SWAP_METHOD_ARB = 0x2007;
constexpr int WGL_SUPPORT_GDI_ARB = 0x200F;
constexpr int WGL_SUPPORT_OPENGL_ARB = 0x2010;
constexpr int WGL_DOUBLE_BUFFER_ARB = 0x2011;
constexpr int WGL_STEREO_ARB = 0x2012;
constexpr int WGL_PIXEL_TYPE_ARB = 0x2013;
constexpr int WGL_COLOR_BITS_ARB = 0x2014;
constexpr int WGL_RED_BITS_ARB = 0x2015;
constexpr int WGL_GREEN_BITS_ARB = 0x2017;
constexpr int WGL_BLUE_BITS_ARB = 0x2019;
constexpr int WGL_ALPHA_BITS_ARB = 0x201B;
constexpr int WGL_ACCUM_BITS_ARB = 0x201D;
constexpr int WGL_ACCUM_RED_BITS_ARB = 0x201E;
constexpr int WGL_ACCUM_GREEN_BITS_ARB = 0x201F;
constexpr int WGL_ACCUM_BLUE_BITS_ARB = 0x2020;
constexpr int WGL_ACCUM_ALPHA_BITS_ARB = 0x2021;
constexpr int WGL_DEPTH_BITS_ARB = 0x2022;
constexpr int WGL_STENCIL_BITS_ARB = 0x2023;
constexpr int WGL_AUX_BUFFERS_ARB = 0x2024;
constexpr int WGL_NO_ACCELERATION_ARB = 0x2025;
constexpr int WGL_GENERIC_ACCELERATION_ARB = 0x2026;
constexpr int WGL_FULL_ACCELERATION_ARB = 0x2027;
constexpr int WGL_SWAP_EXCHANGE_ARB = 0x2028;
constexpr int WGL_SWAP_UNDEFINED_ARB = 0x202A;
constexpr int WGL_TYPE_RGBA_ARB = 0x202B;
constexpr int WGL_TYPE_COLORINDEX_ARB = 0x202C;
constexpr int WGL_DRAW_TO_PBUFFER_ARB = 0x202D;
constexpr int WGL_PBUFFER_LARGEST_ARB = 0x2033;
constexpr int WGL_PBUFFER_WIDTH_ARB = 0x2034;
constexpr int WGL_PBUFFER_HEIGHT_ARB = 0x2035;
constexpr int WGL_PBUFFER_LOST_ARB = 0x2036;
constexpr int WGL_SAMPLE_BUFFERS_ARB = 0x2041;
constexpr int WGL_SAMPLES_ARB = 0x2042;
constexpr int WGL_TYPE_RGBA_FLOAT_ARB = 0x21A0;
constexpr int WGL_FLOAT_COMPONENTS_NV = 0x20B0;

// ---------------------------------------------------------------------------------------
// Display modes and gamma (DirectDraw's role, on XRandR)
// ---------------------------------------------------------------------------------------

struct DisplayModeInfo {
    int width = 0, height = 0, bitsPerPixel = 0, refreshRate = 0;
};

// DirectDraw result codes returned by the display functions (DD_OK is 0).
constexpr HRESULT DD_OK = 0;

// Cooperative levels. Exclusive full screen makes the window own the output: every mode
// set afterwards leaves it borderless, covering the CRTC, mapped, raised and with the
// keyboard. The normal level gives the output back.
constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
constexpr DWORD DDSCL_NORMAL = 0x00000008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
HRESULT SetCooperativeLevel(HWND window, DWORD flags);

// The current mode of the CRTC that shows the window (or the first CRTC without one).
HRESULT GetDisplayMode(HWND window, DisplayModeInfo* mode);
// Full-screen mode switch of that CRTC, restored by RestoreDisplayMode. A size the output
// does not list is created and added to it where the server allows; otherwise the
// smallest listed mode at least as large is taken. `set` (optional) receives the mode
// that was set, so the caller can say when it differs from the one asked for.
HRESULT SetDisplayMode(HWND window, const DisplayModeInfo& mode, DisplayModeInfo* set = nullptr);
HRESULT RestoreDisplayMode(HWND window);

// The smallest of `modes` (by area, then width) that is at least width x height; -1 when
// none is large enough.
int FindNearestLargerMode(const DisplayModeInfo* modes, int count, int width, int height);
// Every mode of the screen resources, in the server's order.
HRESULT EnumerateDisplayModes(HWND window, bool refreshRates,
                              void (*callback)(const DisplayModeInfo& mode, void* user),
                              void* user);
// 256-entry ramps, resampled to the CRTC's own ramp size.
bool HasGammaControl(HWND window);
HRESULT GetGammaRamp(HWND window, uint16_t red[256], uint16_t green[256], uint16_t blue[256]);
HRESULT SetGammaRamp(HWND window, const uint16_t red[256], const uint16_t green[256],
                     const uint16_t blue[256]);

// For tests only: makes wglGetProcAddress answer null for a name, as a driver without
// that entry point would; an empty name shows every entry point again.
void HideEntryPointForTesting(const char* name);

} // namespace Platform
