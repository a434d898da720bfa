#include "gl/Display.h"

#include "app/CriticalException.h"
#include "platform/DirectDrawErrors.h"

#include <cmath>

namespace Korvo {

namespace {

using SwapIntervalSet = Platform::BOOL (*)(int);
using SwapIntervalGet = int (*)();

} // namespace

Display::Display(const DisplayMode& mode, Platform::HWND window_, bool fullScreen_)
    : window(window_), fullScreen(fullScreen_)
{
    // The screen must be reachable at all; windowed, nothing else is needed.
    Platform::DisplayModeInfo current;
    const Platform::HRESULT probe = Platform::GetDisplayMode(window, &current);
    if (probe != Platform::DD_OK)
        Raise(probe, "Failed to create IID_IDirectDraw7 interface.");
    if (!fullScreen) {
        Platform::SetCooperativeLevel(window, Platform::DDSCL_NORMAL);
        return;
    }

    // Exclusive: the mode set below leaves the window covering the output, on top and
    // with the keyboard.
    const Platform::HRESULT level = Platform::SetCooperativeLevel(
        window, Platform::DDSCL_EXCLUSIVE | Platform::DDSCL_FULLSCREEN);
    if (level != Platform::DD_OK)
        Raise(level, "Failed to set cooperative level.");
    Platform::DisplayModeInfo wanted;
    wanted.width = mode.Width;
    wanted.height = mode.Height;
    wanted.bitsPerPixel = mode.BitsPerPixel;
    wanted.refreshRate = mode.RefreshRate;
    Platform::DisplayModeInfo set;
    const Platform::HRESULT result = Platform::SetDisplayMode(window, wanted, &set);
    if (result != Platform::DD_OK) {
        Platform::SetCooperativeLevel(window, Platform::DDSCL_NORMAL);
        Platform::RestoreDisplayMode(window);
        char text[256];
        std::snprintf(text, sizeof(text), "Failed to set display mode: %d x %d x %d Bits, %d Hz.",
                      mode.Width, mode.Height, mode.BitsPerPixel, mode.RefreshRate);
        Raise(result, text);
    }
    if (set.width != mode.Width || set.height != mode.Height)
        Message(Sys::Log::Warning,
                "Display mode %d x %d is not available; the nearest larger one, %d x %d, "
                "is set and the picture is stretched over it.\n",
                mode.Width, mode.Height, set.width, set.height);
    modeChanged = true;
    gammaControl = Platform::HasGammaControl(window);
}

Display::~Display()
{
    if (!fullScreen)
        return;
    if (gammaSaved)
        Platform::SetGammaRamp(window, savedRamp[0], savedRamp[1], savedRamp[2]);
    if (modeChanged)
        Platform::RestoreDisplayMode(window);
    Platform::SetCooperativeLevel(window, Platform::DDSCL_NORMAL);
}

void Display::Notify(int)
{
}

void Display::GetCurrentMode(DisplayMode& mode)
{
    Platform::DisplayModeInfo info;
    const Platform::HRESULT result = Platform::GetDisplayMode(window, &info);
    if (result != Platform::DD_OK)
        Raise(result, "Failed to get current display mode.");
    mode.Width = info.width;
    mode.Height = info.height;
    mode.BitsPerPixel = info.bitsPerPixel;
    mode.RefreshRate = info.refreshRate;
}

void Display::RestoreMode()
{
    if (!fullScreen || !modeChanged)
        return;
    if (Platform::RestoreDisplayMode(window) == Platform::DD_OK)
        modeChanged = false;
}

float Display::ComputeGammaRamp(float gamma, uint16_t ramp[256])
{
    if (gamma < 0.0f)
        gamma = 0.0f;
    if (gamma > 2.0f)
        gamma = 2.0f;
    float exponent;
    if (gamma < 1.0f)
        exponent = 2.7f - 1.7f * gamma;
    else if (gamma == 1.0f)
        exponent = 1.0f;
    else
        exponent = 1.0f - 0.7f * (gamma - 1.0f);
    for (int i = 0; i < 256; ++i) {
        float value = std::pow(static_cast<float>(i + 1) / 256.0f, exponent) * 65535.0f + 0.5f;
        if (value < 0.0f)
            value = 0.0f;
        if (value > 65535.0f)
            value = 65535.0f;
        ramp[i] = static_cast<uint16_t>(value);
    }
    return exponent;
}

void Display::SetGamma(float gamma)
{
    if (!fullScreen || !gammaControl)
        return;
    if (!gammaSaved) {
        const Platform::HRESULT result =
            Platform::GetGammaRamp(window, savedRamp[0], savedRamp[1], savedRamp[2]);
        if (result != Platform::DD_OK)
            Raise(result, "Failed to save current display gamma.");
        gammaSaved = true;
    }
    uint16_t ramp[256];
    const float exponent = ComputeGammaRamp(gamma, ramp);
    const Platform::HRESULT result = Platform::SetGammaRamp(window, ramp, ramp, ramp);
    if (result != Platform::DD_OK)
        Raise(result, "Failed to apply gamma correction.");
    gammaExponent = exponent;
}

void Display::RestoreGamma()
{
    if (!gammaSaved)
        return;
    const Platform::HRESULT result =
        Platform::SetGammaRamp(window, savedRamp[0], savedRamp[1], savedRamp[2]);
    if (result != Platform::DD_OK)
        Raise(result, "Failed to apply gamma correction.");
}

void Display::SetVSync(bool on)
{
    auto set = reinterpret_cast<SwapIntervalSet>(Platform::wglGetProcAddress("wglSwapIntervalEXT"));
    auto get =
        reinterpret_cast<SwapIntervalGet>(Platform::wglGetProcAddress("wglGetSwapIntervalEXT"));
    if (set == nullptr || get == nullptr)
        return;
    const int interval = get();
    if (on && interval == 0) {
        if (!set(1))
            throw Sys::CriticalException("%s\n\n%s", GetTypeName().c_str(), "Failed to enable V-Sync.");
    } else if (!on && interval > 0) {
        if (!set(0))
            throw Sys::CriticalException("%s\n\n%s", GetTypeName().c_str(), "Failed to disable V-Sync.");
    }
}

bool Display::IsVSync() const
{
    auto get =
        reinterpret_cast<SwapIntervalGet>(Platform::wglGetProcAddress("wglGetSwapIntervalEXT"));
    return get != nullptr && get() != 0;
}

void Display::EnumerateModes(bool refreshRates, std::vector<DisplayMode>& modes)
{
    modes.clear();
    const Platform::HRESULT result = Platform::EnumerateDisplayModes(
        window, refreshRates,
        [](const Platform::DisplayModeInfo& info, void* user) {
            DisplayMode mode;
            mode.Width = info.width;
            mode.Height = info.height;
            mode.BitsPerPixel = info.bitsPerPixel;
            mode.RefreshRate = info.refreshRate;
            static_cast<std::vector<DisplayMode>*>(user)->push_back(mode);
        },
        &modes);
    if (result != Platform::DD_OK)
        Raise(result, "Failed to enumerate display modes.");
}

void Display::Raise(Platform::HRESULT result, const char* text) const
{
    throw Sys::CriticalException("%s\n\n%s\n%s", GetTypeName().c_str(), GetErrorName(result), text);
}

const char* Display::GetErrorName(Platform::HRESULT result)
{
    struct Name {
        Platform::HRESULT code;
        const char* name;
    };
    static const Name names[] = {
        {Platform::DDERR_GENERIC, "DDERR_GENERIC"},
        {Platform::DDERR_UNSUPPORTED, "DDERR_UNSUPPORTED"},
        {Platform::DDERR_NOTINITIALIZED, "DDERR_NOTINITIALIZED"},
        {Platform::DDERR_INVALIDPARAMS, "DDERR_INVALIDPARAMS"},
        {Platform::DDERR_OUTOFMEMORY, "DDERR_OUTOFMEMORY"},
        {Platform::DDERR_ALREADYINITIALIZED, "DDERR_ALREADYINITIALIZED"},
        {Platform::DDERR_CANNOTATTACHSURFACE, "DDERR_CANNOTATTACHSURFACE"},
        {Platform::DDERR_CANNOTDETACHSURFACE, "DDERR_CANNOTDETACHSURFACE"},
        {Platform::DDERR_CURRENTLYNOTAVAIL, "DDERR_CURRENTLYNOTAVAIL"},
        {Platform::DDERR_EXCEPTION, "DDERR_EXCEPTION"},
        {Platform::DDERR_HEIGHTALIGN, "DDERR_HEIGHTALIGN"},
        {Platform::DDERR_INCOMPATIBLEPRIMARY, "DDERR_INCOMPATIBLEPRIMARY"},
        {Platform::DDERR_INVALIDCAPS, "DDERR_INVALIDCAPS"},
        {Platform::DDERR_INVALIDCLIPLIST, "DDERR_INVALIDCLIPLIST"},
        {Platform::DDERR_INVALIDMODE, "DDERR_INVALIDMODE"},
        {Platform::DDERR_INVALIDOBJECT, "DDERR_INVALIDOBJECT"},
        {Platform::DDERR_INVALIDPIXELFORMAT, "DDERR_INVALIDPIXELFORMAT"},
        {Platform::DDERR_INVALIDRECT, "DDERR_INVALIDRECT"},
        {Platform::DDERR_LOCKEDSURFACES, "DDERR_LOCKEDSURFACES"},
        {Platform::DDERR_NO3D, "DDERR_NO3D"},
        {Platform::DDERR_NOALPHAHW, "DDERR_NOALPHAHW"},
        {Platform::DDERR_NOSTEREOHARDWARE, "DDERR_NOSTEREOHARDWARE"},
        {Platform::DDERR_NOSURFACELEFT, "DDERR_NOSURFACELEFT"},
        {Platform::DDERR_NOCLIPLIST, "DDERR_NOCLIPLIST"},
        {Platform::DDERR_NOCOLORCONVHW, "DDERR_NOCOLORCONVHW"},
        {Platform::DDERR_NOCOOPERATIVELEVELSET, "DDERR_NOCOOPERATIVELEVELSET"},
        {Platform::DDERR_NOCOLORKEY, "DDERR_NOCOLORKEY"},
        {Platform::DDERR_NOCOLORKEYHW, "DDERR_NOCOLORKEYHW"},
        {Platform::DDERR_NODIRECTDRAWSUPPORT, "DDERR_NODIRECTDRAWSUPPORT"},
        {Platform::DDERR_NOEXCLUSIVEMODE, "DDERR_NOEXCLUSIVEMODE"},
        {Platform::DDERR_NOFLIPHW, "DDERR_NOFLIPHW"},
        {Platform::DDERR_NOGDI, "DDERR_NOGDI"},
        {Platform::DDERR_NOMIRRORHW, "DDERR_NOMIRRORHW"},
        {Platform::DDERR_NOTFOUND, "DDERR_NOTFOUND"},
        {Platform::DDERR_NOOVERLAYHW, "DDERR_NOOVERLAYHW"},
        {Platform::DDERR_OVERLAPPINGRECTS, "DDERR_OVERLAPPINGRECTS"},
        {Platform::DDERR_NORASTEROPHW, "DDERR_NORASTEROPHW"},
        {Platform::DDERR_NOROTATIONHW, "DDERR_NOROTATIONHW"},
        {Platform::DDERR_NOSTRETCHHW, "DDERR_NOSTRETCHHW"},
        {Platform::DDERR_NOT4BITCOLOR, "DDERR_NOT4BITCOLOR"},
        {Platform::DDERR_NOT4BITCOLORINDEX, "DDERR_NOT4BITCOLORINDEX"},
        {Platform::DDERR_NOT8BITCOLOR, "DDERR_NOT8BITCOLOR"},
        {Platform::DDERR_NOTEXTUREHW, "DDERR_NOTEXTUREHW"},
        {Platform::DDERR_NOVSYNCHW, "DDERR_NOVSYNCHW"},
        {Platform::DDERR_NOZBUFFERHW, "DDERR_NOZBUFFERHW"},
        {Platform::DDERR_NOZOVERLAYHW, "DDERR_NOZOVERLAYHW"},
        {Platform::DDERR_OUTOFCAPS, "DDERR_OUTOFCAPS"},
        {Platform::DDERR_OUTOFVIDEOMEMORY, "DDERR_OUTOFVIDEOMEMORY"},
        {Platform::DDERR_OVERLAYCANTCLIP, "DDERR_OVERLAYCANTCLIP"},
        {Platform::DDERR_OVERLAYCOLORKEYONLYONEACTIVE, "DDERR_OVERLAYCOLORKEYONLYONEACTIVE"},
        {Platform::DDERR_PALETTEBUSY, "DDERR_PALETTEBUSY"},
        {Platform::DDERR_COLORKEYNOTSET, "DDERR_COLORKEYNOTSET"},
        {Platform::DDERR_SURFACEALREADYATTACHED, "DDERR_SURFACEALREADYATTACHED"},
        {Platform::DDERR_SURFACEALREADYDEPENDENT, "DDERR_SURFACEALREADYDEPENDENT"},
        {Platform::DDERR_SURFACEBUSY, "DDERR_SURFACEBUSY"},
        {Platform::DDERR_CANTLOCKSURFACE, "DDERR_CANTLOCKSURFACE"},
        {Platform::DDERR_SURFACEISOBSCURED, "DDERR_SURFACEISOBSCURED"},
        {Platform::DDERR_SURFACELOST, "DDERR_SURFACELOST"},
        {Platform::DDERR_SURFACENOTATTACHED, "DDERR_SURFACENOTATTACHED"},
        {Platform::DDERR_TOOBIGHEIGHT, "DDERR_TOOBIGHEIGHT"},
        {Platform::DDERR_TOOBIGSIZE, "DDERR_TOOBIGSIZE"},
        {Platform::DDERR_TOOBIGWIDTH, "DDERR_TOOBIGWIDTH"},
        {Platform::DDERR_UNSUPPORTEDFORMAT, "DDERR_UNSUPPORTEDFORMAT"},
        {Platform::DDERR_UNSUPPORTEDMASK, "DDERR_UNSUPPORTEDMASK"},
        {Platform::DDERR_INVALIDSTREAM, "DDERR_INVALIDSTREAM"},
        {Platform::DDERR_VERTICALBLANKINPROGRESS, "DDERR_VERTICALBLANKINPROGRESS"},
        {Platform::DDERR_WASSTILLDRAWING, "DDERR_WASSTILLDRAWING"},
        {Platform::DDERR_DDSCAPSCOMPLEXREQUIRED, "DDERR_DDSCAPSCOMPLEXREQUIRED"},
        {Platform::DDERR_XALIGN, "DDERR_XALIGN"},
        {Platform::DDERR_INVALIDDIRECTDRAWGUID, "DDERR_INVALIDDIRECTDRAWGUID"},
        {Platform::DDERR_DIRECTDRAWALREADYCREATED, "DDERR_DIRECTDRAWALREADYCREATED"},
        {Platform::DDERR_NODIRECTDRAWHW, "DDERR_NODIRECTDRAWHW"},
        {Platform::DDERR_PRIMARYSURFACEALREADYEXISTS, "DDERR_PRIMARYSURFACEALREADYEXISTS"},
        {Platform::DDERR_NOEMULATION, "DDERR_NOEMULATION"},
        {Platform::DDERR_REGIONTOOSMALL, "DDERR_REGIONTOOSMALL"},
        {Platform::DDERR_CLIPPERISUSINGHWND, "DDERR_CLIPPERISUSINGHWND"},
        {Platform::DDERR_NOCLIPPERATTACHED, "DDERR_NOCLIPPERATTACHED"},
        {Platform::DDERR_NOHWND, "DDERR_NOHWND"},
        {Platform::DDERR_HWNDSUBCLASSED, "DDERR_HWNDSUBCLASSED"},
        {Platform::DDERR_HWNDALREADYSET, "DDERR_HWNDALREADYSET"},
        {Platform::DDERR_NOPALETTEATTACHED, "DDERR_NOPALETTEATTACHED"},
        {Platform::DDERR_NOPALETTEHW, "DDERR_NOPALETTEHW"},
        {Platform::DDERR_BLTFASTCANTCLIP, "DDERR_BLTFASTCANTCLIP"},
        {Platform::DDERR_NOBLTHW, "DDERR_NOBLTHW"},
        {Platform::DDERR_NODDROPSHW, "DDERR_NODDROPSHW"},
        {Platform::DDERR_OVERLAYNOTVISIBLE, "DDERR_OVERLAYNOTVISIBLE"},
        {Platform::DDERR_NOOVERLAYDEST, "DDERR_NOOVERLAYDEST"},
        {Platform::DDERR_INVALIDPOSITION, "DDERR_INVALIDPOSITION"},
        {Platform::DDERR_NOTAOVERLAYSURFACE, "DDERR_NOTAOVERLAYSURFACE"},
        {Platform::DDERR_EXCLUSIVEMODEALREADYSET, "DDERR_EXCLUSIVEMODEALREADYSET"},
        {Platform::DDERR_NOTFLIPPABLE, "DDERR_NOTFLIPPABLE"},
        {Platform::DDERR_CANTDUPLICATE, "DDERR_CANTDUPLICATE"},
        {Platform::DDERR_NOTLOCKED, "DDERR_NOTLOCKED"},
        {Platform::DDERR_CANTCREATEDC, "DDERR_CANTCREATEDC"},
        {Platform::DDERR_NODC, "DDERR_NODC"},
        {Platform::DDERR_WRONGMODE, "DDERR_WRONGMODE"},
        {Platform::DDERR_IMPLICITLYCREATED, "DDERR_IMPLICITLYCREATED"},
        {Platform::DDERR_NOTPALETTIZED, "DDERR_NOTPALETTIZED"},
        {Platform::DDERR_UNSUPPORTEDMODE, "DDERR_UNSUPPORTEDMODE"},
        {Platform::DDERR_NOMIPMAPHW, "DDERR_NOMIPMAPHW"},
        {Platform::DDERR_INVALIDSURFACETYPE, "DDERR_INVALIDSURFACETYPE"},
        {Platform::DDERR_NOOPTIMIZEHW, "DDERR_NOOPTIMIZEHW"},
        {Platform::DDERR_NOTLOADED, "DDERR_NOTLOADED"},
        {Platform::DDERR_NOFOCUSWINDOW, "DDERR_NOFOCUSWINDOW"},
        {Platform::DDERR_NOTONMIPMAPSUBLEVEL, "DDERR_NOTONMIPMAPSUBLEVEL"},
        {Platform::DDERR_DCALREADYCREATED, "DDERR_DCALREADYCREATED"},
        {Platform::DDERR_NONONLOCALVIDMEM, "DDERR_NONONLOCALVIDMEM"},
        {Platform::DDERR_CANTPAGELOCK, "DDERR_CANTPAGELOCK"},
        {Platform::DDERR_CANTPAGEUNLOCK, "DDERR_CANTPAGEUNLOCK"},
        {Platform::DDERR_NOTPAGELOCKED, "DDERR_NOTPAGELOCKED"},
        {Platform::DDERR_MOREDATA, "DDERR_MOREDATA"},
        {Platform::DDERR_EXPIRED, "DDERR_EXPIRED"},
        {Platform::DDERR_TESTFINISHED, "DDERR_TESTFINISHED"},
        {Platform::DDERR_NEWMODE, "DDERR_NEWMODE"},
        {Platform::DDERR_D3DNOTINITIALIZED, "DDERR_D3DNOTINITIALIZED"},
        {Platform::DDERR_VIDEONOTACTIVE, "DDERR_VIDEONOTACTIVE"},
        {Platform::DDERR_NOMONITORINFORMATION, "DDERR_NOMONITORINFORMATION"},
        {Platform::DDERR_NODRIVERSUPPORT, "DDERR_NODRIVERSUPPORT"},
        {Platform::DDERR_DEVICEDOESNTOWNSURFACE, "DDERR_DEVICEDOESNTOWNSURFACE"},
    };
    for (const Name& entry : names)
        if (entry.code == result)
            return entry.name;
    return "[Unknown DirectDraw error code]";
}

} // namespace Korvo
