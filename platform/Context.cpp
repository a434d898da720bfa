// Device contexts, pixel formats, GLX rendering contexts, P-buffers and swap control.
//
// Pixel formats are the display's FBConfigs numbered from 1. Both ways of choosing one
// (the classic descriptor and the attribute list) go through one matcher: hard limits
// first (drawable kind, pixel type, minimum sizes, exact buffering), then the candidates
// are ordered by how little they exceed the request, so that a request for 8-bit RGBA
// with a 24-bit depth buffer gets exactly that and not a multisampled 10-bit format.

#include "platform/X11Connection.h"

#include <GL/glxext.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <set>
#include <string>

#ifndef GLX_RGBA_FLOAT_BIT_ARB
#define GLX_RGBA_FLOAT_BIT_ARB 0x00000004
#endif
#ifndef GLX_RGBA_FLOAT_TYPE_ARB
#define GLX_RGBA_FLOAT_TYPE_ARB 0x20B9
#endif
#ifndef GLX_FLOAT_COMPONENTS_NV
#define GLX_FLOAT_COMPONENTS_NV 0x20B0
#endif
#ifndef GLX_SWAP_INTERVAL_EXT
#define GLX_SWAP_INTERVAL_EXT 0x20F1
#endif

namespace Platform {

namespace {

unsigned g_NextShareGroup = 1;
std::vector<std::unique_ptr<RenderContextRecord>> g_Contexts;
std::vector<std::unique_ptr<PBufferRecord>> g_PBuffers;
int g_SgiSwapInterval = 1;
std::set<std::string> g_HiddenEntryPoints;

RenderContextRecord* LookupContext(HGLRC context)
{
    for (auto& record : g_Contexts)
        if (record.get() == context)
            return record.get();
    return nullptr;
}

PBufferRecord* LookupPBuffer(HPBUFFER pbuffer)
{
    for (auto& record : g_PBuffers)
        if (record.get() == pbuffer)
            return record.get();
    return nullptr;
}

bool IsValidDC(HDC dc)
{
    // Without the connection no drawable can be reached any more.
    if (dc == nullptr || dc->display == nullptr || X11::IsConnectionLost())
        return false;
    if (dc->window != nullptr)
        return IsWindow(dc->window) != 0 && dc->window->xid != 0;
    return LookupPBuffer(dc->pbuffer) != nullptr;
}

int DCPixelFormat(HDC dc)
{
    if (dc->window != nullptr)
        return dc->window->pixelFormat;
    return dc->pbuffer != nullptr ? dc->pbuffer->pixelFormat : 0;
}

// What a pixel format must offer. Sizes are minimums; -1 means "any" for the flags.
struct Request {
    bool window = false;
    bool pbuffer = false;
    bool bitmap = false;
    int renderBit = GLX_RGBA_BIT;
    int floatComponents = -1;
    int doubleBuffer = -1;
    int stereo = -1;
    int acceleration = 0;  // 0 any, else the WGL acceleration value
    int colorBits = 0;
    bool colorBitsIsMinimum = true;
    int red = 0, green = 0, blue = 0, alpha = 0, depth = 0, stencil = 0, aux = 0;
    int accumRed = 0, accumGreen = 0, accumBlue = 0, accumAlpha = 0, accum = 0;
    int sampleBuffers = 0, samples = 0;
    const WindowRecord* compatibleWith = nullptr;
};

int Attrib(int format, int attribute)
{
    return X11::GetConfigAttrib(format, attribute);
}

// Colour bits count the whole pixel, alpha included, as display drivers report them for
// 32-bit formats (and as the desktop's 32 bits per pixel are compared with them).
int ColorBits(int format)
{
    return Attrib(format, GLX_RED_SIZE) + Attrib(format, GLX_GREEN_SIZE)
           + Attrib(format, GLX_BLUE_SIZE) + Attrib(format, GLX_ALPHA_SIZE);
}

int Acceleration(int)
{
    return X11::IsIndirect() ? WGL_NO_ACCELERATION_ARB : WGL_FULL_ACCELERATION_ARB;
}

bool Matches(const Request& request, int format)
{
    const int drawable = Attrib(format, GLX_DRAWABLE_TYPE);
    if (request.window && (drawable & GLX_WINDOW_BIT) == 0)
        return false;
    if (request.pbuffer && (drawable & GLX_PBUFFER_BIT) == 0)
        return false;
    if (request.bitmap && (drawable & GLX_PIXMAP_BIT) == 0)
        return false;
    if ((Attrib(format, GLX_RENDER_TYPE) & request.renderBit) == 0)
        return false;
    if (request.floatComponents >= 0
        && (Attrib(format, GLX_FLOAT_COMPONENTS_NV) != 0) != (request.floatComponents != 0))
        return false;
    if (request.doubleBuffer >= 0
        && (Attrib(format, GLX_DOUBLEBUFFER) != 0) != (request.doubleBuffer != 0))
        return false;
    if (request.stereo >= 0 && (Attrib(format, GLX_STEREO) != 0) != (request.stereo != 0))
        return false;
    if (request.acceleration != 0 && Acceleration(format) != request.acceleration)
        return false;
    if (request.colorBitsIsMinimum && ColorBits(format) < request.colorBits)
        return false;
    const std::array<std::pair<int, int>, 11> minimums = {{
        {GLX_RED_SIZE, request.red},
        {GLX_GREEN_SIZE, request.green},
        {GLX_BLUE_SIZE, request.blue},
        {GLX_ALPHA_SIZE, request.alpha},
        {GLX_DEPTH_SIZE, request.depth},
        {GLX_STENCIL_SIZE, request.stencil},
        {GLX_AUX_BUFFERS, request.aux},
        {GLX_ACCUM_RED_SIZE, request.accumRed},
        {GLX_ACCUM_GREEN_SIZE, request.accumGreen},
        {GLX_ACCUM_BLUE_SIZE, request.accumBlue},
        {GLX_ACCUM_ALPHA_SIZE, request.accumAlpha},
    }};
    for (const auto& [attribute, minimum] : minimums)
        if (Attrib(format, attribute) < minimum)
            return false;
    const int accum = Attrib(format, GLX_ACCUM_RED_SIZE) + Attrib(format, GLX_ACCUM_GREEN_SIZE)
                      + Attrib(format, GLX_ACCUM_BLUE_SIZE) + Attrib(format, GLX_ACCUM_ALPHA_SIZE);
    if (accum < request.accum)
        return false;
    if (Attrib(format, GLX_SAMPLE_BUFFERS) < request.sampleBuffers
        || Attrib(format, GLX_SAMPLES) < request.samples)
        return false;
    if (request.compatibleWith != nullptr && !X11::IsCompatible(*request.compatibleWith, format))
        return false;
    return true;
}

// Smaller is closer to the request; compared element by element.
std::array<int, 10> Distance(const Request& request, int format)
{
    const int accum = Attrib(format, GLX_ACCUM_RED_SIZE) + Attrib(format, GLX_ACCUM_GREEN_SIZE)
                      + Attrib(format, GLX_ACCUM_BLUE_SIZE) + Attrib(format, GLX_ACCUM_ALPHA_SIZE);
    const bool ownVisual = request.compatibleWith != nullptr
                           && static_cast<VisualID>(Attrib(format, GLX_VISUAL_ID))
                                  == request.compatibleWith->visualId;
    return {{
        Attrib(format, GLX_SAMPLES) - request.samples,
        Attrib(format, GLX_CONFIG_CAVEAT) == GLX_SLOW_CONFIG ? 1 : 0,
        std::abs(ColorBits(format) - request.colorBits),
        Attrib(format, GLX_ALPHA_SIZE) - request.alpha,
        Attrib(format, GLX_DEPTH_SIZE) - request.depth,
        Attrib(format, GLX_STENCIL_SIZE) - request.stencil,
        accum - request.accum,
        Attrib(format, GLX_AUX_BUFFERS) - request.aux,
        ownVisual || request.compatibleWith == nullptr ? 0 : 1,
        format,
    }};
}

std::vector<int> Choose(const Request& request)
{
    std::vector<int> formats;
    const int count = static_cast<int>(X11::GetConfigs().size());
    for (int format = 1; format <= count; ++format)
        if (Matches(request, format))
            formats.push_back(format);
    std::vector<std::pair<std::array<int, 10>, int>> ranked;
    ranked.reserve(formats.size());
    for (int format : formats)
        ranked.emplace_back(Distance(request, format), format);
    std::sort(ranked.begin(), ranked.end());
    for (size_t i = 0; i < ranked.size(); ++i)
        formats[i] = ranked[i].second;
    return formats;
}

BOOL MakeNothingCurrent()
{
    Display* display = X11::GetDisplay();
    if (display != nullptr && X11::g_CurrentContext != nullptr)
        glXMakeContextCurrent(display, None, None, nullptr);
    X11::g_CurrentContext = nullptr;
    X11::g_CurrentDC = nullptr;
    return TRUE_;
}

template <typename F>
F GetGLXFunction(const char* name)
{
    return reinterpret_cast<F>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

} // namespace

int GetDeviceCaps(HDC dc, int index)
{
    if (!IsValidDC(dc) || index != BITSPIXEL)
        return 0;
    return X11::BitsPerPixel(dc->display);
}

int ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* descriptor)
{
    if (!IsValidDC(dc) || descriptor == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    Request request;
    request.window = (descriptor->dwFlags & PFD_DRAW_TO_WINDOW) != 0;
    request.pbuffer = dc->pbuffer != nullptr;
    request.compatibleWith = dc->window;
    request.renderBit = descriptor->iPixelType == PFD_TYPE_RGBA ? GLX_RGBA_BIT : GLX_COLOR_INDEX_BIT;
    request.doubleBuffer = (descriptor->dwFlags & PFD_DOUBLEBUFFER) != 0 ? 1 : 0;
    request.stereo = (descriptor->dwFlags & PFD_STEREO) != 0 ? 1 : 0;
    // Colour depth is a preference, as with the Windows call; the other sizes are minimums.
    request.colorBits = descriptor->cColorBits;
    request.colorBitsIsMinimum = false;
    request.alpha = descriptor->cAlphaBits;
    request.depth = descriptor->cDepthBits;
    request.stencil = descriptor->cStencilBits;
    request.aux = descriptor->cAuxBuffers;
    request.accum = descriptor->cAccumBits;
    const std::vector<int> formats = Choose(request);
    if (formats.empty()) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return 0;
    }
    return formats.front();
}

BOOL SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR*)
{
    if (!IsValidDC(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    if (X11::GetConfig(format) == nullptr) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return FALSE_;
    }
    if (dc->pbuffer != nullptr) {
        if (dc->pbuffer->pixelFormat == format)
            return TRUE_;
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return FALSE_;
    }
    WindowRecord& window = *dc->window;
    if (window.pixelFormat != 0) {
        // A window's format is set once for its lifetime.
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return FALSE_;
    }
    if (!X11::IsCompatible(window, format)) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return FALSE_;
    }
    window.pixelFormat = format;
    return TRUE_;
}

int GetPixelFormat(HDC dc)
{
    if (!IsValidDC(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return DCPixelFormat(dc);
}

int DescribePixelFormat(HDC dc, int format, UINT bytes, PIXELFORMATDESCRIPTOR* descriptor)
{
    if (!IsValidDC(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    const int count = static_cast<int>(X11::GetConfigs().size());
    if (descriptor == nullptr)
        return count;
    if (format < 1 || format > count || bytes < sizeof(PIXELFORMATDESCRIPTOR)) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return 0;
    }
    PIXELFORMATDESCRIPTOR pfd;
    const int drawable = Attrib(format, GLX_DRAWABLE_TYPE);
    pfd.dwFlags = PFD_SUPPORT_OPENGL;
    if ((drawable & GLX_WINDOW_BIT) != 0)
        pfd.dwFlags |= PFD_DRAW_TO_WINDOW;
    if (Attrib(format, GLX_DOUBLEBUFFER) != 0)
        pfd.dwFlags |= PFD_DOUBLEBUFFER;
    if (Attrib(format, GLX_STEREO) != 0)
        pfd.dwFlags |= PFD_STEREO;
    if (X11::IsIndirect())
        pfd.dwFlags |= PFD_GENERIC_FORMAT;
    pfd.iPixelType = (Attrib(format, GLX_RENDER_TYPE) & (GLX_RGBA_BIT | GLX_RGBA_FLOAT_BIT_ARB)) != 0
                         ? PFD_TYPE_RGBA
                         : 1;
    pfd.cRedBits = static_cast<uint8_t>(Attrib(format, GLX_RED_SIZE));
    pfd.cGreenBits = static_cast<uint8_t>(Attrib(format, GLX_GREEN_SIZE));
    pfd.cBlueBits = static_cast<uint8_t>(Attrib(format, GLX_BLUE_SIZE));
    pfd.cAlphaBits = static_cast<uint8_t>(Attrib(format, GLX_ALPHA_SIZE));
    pfd.cColorBits = static_cast<uint8_t>(ColorBits(format));
    pfd.cBlueShift = 0;
    pfd.cGreenShift = pfd.cBlueBits;
    pfd.cRedShift = static_cast<uint8_t>(pfd.cBlueBits + pfd.cGreenBits);
    pfd.cAlphaShift =
        pfd.cAlphaBits != 0 ? static_cast<uint8_t>(pfd.cRedShift + pfd.cRedBits) : 0;
    pfd.cAccumRedBits = static_cast<uint8_t>(Attrib(format, GLX_ACCUM_RED_SIZE));
    pfd.cAccumGreenBits = static_cast<uint8_t>(Attrib(format, GLX_ACCUM_GREEN_SIZE));
    pfd.cAccumBlueBits = static_cast<uint8_t>(Attrib(format, GLX_ACCUM_BLUE_SIZE));
    pfd.cAccumAlphaBits = static_cast<uint8_t>(Attrib(format, GLX_ACCUM_ALPHA_SIZE));
    pfd.cAccumBits = static_cast<uint8_t>(pfd.cAccumRedBits + pfd.cAccumGreenBits
                                          + pfd.cAccumBlueBits + pfd.cAccumAlphaBits);
    pfd.cDepthBits = static_cast<uint8_t>(Attrib(format, GLX_DEPTH_SIZE));
    pfd.cStencilBits = static_cast<uint8_t>(Attrib(format, GLX_STENCIL_SIZE));
    pfd.cAuxBuffers = static_cast<uint8_t>(Attrib(format, GLX_AUX_BUFFERS));
    pfd.iLayerType = PFD_MAIN_PLANE;
    *descriptor = pfd;
    return count;
}

BOOL SwapBuffers(HDC dc)
{
    if (!IsValidDC(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    X11::ClearError();
    glXSwapBuffers(dc->display, dc->drawable);
    return TRUE_;
}

BOOL wglSwapLayerBuffers(HDC dc, UINT planes)
{
    if ((planes & WGL_SWAP_MAIN_PLANE) == 0) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE_;
    }
    return SwapBuffers(dc);
}

HGLRC wglCreateContext(HDC dc)
{
    if (!IsValidDC(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    const int format = DCPixelFormat(dc);
    GLXFBConfig config = X11::GetConfig(format);
    if (config == nullptr) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return nullptr;
    }
    // Objects are shared with whatever context is current now.
    RenderContextRecord* share = LookupContext(X11::g_CurrentContext);
    const int renderBits = Attrib(format, GLX_RENDER_TYPE);
    const int renderType = (renderBits & GLX_RGBA_BIT) == 0 && (renderBits & GLX_RGBA_FLOAT_BIT_ARB) != 0
                               ? GLX_RGBA_FLOAT_TYPE_ARB
                               : GLX_RGBA_TYPE;
    X11::ClearError();
    GLXContext context = glXCreateNewContext(dc->display, config, renderType,
                                             share != nullptr ? share->context : nullptr,
                                             X11::IsIndirect() ? False : True);
    X11::Sync();
    if (context == nullptr || X11::LastErrorCode() != 0) {
        if (context != nullptr)
            glXDestroyContext(dc->display, context);
        if (X11::LastErrorCode() == 0)
            SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return nullptr;
    }
    auto record = std::make_unique<RenderContextRecord>();
    record->context = context;
    record->pixelFormat = format;
    record->shareGroup = share != nullptr ? share->shareGroup : g_NextShareGroup++;
    record->direct = glXIsDirect(dc->display, context) != 0;
    HGLRC handle = record.get();
    g_Contexts.push_back(std::move(record));
    return handle;
}

BOOL wglDeleteContext(HGLRC context)
{
    RenderContextRecord* record = LookupContext(context);
    if (record == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    if (X11::g_CurrentContext == context)
        MakeNothingCurrent();
    // After a lost connection GLX cannot be asked any more; the process is ending then.
    if (X11::GetDisplay() != nullptr)
        glXDestroyContext(X11::GetDisplay(), record->context);
    X11::Sync();
    g_Contexts.erase(std::find_if(g_Contexts.begin(), g_Contexts.end(),
                                  [context](const auto& r) { return r.get() == context; }));
    return TRUE_;
}

BOOL wglMakeCurrent(HDC dc, HGLRC context)
{
    if (context == nullptr)
        return MakeNothingCurrent();
    RenderContextRecord* record = LookupContext(context);
    if (record == nullptr || !IsValidDC(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    if (DCPixelFormat(dc) != record->pixelFormat) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return FALSE_;
    }
    X11::ClearError();
    const Bool made = glXMakeContextCurrent(dc->display, dc->drawable, dc->drawable, record->context);
    X11::Sync();
    if (!made || X11::LastErrorCode() != 0) {
        if (X11::LastErrorCode() == 0)
            SetLastError(ERROR_INVALID_OPERATION);
        // A failed switch leaves nothing current, as GLX does.
        X11::g_CurrentContext = nullptr;
        X11::g_CurrentDC = nullptr;
        return FALSE_;
    }
    X11::g_CurrentContext = context;
    X11::g_CurrentDC = dc;
    return TRUE_;
}

HGLRC wglGetCurrentContext()
{
    return X11::g_CurrentContext;
}

HDC wglGetCurrentDC()
{
    return X11::g_CurrentDC;
}

BOOL wglShareLists(HGLRC first, HGLRC second)
{
    RenderContextRecord* a = LookupContext(first);
    RenderContextRecord* b = LookupContext(second);
    if (a == nullptr || b == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    if (a->shareGroup != b->shareGroup) {
        // GLX decides sharing when a context is made; it cannot be added afterwards.
        SetLastError(ERROR_INVALID_OPERATION);
        return FALSE_;
    }
    return TRUE_;
}

const char* wglGetExtensionsStringARB(HDC dc)
{
    if (dc == nullptr || dc->display == nullptr || X11::GetConfigs().empty())
        return nullptr;
    return glXQueryExtensionsString(dc->display, X11::GetScreen());
}

bool GetGLXVersion(int* major, int* minor)
{
    Display* display = X11::GetDisplay();
    int a = 0, b = 0;
    if (display == nullptr || !glXQueryVersion(display, &a, &b))
        return false;
    if (major != nullptr)
        *major = a;
    if (minor != nullptr)
        *minor = b;
    return true;
}

BOOL wglChoosePixelFormatARB(HDC dc, const int* intAttributes, const float*, UINT maxFormats,
                             int* formats, UINT* numFormats)
{
    if (!IsValidDC(dc) || numFormats == nullptr || (formats == nullptr && maxFormats > 0)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    Request request;
    for (const int* a = intAttributes; a != nullptr && a[0] != 0; a += 2) {
        const int value = a[1];
        switch (a[0]) {
        case WGL_DRAW_TO_WINDOW_ARB: request.window = value != 0; break;
        case WGL_DRAW_TO_BITMAP_ARB: request.bitmap = value != 0; break;
        case WGL_DRAW_TO_PBUFFER_ARB: request.pbuffer = value != 0; break;
        case WGL_ACCELERATION_ARB: request.acceleration = value; break;
        case WGL_SUPPORT_GDI_ARB:
            if (value != 0) {
                SetLastError(ERROR_INVALID_PIXEL_FORMAT);
                *numFormats = 0;
                return TRUE_;
            }
            break;
        case WGL_SUPPORT_OPENGL_ARB: break;
        case WGL_SWAP_METHOD_ARB: break;
        case WGL_DOUBLE_BUFFER_ARB: request.doubleBuffer = value != 0 ? 1 : 0; break;
        case WGL_STEREO_ARB: request.stereo = value != 0 ? 1 : 0; break;
        case WGL_PIXEL_TYPE_ARB:
            if (value == WGL_TYPE_RGBA_ARB)
                request.renderBit = GLX_RGBA_BIT;
            else if (value == WGL_TYPE_RGBA_FLOAT_ARB)
                request.renderBit = GLX_RGBA_FLOAT_BIT_ARB;
            else if (value == WGL_TYPE_COLORINDEX_ARB)
                request.renderBit = GLX_COLOR_INDEX_BIT;
            else {
                SetLastError(ERROR_INVALID_DATA);
                return FALSE_;
            }
            break;
        case WGL_FLOAT_COMPONENTS_NV: request.floatComponents = value != 0 ? 1 : 0; break;
        case WGL_COLOR_BITS_ARB: request.colorBits = value; break;
        case WGL_RED_BITS_ARB: request.red = value; break;
        case WGL_GREEN_BITS_ARB: request.green = value; break;
        case WGL_BLUE_BITS_ARB: request.blue = value; break;
        case WGL_ALPHA_BITS_ARB: request.alpha = value; break;
        case WGL_ACCUM_BITS_ARB: request.accum = value; break;
        case WGL_ACCUM_RED_BITS_ARB: request.accumRed = value; break;
        case WGL_ACCUM_GREEN_BITS_ARB: request.accumGreen = value; break;
        case WGL_ACCUM_BLUE_BITS_ARB: request.accumBlue = value; break;
        case WGL_ACCUM_ALPHA_BITS_ARB: request.accumAlpha = value; break;
        case WGL_DEPTH_BITS_ARB: request.depth = value; break;
        case WGL_STENCIL_BITS_ARB: request.stencil = value; break;
        case WGL_AUX_BUFFERS_ARB: request.aux = value; break;
        case WGL_SAMPLE_BUFFERS_ARB: request.sampleBuffers = value; break;
        case WGL_SAMPLES_ARB: request.samples = value; break;
        default:
            SetLastError(ERROR_INVALID_DATA);
            return FALSE_;
        }
    }
    if (request.window && dc->window != nullptr)
        request.compatibleWith = dc->window;
    const std::vector<int> chosen = Choose(request);
    const UINT count = std::min<UINT>(maxFormats, static_cast<UINT>(chosen.size()));
    for (UINT i = 0; i < count; ++i)
        formats[i] = chosen[i];
    *numFormats = count;
    return TRUE_;
}

BOOL wglGetPixelFormatAttribivARB(HDC dc, int format, int, UINT count, const int* attributes,
                                  int* values)
{
    if (!IsValidDC(dc) || attributes == nullptr || values == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    const int total = static_cast<int>(X11::GetConfigs().size());
    for (UINT i = 0; i < count; ++i) {
        if (attributes[i] == WGL_NUMBER_PIXEL_FORMATS_ARB) {
            values[i] = total;
            continue;
        }
        if (format < 1 || format > total) {
            SetLastError(ERROR_INVALID_PIXEL_FORMAT);
            return FALSE_;
        }
        const int drawable = Attrib(format, GLX_DRAWABLE_TYPE);
        const int render = Attrib(format, GLX_RENDER_TYPE);
        int value = 0;
        switch (attributes[i]) {
        case WGL_DRAW_TO_WINDOW_ARB: value = (drawable & GLX_WINDOW_BIT) != 0; break;
        case WGL_DRAW_TO_BITMAP_ARB: value = (drawable & GLX_PIXMAP_BIT) != 0; break;
        case WGL_DRAW_TO_PBUFFER_ARB: value = (drawable & GLX_PBUFFER_BIT) != 0; break;
        case WGL_ACCELERATION_ARB: value = Acceleration(format); break;
        case WGL_SWAP_METHOD_ARB: value = WGL_SWAP_UNDEFINED_ARB; break;
        case WGL_SUPPORT_GDI_ARB: value = 0; break;
        case WGL_SUPPORT_OPENGL_ARB: value = 1; break;
        case WGL_DOUBLE_BUFFER_ARB: value = Attrib(format, GLX_DOUBLEBUFFER) != 0; break;
        case WGL_STEREO_ARB: value = Attrib(format, GLX_STEREO) != 0; break;
        case WGL_PIXEL_TYPE_ARB:
            value = (render & GLX_RGBA_BIT) != 0            ? WGL_TYPE_RGBA_ARB
                    : (render & GLX_RGBA_FLOAT_BIT_ARB) != 0 ? WGL_TYPE_RGBA_FLOAT_ARB
                                                             : WGL_TYPE_COLORINDEX_ARB;
            break;
        case WGL_FLOAT_COMPONENTS_NV:
            value = X11::HasExtension("GLX_NV_float_buffer")
                        ? Attrib(format, GLX_FLOAT_COMPONENTS_NV) != 0
                        : 0;
            break;
        case WGL_COLOR_BITS_ARB: value = ColorBits(format); break;
        case WGL_RED_BITS_ARB: value = Attrib(format, GLX_RED_SIZE); break;
        case WGL_GREEN_BITS_ARB: value = Attrib(format, GLX_GREEN_SIZE); break;
        case WGL_BLUE_BITS_ARB: value = Attrib(format, GLX_BLUE_SIZE); break;
        case WGL_ALPHA_BITS_ARB: value = Attrib(format, GLX_ALPHA_SIZE); break;
        case WGL_ACCUM_BITS_ARB:
            value = Attrib(format, GLX_ACCUM_RED_SIZE) + Attrib(format, GLX_ACCUM_GREEN_SIZE)
                    + Attrib(format, GLX_ACCUM_BLUE_SIZE) + Attrib(format, GLX_ACCUM_ALPHA_SIZE);
            break;
        case WGL_ACCUM_RED_BITS_ARB: value = Attrib(format, GLX_ACCUM_RED_SIZE); break;
        case WGL_ACCUM_GREEN_BITS_ARB: value = Attrib(format, GLX_ACCUM_GREEN_SIZE); break;
        case WGL_ACCUM_BLUE_BITS_ARB: value = Attrib(format, GLX_ACCUM_BLUE_SIZE); break;
        case WGL_ACCUM_ALPHA_BITS_ARB: value = Attrib(format, GLX_ACCUM_ALPHA_SIZE); break;
        case WGL_DEPTH_BITS_ARB: value = Attrib(format, GLX_DEPTH_SIZE); break;
        case WGL_STENCIL_BITS_ARB: value = Attrib(format, GLX_STENCIL_SIZE); break;
        case WGL_AUX_BUFFERS_ARB: value = Attrib(format, GLX_AUX_BUFFERS); break;
        case WGL_SAMPLE_BUFFERS_ARB: value = Attrib(format, GLX_SAMPLE_BUFFERS); break;
        case WGL_SAMPLES_ARB: value = Attrib(format, GLX_SAMPLES); break;
        case WGL_PBUFFER_WIDTH_ARB: value = Attrib(format, GLX_MAX_PBUFFER_WIDTH); break;
        case WGL_PBUFFER_HEIGHT_ARB: value = Attrib(format, GLX_MAX_PBUFFER_HEIGHT); break;
        default:
            SetLastError(ERROR_INVALID_DATA);
            return FALSE_;
        }
        values[i] = value;
    }
    return TRUE_;
}

HPBUFFER wglCreatePbufferARB(HDC dc, int format, int width, int height, const int* attributes)
{
    if (!IsValidDC(dc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    GLXFBConfig config = X11::GetConfig(format);
    if (config == nullptr || (Attrib(format, GLX_DRAWABLE_TYPE) & GLX_PBUFFER_BIT) == 0) {
        SetLastError(ERROR_INVALID_PIXEL_FORMAT);
        return nullptr;
    }
    if (width <= 0 || height <= 0) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    int largest = 0;
    for (const int* a = attributes; a != nullptr && a[0] != 0; a += 2) {
        if (a[0] == WGL_PBUFFER_LARGEST_ARB) {
            largest = a[1];
        } else {
            SetLastError(ERROR_INVALID_DATA);
            return nullptr;
        }
    }
    const int pbufferAttributes[] = {GLX_PBUFFER_WIDTH,    width,  GLX_PBUFFER_HEIGHT,
                                     height,               GLX_LARGEST_PBUFFER,
                                     largest ? True : False, GLX_PRESERVED_CONTENTS,
                                     True,                 None};
    X11::ClearError();
    GLXPbuffer pbuffer = glXCreatePbuffer(dc->display, config, pbufferAttributes);
    X11::Sync();
    if (pbuffer == 0 || X11::LastErrorCode() != 0) {
        if (pbuffer != 0)
            glXDestroyPbuffer(dc->display, pbuffer);
        if (X11::LastErrorCode() == 0)
            SetLastError(ERROR_NO_SYSTEM_RESOURCES);
        return nullptr;
    }
    auto record = std::make_unique<PBufferRecord>();
    record->pbuffer = pbuffer;
    record->pixelFormat = format;
    unsigned int w = 0, h = 0;
    glXQueryDrawable(dc->display, pbuffer, GLX_WIDTH, &w);
    glXQueryDrawable(dc->display, pbuffer, GLX_HEIGHT, &h);
    record->width = static_cast<int>(w);
    record->height = static_cast<int>(h);
    record->dc.display = dc->display;
    record->dc.drawable = pbuffer;
    record->dc.pbuffer = record.get();
    HPBUFFER handle = record.get();
    g_PBuffers.push_back(std::move(record));
    return handle;
}

HDC wglGetPbufferDCARB(HPBUFFER pbuffer)
{
    PBufferRecord* record = LookupPBuffer(pbuffer);
    if (record == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return &record->dc;
}

int wglReleasePbufferDCARB(HPBUFFER pbuffer, HDC dc)
{
    PBufferRecord* record = LookupPBuffer(pbuffer);
    if (record == nullptr || dc != &record->dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return 1;
}

BOOL wglDestroyPbufferARB(HPBUFFER pbuffer)
{
    PBufferRecord* record = LookupPBuffer(pbuffer);
    if (record == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    if (X11::g_CurrentDC == &record->dc)
        MakeNothingCurrent();
    if (X11::GetDisplay() != nullptr)
        glXDestroyPbuffer(record->dc.display, record->pbuffer);
    X11::Sync();
    g_PBuffers.erase(std::find_if(g_PBuffers.begin(), g_PBuffers.end(),
                                  [pbuffer](const auto& r) { return r.get() == pbuffer; }));
    return TRUE_;
}

BOOL wglQueryPbufferARB(HPBUFFER pbuffer, int attribute, int* value)
{
    PBufferRecord* record = LookupPBuffer(pbuffer);
    if (record == nullptr || value == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE_;
    }
    switch (attribute) {
    case WGL_PBUFFER_WIDTH_ARB: *value = record->width; return TRUE_;
    case WGL_PBUFFER_HEIGHT_ARB: *value = record->height; return TRUE_;
    case WGL_PBUFFER_LOST_ARB: *value = 0; return TRUE_;
    default:
        SetLastError(ERROR_INVALID_DATA);
        return FALSE_;
    }
}

bool HasSwapControl()
{
    return X11::HasExtension("GLX_EXT_swap_control") || X11::HasExtension("GLX_MESA_swap_control")
           || X11::HasExtension("GLX_SGI_swap_control");
}

BOOL wglSwapIntervalEXT(int interval)
{
    if (interval < 0) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE_;
    }
    Display* display = X11::GetDisplay();
    HDC dc = X11::g_CurrentDC;
    if (display == nullptr || dc == nullptr) {
        SetLastError(ERROR_INVALID_OPERATION);
        return FALSE_;
    }
    X11::ClearError();
    bool done = false;
    if (X11::HasExtension("GLX_EXT_swap_control")) {
        auto set = GetGLXFunction<void (*)(Display*, GLXDrawable, int)>("glXSwapIntervalEXT");
        if (set != nullptr) {
            set(display, dc->drawable, interval);
            done = true;
        }
    } else if (X11::HasExtension("GLX_MESA_swap_control")) {
        auto set = GetGLXFunction<int (*)(unsigned)>("glXSwapIntervalMESA");
        done = set != nullptr && set(static_cast<unsigned>(interval)) == 0;
    } else if (X11::HasExtension("GLX_SGI_swap_control")) {
        // The SGI form cannot switch synchronisation off.
        auto set = GetGLXFunction<int (*)(int)>("glXSwapIntervalSGI");
        done = interval > 0 && set != nullptr && set(interval) == 0;
        if (done)
            g_SgiSwapInterval = interval;
    }
    X11::Sync();
    if (!done || X11::LastErrorCode() != 0) {
        if (X11::LastErrorCode() == 0)
            SetLastError(ERROR_INVALID_OPERATION);
        return FALSE_;
    }
    return TRUE_;
}

int wglGetSwapIntervalEXT()
{
    Display* display = X11::GetDisplay();
    HDC dc = X11::g_CurrentDC;
    if (display == nullptr || dc == nullptr)
        return 0;
    if (X11::HasExtension("GLX_EXT_swap_control")) {
        unsigned int value = 0;
        glXQueryDrawable(display, dc->drawable, GLX_SWAP_INTERVAL_EXT, &value);
        return static_cast<int>(value);
    }
    if (X11::HasExtension("GLX_MESA_swap_control")) {
        auto get = GetGLXFunction<int (*)()>("glXGetSwapIntervalMESA");
        return get != nullptr ? get() : 0;
    }
    if (X11::HasExtension("GLX_SGI_swap_control"))
        return g_SgiSwapInterval;
    return 0;
}

void* wglGetProcAddress(const char* name)
{
    if (name == nullptr || X11::g_CurrentContext == nullptr || g_HiddenEntryPoints.count(name) != 0)
        return nullptr;
    struct Entry {
        const char* name;
        void* function;
        bool (*available)();
    };
    static const auto always = []() { return true; };
    static const auto fbconfigs = []() {
        int major = 0, minor = 0;
        return (GetGLXVersion(&major, &minor) && (major > 1 || minor >= 3))
               || X11::HasExtension("GLX_SGIX_fbconfig");
    };
    static const auto pbuffers = []() {
        int major = 0, minor = 0;
        return (GetGLXVersion(&major, &minor) && (major > 1 || minor >= 3))
               || X11::HasExtension("GLX_SGIX_pbuffer");
    };
    static const auto swapControl = []() { return HasSwapControl(); };
    static const Entry entries[] = {
        {"wglGetExtensionsStringARB", reinterpret_cast<void*>(&wglGetExtensionsStringARB), always},
        {"wglChoosePixelFormatARB", reinterpret_cast<void*>(&wglChoosePixelFormatARB), fbconfigs},
        {"wglGetPixelFormatAttribivARB", reinterpret_cast<void*>(&wglGetPixelFormatAttribivARB),
         fbconfigs},
        {"wglCreatePbufferARB", reinterpret_cast<void*>(&wglCreatePbufferARB), pbuffers},
        {"wglGetPbufferDCARB", reinterpret_cast<void*>(&wglGetPbufferDCARB), pbuffers},
        {"wglReleasePbufferDCARB", reinterpret_cast<void*>(&wglReleasePbufferDCARB), pbuffers},
        {"wglDestroyPbufferARB", reinterpret_cast<void*>(&wglDestroyPbufferARB), pbuffers},
        {"wglQueryPbufferARB", reinterpret_cast<void*>(&wglQueryPbufferARB), pbuffers},
        {"wglSwapIntervalEXT", reinterpret_cast<void*>(&wglSwapIntervalEXT), swapControl},
        {"wglGetSwapIntervalEXT", reinterpret_cast<void*>(&wglGetSwapIntervalEXT), swapControl},
    };
    for (const Entry& entry : entries)
        if (std::strcmp(entry.name, name) == 0)
            return entry.available() ? entry.function : nullptr;
    if (std::strncmp(name, "wgl", 3) == 0)
        return nullptr;
    return reinterpret_cast<void*>(glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name)));
}

void HideEntryPointForTesting(const char* name)
{
    if (name == nullptr || name[0] == '\0')
        g_HiddenEntryPoints.clear();
    else
        g_HiddenEntryPoints.insert(name);
}

} // namespace Platform
