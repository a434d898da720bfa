#pragma once

#include "app/KorvoIObject.h"
#include "platform/Platform.h"

#include <cstdint>
#include <string>
#include <vector>

namespace Korvo {

// A display mode; a refresh rate of 0 means the driver's default.
struct DisplayMode {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
    int RefreshRate = 0;
};

// The screen as the render system sees it: mode, gamma ramp and vertical sync.
class IDisplay : public Korvo::IObject {
public:
    ~IDisplay() override = default;

    // Reserved notification; the display takes no action on it.
    virtual void Notify(int event) = 0;
    virtual void GetCurrentMode(DisplayMode& mode) = 0;
    // Full screen only: brings the desktop's mode back.
    virtual void RestoreMode() = 0;
    virtual void SetGamma(float gamma) = 0;
    // The exponent applied last (1.0 until a ramp is set).
    virtual float GetGamma() const = 0;
    virtual void RestoreGamma() = 0;
    virtual void SetVSync(bool on) = 0;
    virtual bool IsVSync() const = 0;
    virtual void EnumerateModes(bool refreshRates, std::vector<DisplayMode>& modes) = 0;
};

// Windowed, the display only reads the current mode. In full screen it switches the mode
// of the screen area that shows the window, owns its gamma ramp, and gives both back
// when it is destroyed.
class Display : public IDisplay {
public:
    Display(const DisplayMode& mode, Platform::HWND window, bool fullScreen);
    ~Display() override;

    std::string GetTypeName() const override { return "Korvo::Display"; }

    void Notify(int event) override;
    void GetCurrentMode(DisplayMode& mode) override;
    void RestoreMode() override;
    void SetGamma(float gamma) override;
    float GetGamma() const override { return gammaExponent; }
    void RestoreGamma() override;
    void SetVSync(bool on) override;
    bool IsVSync() const override;
    void EnumerateModes(bool refreshRates, std::vector<DisplayMode>& modes) override;

    // The ramp for a gamma setting (clamped to 0..2), the same value in every channel;
    // returns the exponent it used.
    static float ComputeGammaRamp(float gamma, uint16_t ramp[256]);
    // "DDERR_INVALIDMODE" ...; "[Unknown DirectDraw error code]" for anything else.
    static const char* GetErrorName(Platform::HRESULT result);

private:
    [[noreturn]] void Raise(Platform::HRESULT result, const char* text) const;

    Platform::HWND window = nullptr;
    bool fullScreen = false;
    bool modeChanged = false;
    bool gammaControl = false;
    bool gammaSaved = false;
    uint16_t savedRamp[3][256] = {};
    float gammaExponent = 1.0f;
};

} // namespace Korvo
