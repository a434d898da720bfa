// Display modes and gamma ramps of the CRTC that shows a window, through XRandR.

#include "platform/DirectDrawErrors.h"
#include "platform/X11Connection.h"

#include <X11/extensions/Xrandr.h>

#include <cmath>
#include <cstdio>
#include <cstring>

namespace Platform {

namespace {

struct SavedCrtc {
    bool saved = false;
    RRCrtc crtc = 0;
    RRMode mode = 0;
    int x = 0, y = 0;
    Rotation rotation = RR_Rotate_0;
    std::vector<RROutput> outputs;
    // A mode created for the run, and the outputs it was added to.
    RRMode created = None;
    std::vector<RROutput> createdOn;
};

SavedCrtc g_Saved;
HWND g_ExclusiveWindow = nullptr;

bool HasRandR(Display* display)
{
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    return XRRQueryExtension(display, &eventBase, &errorBase)
           && XRRQueryVersion(display, &major, &minor) && (major > 1 || minor >= 2);
}

// The screen resources together with the CRTC that shows the window: the one holding the
// window's centre, else the first CRTC that shows anything.
class CrtcLookup {
public:
    explicit CrtcLookup(HWND window)
    {
        display = X11::GetDisplay();
        if (display == nullptr || !HasRandR(display))
            return;
        root = RootWindow(display, X11::GetScreen());
        resources = XRRGetScreenResourcesCurrent(display, root);
        if (resources == nullptr)
            return;
        int centreX = -1, centreY = -1;
        WindowRecord* record = IsWindow(window) ? window : nullptr;
        if (record != nullptr && record->xid != 0) {
            ::Window child = 0;
            XTranslateCoordinates(display, record->xid, root, record->width / 2,
                                  record->height / 2, &centreX, &centreY, &child);
        }
        for (int i = 0; i < resources->ncrtc && info == nullptr; ++i) {
            XRRCrtcInfo* candidate = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
            if (candidate == nullptr)
                continue;
            const bool shows = candidate->mode != None;
            const bool holds = centreX >= candidate->x
                               && centreX < candidate->x + static_cast<int>(candidate->width)
                               && centreY >= candidate->y
                               && centreY < candidate->y + static_cast<int>(candidate->height);
            if (shows && (holds || centreX < 0)) {
                info = candidate;
                crtc = resources->crtcs[i];
            } else {
                if (shows && fallback == nullptr) {
                    fallback = candidate;
                    fallbackCrtc = resources->crtcs[i];
                } else {
                    XRRFreeCrtcInfo(candidate);
                }
            }
        }
        if (info == nullptr) {
            info = fallback;
            crtc = fallbackCrtc;
            fallback = nullptr;
        }
    }

    ~CrtcLookup()
    {
        if (fallback != nullptr)
            XRRFreeCrtcInfo(fallback);
        if (info != nullptr)
            XRRFreeCrtcInfo(info);
        if (resources != nullptr)
            XRRFreeScreenResources(resources);
    }

    CrtcLookup(const CrtcLookup&) = delete;
    CrtcLookup& operator=(const CrtcLookup&) = delete;

    // DD_OK when a display with RandR, its resources and the window's CRTC were all found;
    // else the error for the first that was not.
    HRESULT Failure() const
    {
        if (display == nullptr)
            return DDERR_NODIRECTDRAWHW;
        if (resources == nullptr)
            return DDERR_UNSUPPORTED;
        if (info == nullptr)
            return DDERR_NOMONITORINFORMATION;
        return DD_OK;
    }

    const XRRModeInfo* FindMode(RRMode id) const
    {
        for (int i = 0; i < resources->nmode; ++i)
            if (resources->modes[i].id == id)
                return &resources->modes[i];
        return nullptr;
    }

    Display* display = nullptr;
    ::Window root = 0;
    XRRScreenResources* resources = nullptr;
    XRRCrtcInfo* info = nullptr;
    RRCrtc crtc = 0;

private:
    XRRCrtcInfo* fallback = nullptr;
    RRCrtc fallbackCrtc = 0;
};

int RefreshRate(const XRRModeInfo& mode)
{
    if (mode.hTotal == 0 || mode.vTotal == 0)
        return 0;
    return static_cast<int>(std::lround(static_cast<double>(mode.dotClock)
                                        / (static_cast<double>(mode.hTotal) * mode.vTotal)));
}

// A mode of the CRTC's outputs with the size (and refresh rate, unless 0) asked for.
RRMode FindOutputMode(const CrtcLookup& lookup, const DisplayModeInfo& mode)
{
    RRMode chosen = None;
    for (int o = 0; o < lookup.info->noutput && chosen == None; ++o) {
        XRROutputInfo* output =
            XRRGetOutputInfo(lookup.display, lookup.resources, lookup.info->outputs[o]);
        if (output == nullptr)
            continue;
        for (int m = 0; m < output->nmode && chosen == None; ++m) {
            const XRRModeInfo* info = lookup.FindMode(output->modes[m]);
            if (info != nullptr && static_cast<int>(info->width) == mode.width
                && static_cast<int>(info->height) == mode.height
                && (mode.refreshRate == 0 || RefreshRate(*info) == mode.refreshRate))
                chosen = info->id;
        }
        XRRFreeOutputInfo(output);
    }
    return chosen;
}

// Every mode the CRTC's outputs list, with its id.
void ListOutputModes(const CrtcLookup& lookup, std::vector<DisplayModeInfo>& infos,
                     std::vector<RRMode>& ids)
{
    for (int o = 0; o < lookup.info->noutput; ++o) {
        XRROutputInfo* output =
            XRRGetOutputInfo(lookup.display, lookup.resources, lookup.info->outputs[o]);
        if (output == nullptr)
            continue;
        for (int m = 0; m < output->nmode; ++m) {
            const XRRModeInfo* info = lookup.FindMode(output->modes[m]);
            if (info == nullptr)
                continue;
            DisplayModeInfo entry;
            entry.width = static_cast<int>(info->width);
            entry.height = static_cast<int>(info->height);
            entry.refreshRate = RefreshRate(*info);
            infos.push_back(entry);
            ids.push_back(info->id);
        }
        XRRFreeOutputInfo(output);
    }
}

// Creates a mode of the size asked for and adds it to the CRTC's outputs; None where the
// server refuses. The timings are generic blanking intervals at the rate asked for (60 Hz
// by default): what a virtual or modern flat screen accepts.
RRMode CreateOutputMode(const CrtcLookup& lookup, const DisplayModeInfo& mode)
{
    if (mode.width <= 0 || mode.height <= 0 || lookup.info->noutput == 0)
        return None;
    char name[32];
    std::snprintf(name, sizeof(name), "%dx%d", mode.width, mode.height);
    XRRModeInfo info = {};
    info.width = static_cast<unsigned>(mode.width);
    info.height = static_cast<unsigned>(mode.height);
    info.hSyncStart = info.width + 48;
    info.hSyncEnd = info.width + 80;
    info.hTotal = info.width + 160;
    info.vSyncStart = info.height + 3;
    info.vSyncEnd = info.height + 7;
    info.vTotal = info.height + 25;
    const int rate = mode.refreshRate > 0 ? mode.refreshRate : 60;
    info.dotClock = static_cast<unsigned long>(info.hTotal) * info.vTotal * rate;
    info.name = name;
    info.nameLength = static_cast<unsigned>(std::strlen(name));
    info.modeFlags = RR_HSyncPositive | RR_VSyncNegative;
    X11::ClearError();
    const RRMode created = XRRCreateMode(lookup.display, lookup.root, &info);
    X11::Sync();
    if (created == None || X11::LastErrorCode() != 0)
        return None;
    std::vector<RROutput> addedTo;
    for (int o = 0; o < lookup.info->noutput; ++o) {
        XRRAddOutputMode(lookup.display, lookup.info->outputs[o], created);
        X11::Sync();
        if (X11::LastErrorCode() != 0)
            break;
        addedTo.push_back(lookup.info->outputs[o]);
    }
    if (X11::LastErrorCode() != 0) {
        for (RROutput output : addedTo)
            XRRDeleteOutputMode(lookup.display, output, created);
        XRRDestroyMode(lookup.display, created);
        X11::ClearError();
        return None;
    }
    g_Saved.created = created;
    g_Saved.createdOn = addedTo;
    return created;
}

} // namespace

HRESULT GetDisplayMode(HWND window, DisplayModeInfo* mode)
{
    if (mode == nullptr)
        return DDERR_INVALIDPARAMS;
    CrtcLookup lookup(window);
    if (const HRESULT failure = lookup.Failure(); failure != DD_OK)
        return failure;
    const XRRModeInfo* current = lookup.FindMode(lookup.info->mode);
    mode->width = static_cast<int>(lookup.info->width);
    mode->height = static_cast<int>(lookup.info->height);
    mode->bitsPerPixel = X11::BitsPerPixel(lookup.display);
    mode->refreshRate = current != nullptr ? RefreshRate(*current) : 0;
    return DD_OK;
}

int FindNearestLargerMode(const DisplayModeInfo* modes, int count, int width, int height)
{
    int best = -1;
    for (int i = 0; i < count; ++i) {
        if (modes[i].width < width || modes[i].height < height)
            continue;
        const long area = static_cast<long>(modes[i].width) * modes[i].height;
        const long bestArea =
            best < 0 ? 0 : static_cast<long>(modes[best].width) * modes[best].height;
        if (best < 0 || area < bestArea || (area == bestArea && modes[i].width < modes[best].width))
            best = i;
    }
    return best;
}

HRESULT SetCooperativeLevel(HWND window, DWORD flags)
{
    if (IsWindow(window) == FALSE_)
        return DDERR_INVALIDPARAMS;
    const DWORD exclusive = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;
    if ((flags & exclusive) == exclusive)
        g_ExclusiveWindow = window;
    else if ((flags & DDSCL_NORMAL) != 0 && g_ExclusiveWindow == window)
        g_ExclusiveWindow = nullptr;
    else if ((flags & DDSCL_NORMAL) == 0)
        return DDERR_INVALIDPARAMS;
    return DD_OK;
}

HRESULT SetDisplayMode(HWND window, const DisplayModeInfo& mode, DisplayModeInfo* set)
{
    RRMode chosen = None;
    DisplayModeInfo chosenInfo;
    {
        CrtcLookup lookup(window);
        if (const HRESULT failure = lookup.Failure(); failure != DD_OK)
            return failure;
        // The colour depth of an X screen is fixed; only its own depth can be asked for.
        const int bits = X11::BitsPerPixel(lookup.display);
        if (mode.bitsPerPixel != 0 && mode.bitsPerPixel != bits
            && mode.bitsPerPixel != DefaultDepth(lookup.display, X11::GetScreen()))
            return DDERR_INVALIDMODE;
        chosen = FindOutputMode(lookup, mode);
        if (chosen == None)
            chosen = CreateOutputMode(lookup, mode);
        if (chosen == None) {
            // Neither listed nor creatable: the smallest listed mode that holds the picture.
            std::vector<DisplayModeInfo> infos;
            std::vector<RRMode> ids;
            ListOutputModes(lookup, infos, ids);
            const int nearest = FindNearestLargerMode(infos.data(), static_cast<int>(infos.size()),
                                                      mode.width, mode.height);
            if (nearest < 0)
                return DDERR_INVALIDMODE;
            chosen = ids[nearest];
        }
        if (!g_Saved.saved) {
            g_Saved.saved = true;
            g_Saved.crtc = lookup.crtc;
            g_Saved.mode = lookup.info->mode;
            g_Saved.x = lookup.info->x;
            g_Saved.y = lookup.info->y;
            g_Saved.rotation = lookup.info->rotation;
            g_Saved.outputs.assign(lookup.info->outputs,
                                   lookup.info->outputs + lookup.info->noutput);
        }
    }
    // A mode just created is only in fresh screen resources.
    CrtcLookup lookup(window);
    if (lookup.resources == nullptr || lookup.info == nullptr)
        return DDERR_GENERIC;
    const XRRModeInfo* info = lookup.FindMode(chosen);
    if (info == nullptr)
        return DDERR_INVALIDMODE;
    chosenInfo.width = static_cast<int>(info->width);
    chosenInfo.height = static_cast<int>(info->height);
    chosenInfo.bitsPerPixel = X11::BitsPerPixel(lookup.display);
    chosenInfo.refreshRate = RefreshRate(*info);
    if (chosen != lookup.info->mode) {
        X11::ClearError();
        const Status status = XRRSetCrtcConfig(lookup.display, lookup.resources, lookup.crtc,
                                               CurrentTime, lookup.info->x, lookup.info->y,
                                               chosen, lookup.info->rotation,
                                               lookup.info->outputs, lookup.info->noutput);
        X11::Sync();
        if (status != RRSetConfigSuccess || X11::LastErrorCode() != 0)
            return DDERR_UNSUPPORTEDMODE;
    }
    if (set != nullptr)
        *set = chosenInfo;
    if (g_ExclusiveWindow == window)
        X11::CoverArea(*window, lookup.info->x, lookup.info->y, chosenInfo.width,
                       chosenInfo.height);
    return DD_OK;
}

HRESULT RestoreDisplayMode(HWND window)
{
    if (!g_Saved.saved)
        return DD_OK;
    CrtcLookup lookup(window);
    if (lookup.display == nullptr || lookup.resources == nullptr)
        return DDERR_GENERIC;
    X11::ClearError();
    const Status status = XRRSetCrtcConfig(
        lookup.display, lookup.resources, g_Saved.crtc, CurrentTime, g_Saved.x, g_Saved.y,
        g_Saved.mode, g_Saved.rotation, g_Saved.outputs.data(),
        static_cast<int>(g_Saved.outputs.size()));
    X11::Sync();
    if (status != RRSetConfigSuccess || X11::LastErrorCode() != 0)
        return DDERR_GENERIC;
    // The mode made for this run goes again once nothing shows it.
    if (g_Saved.created != None) {
        for (RROutput output : g_Saved.createdOn)
            XRRDeleteOutputMode(lookup.display, output, g_Saved.created);
        XRRDestroyMode(lookup.display, g_Saved.created);
        X11::Sync();
    }
    g_Saved = SavedCrtc();
    return DD_OK;
}

HRESULT EnumerateDisplayModes(HWND window, bool refreshRates,
                              void (*callback)(const DisplayModeInfo& mode, void* user),
                              void* user)
{
    if (callback == nullptr)
        return DDERR_INVALIDPARAMS;
    CrtcLookup lookup(window);
    if (lookup.display == nullptr)
        return DDERR_NODIRECTDRAWHW;
    if (lookup.resources == nullptr)
        return DDERR_UNSUPPORTED;
    const int bits = X11::BitsPerPixel(lookup.display);
    std::vector<DisplayModeInfo> seen;
    for (int i = 0; i < lookup.resources->nmode; ++i) {
        const XRRModeInfo& info = lookup.resources->modes[i];
        DisplayModeInfo mode;
        mode.width = static_cast<int>(info.width);
        mode.height = static_cast<int>(info.height);
        mode.bitsPerPixel = bits;
        mode.refreshRate = refreshRates ? RefreshRate(info) : 0;
        bool duplicate = false;
        for (const DisplayModeInfo& other : seen)
            duplicate = duplicate
                        || (other.width == mode.width && other.height == mode.height
                            && other.refreshRate == mode.refreshRate);
        if (duplicate)
            continue;
        seen.push_back(mode);
        callback(mode, user);
    }
    return DD_OK;
}

bool HasGammaControl(HWND window)
{
    CrtcLookup lookup(window);
    if (lookup.info == nullptr)
        return false;
    return XRRGetCrtcGammaSize(lookup.display, lookup.crtc) > 1;
}

HRESULT GetGammaRamp(HWND window, uint16_t red[256], uint16_t green[256], uint16_t blue[256])
{
    CrtcLookup lookup(window);
    if (lookup.display == nullptr)
        return DDERR_NODIRECTDRAWHW;
    if (lookup.info == nullptr)
        return DDERR_UNSUPPORTED;
    XRRCrtcGamma* gamma = XRRGetCrtcGamma(lookup.display, lookup.crtc);
    if (gamma == nullptr || gamma->size < 2) {
        if (gamma != nullptr)
            XRRFreeGamma(gamma);
        return DDERR_UNSUPPORTED;
    }
    for (int i = 0; i < 256; ++i) {
        const int source = i * (gamma->size - 1) / 255;
        red[i] = gamma->red[source];
        green[i] = gamma->green[source];
        blue[i] = gamma->blue[source];
    }
    XRRFreeGamma(gamma);
    return DD_OK;
}

HRESULT SetGammaRamp(HWND window, const uint16_t red[256], const uint16_t green[256],
                     const uint16_t blue[256])
{
    CrtcLookup lookup(window);
    if (lookup.display == nullptr)
        return DDERR_NODIRECTDRAWHW;
    if (lookup.info == nullptr)
        return DDERR_UNSUPPORTED;
    const int size = XRRGetCrtcGammaSize(lookup.display, lookup.crtc);
    if (size < 2)
        return DDERR_UNSUPPORTED;
    XRRCrtcGamma* gamma = XRRAllocGamma(size);
    if (gamma == nullptr)
        return DDERR_OUTOFMEMORY;
    for (int i = 0; i < size; ++i) {
        const int source = i * 255 / (size - 1);
        gamma->red[i] = red[source];
        gamma->green[i] = green[source];
        gamma->blue[i] = blue[source];
    }
    X11::ClearError();
    XRRSetCrtcGamma(lookup.display, lookup.crtc, gamma);
    XRRFreeGamma(gamma);
    X11::Sync();
    return X11::LastErrorCode() == 0 ? DD_OK : DDERR_GENERIC;
}

} // namespace Platform
