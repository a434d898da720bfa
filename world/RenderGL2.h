#pragma once

#include "gl/ExtensionRegistry.h"
#include "gl/FrameBuffer.h"
#include "platform/Platform.h"
#include "world/IRender.h"

#include <functional>

namespace Korvo {

// The graphics chip family found at start-up. Other parts test for the ATI family as
// DEVICE_R400 <= type <= DEVICE_R600.
enum DeviceTypes {
    DEVICE_UNKNOWN = 0,
    DEVICE_NV2X = 1,
    DEVICE_NV3X = 2,
    DEVICE_NV4X_G7X = 3,
    DEVICE_G7X = 4,
    DEVICE_G8X = 5,
    DEVICE_R400 = 6,
    DEVICE_R500 = 7,
    DEVICE_R600 = 8,
};

// The detected family, for the renderer and the frame sets.
extern int DeviceType;

// Brings up, for the main window, everything the renderer draws with: the display, the
// window's OpenGL context and framebuffer, the extension registries and driver
// descriptions, the chip family (refusing chips that are too old) and the render device,
// and writes the driver's description to the log. The destructor takes it all down.
class RenderGL2 : public IRender {
public:
    explicit RenderGL2(Platform::HWND window);
    ~RenderGL2() override;

    std::string GetTypeName() const override { return "Korvo::RenderGL2"; }

    void SetWindowSize(const Size& size) override;
    void GetWindowSize(Size& size) const override;
    void BeginScene() override {}
    void EndScene() override {}

    int GetDeviceType() const { return deviceType; }
    const Sys::Ptr<GL::FrameBuffer>& GetFrameBuffer() const { return frameBuffer; }

    // The chip family from the extension flags. `compilesTestShader` compiles the embedded
    // test shader and says whether that succeeded; it is only asked on ATI chips that
    // could be either R400 or R500.
    static int DetectDeviceType(const GL::ExtensionRegistry& extensions,
                                const std::function<bool()>& compilesTestShader);
    // Compiles the embedded test shader for real on the current context.
    static bool CompileTestShader();
    // "NVIDIA NV4X/G7X\n" and the others; "Unknown\n" for values outside the table.
    static const char* GetDeviceTypeName(int type);

    static const char* const TestShaderSource;

private:
    void BringUp();
    void LogDescription() const;
    static void ReleaseDescriptions();
    // Lowers r_Screen_Samples to what the driver offers, with a warning, for the life of
    // the render system; RestoreSamples puts the user's value back.
    void LimitSamples();
    void RestoreSamples();

    Platform::HWND window = nullptr;
    Platform::HDC deviceContext = nullptr;
    Sys::Ptr<GL::FrameBuffer> frameBuffer;
    int deviceType = DEVICE_UNKNOWN;
    int userSamples = -1;
};

} // namespace Korvo
