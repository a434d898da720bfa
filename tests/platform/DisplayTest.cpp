// The display on XRandR: the current mode, the text of a refused mode and the gamma ramp (the
// program tests switch to full screen and back).

#include "app/CriticalException.h"
#include "gl/Display.h"
#include "platform/DirectDrawErrors.h"
#include "tests/support/GLTestContext.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

// Last: Xlib's macros (None, Status, Bool) would spoil the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

using namespace Platform;

namespace {

TEST(DisplayTest, ReadsTheDesktopModeAndRefusesAForeignColourDepth)
{
    ::Test::GLTestWindow window;
    ASSERT_NE(window.Get(), nullptr);
    Korvo::DisplayMode mode;
    Korvo::Display(Korvo::DisplayMode(), window.Get(), false).GetCurrentMode(mode);
    EXPECT_EQ(mode.Width, 1280);
    EXPECT_EQ(mode.Height, 1024);
    EXPECT_EQ(mode.BitsPerPixel, 32);

    // A missing size could be created; a colour depth the X screen does not have cannot,
    // and the desktop mode stays.
    mode.Width = 123;
    mode.Height = 45;
    mode.BitsPerPixel = 16;
    try {
        Korvo::Display display(mode, window.Get(), true);
        ADD_FAILURE() << "a foreign colour depth was accepted";
    } catch (const Sys::CriticalException& e) {
        EXPECT_EQ(e.GetMessageText(), "Korvo::Display\n\nDDERR_INVALIDMODE\n"
                                      "Failed to set display mode: 123 x 45 x 16 Bits, 0 Hz.");
    }
    DisplayModeInfo now;
    ASSERT_EQ(GetDisplayMode(window.Get(), &now), DD_OK);
    EXPECT_EQ(now.width, 1280);
}

// Where a size can be neither found nor created, the smallest mode that holds it is taken.
TEST(DisplayTest, NearestLargerModeIsTheSmallestThatHoldsTheSize)
{
    const DisplayModeInfo modes[5] = {{1280, 1024}, {800, 600}, {1024, 768}, {640, 400}, {720, 480}};
    EXPECT_EQ(FindNearestLargerMode(modes, 5, 640, 480), 4);
    EXPECT_EQ(FindNearestLargerMode(modes, 5, 800, 480), 1);
    EXPECT_EQ(FindNearestLargerMode(modes, 5, 1024, 700), 2);
    EXPECT_EQ(FindNearestLargerMode(modes, 5, 1281, 480), -1);
    EXPECT_EQ(FindNearestLargerMode(modes, 0, 640, 480), -1);
}

// The ramp is sampled at (i + 1) / 256, so even the identity starts above black; settings
// outside 0..2 are taken at the nearer end, below 1 darken and above 1 brighten.
TEST(DisplayTest, GammaRampFollowsTheSettingClampedToZeroToTwo)
{
    using Korvo::Display;
    uint16_t identity[256], dark[256], bright[256], ramp[256];
    EXPECT_FLOAT_EQ(Display::ComputeGammaRamp(1.0f, identity), 1.0f);
    EXPECT_EQ(identity[0], 256);
    EXPECT_EQ(identity[127], 32768);
    EXPECT_EQ(identity[255], 65535);
    EXPECT_FLOAT_EQ(Display::ComputeGammaRamp(0.5f, dark), 1.85f);
    EXPECT_FLOAT_EQ(Display::ComputeGammaRamp(1.5f, bright), 0.65f);
    for (int i = 1; i < 256; ++i) {
        EXPECT_GT(identity[i], identity[i - 1]) << i;
        if (i < 255) {
            EXPECT_LT(dark[i], identity[i]) << i;
            EXPECT_GT(bright[i], identity[i]) << i;
        }
    }
    EXPECT_EQ(dark[255], 65535);
    EXPECT_EQ(bright[255], 65535);

    const std::pair<float, float> clamped[] = {{5.0f, 2.0f}, {-1.0f, 0.0f}};
    const float exponents[] = {0.3f, 2.7f};
    for (int k = 0; k < 2; ++k) {
        uint16_t end[256];
        EXPECT_FLOAT_EQ(Display::ComputeGammaRamp(clamped[k].first, ramp), exponents[k]);
        EXPECT_FLOAT_EQ(Display::ComputeGammaRamp(clamped[k].second, end), exponents[k]);
        EXPECT_TRUE(std::equal(ramp, ramp + 256, end)) << clamped[k].first;
    }
}

using Ramp = std::array<std::array<uint16_t, 256>, 3>;

Ramp ScreenRamp(Platform::HWND window)
{
    Ramp ramp{};
    EXPECT_EQ(Platform::GetGammaRamp(window, ramp[0].data(), ramp[1].data(), ramp[2].data()),
              DD_OK);
    return ramp;
}

// In full screen the display owns the screen's ramp: a setting reaches every channel, and
// the ramp the screen had comes back on RestoreGamma and when the display goes. Windowed,
// the screen's ramp is not the program's to change.
TEST(DisplayTest, FullScreenGammaReachesTheScreenAndIsGivenBack)
{
    ::Test::GLTestWindow window;
    ASSERT_NE(window.Get(), nullptr);
    ASSERT_TRUE(Platform::HasGammaControl(window.Get()));
    // A ramp of the screen's own, each channel different, so that a channel given back in
    // the wrong place shows.
    Ramp before;
    for (int i = 0; i < 256; ++i)
        for (int c = 0; c < 3; ++c)
            before[c][i] = static_cast<uint16_t>(i * (100 + 50 * c));
    ASSERT_EQ(Platform::SetGammaRamp(window.Get(), before[0].data(), before[1].data(),
                                     before[2].data()),
              DD_OK);
    ASSERT_EQ(ScreenRamp(window.Get()), before);

    Korvo::DisplayMode desktop;
    {
        Korvo::Display windowed(Korvo::DisplayMode(), window.Get(), false);
        windowed.GetCurrentMode(desktop);
        windowed.SetGamma(2.0f);
        EXPECT_FLOAT_EQ(windowed.GetGamma(), 1.0f);
        EXPECT_EQ(ScreenRamp(window.Get()), before);
    }

    uint16_t bright[256], dark[256];
    Korvo::Display::ComputeGammaRamp(2.0f, bright);
    Korvo::Display::ComputeGammaRamp(0.0f, dark);
    {
        Korvo::Display display(desktop, window.Get(), true);
        display.SetGamma(2.0f);
        EXPECT_FLOAT_EQ(display.GetGamma(), 0.3f);
        const Ramp set = ScreenRamp(window.Get());
        for (int c = 0; c < 3; ++c)
            EXPECT_TRUE(std::equal(bright, bright + 256, set[c].begin())) << "channel " << c;
        display.RestoreGamma();
        EXPECT_EQ(ScreenRamp(window.Get()), before);
        // A second setting keeps the ramp saved first.
        display.SetGamma(0.0f);
        display.SetGamma(0.0f);
        EXPECT_TRUE(std::equal(dark, dark + 256, ScreenRamp(window.Get())[1].begin()));
    }
    EXPECT_EQ(ScreenRamp(window.Get()), before);
}

// Full screen at another size: the screen takes it, the list of modes holds it beside the
// desktop's (each size once without refresh rates), and RestoreMode brings the desktop back
// for good; windowed, RestoreMode leaves the screen alone.
TEST(DisplayTest, FullScreenModeIsListedAndRestored)
{
    ::Test::GLTestWindow window;
    ASSERT_NE(window.Get(), nullptr);
    Korvo::DisplayMode desktop, now;
    Korvo::Display windowed(Korvo::DisplayMode(), window.Get(), false);
    windowed.GetCurrentMode(desktop);
    {
        Korvo::DisplayMode small = desktop;
        small.Width = 800;
        small.Height = 600;
        Korvo::Display display(small, window.Get(), true);
        display.GetCurrentMode(now);
        EXPECT_EQ(now.Width, 800);
        EXPECT_EQ(now.Height, 600);
        windowed.RestoreMode();
        windowed.GetCurrentMode(now);
        EXPECT_EQ(now.Width, 800);

        std::vector<Korvo::DisplayMode> modes;
        display.EnumerateModes(false, modes);
        const auto count = [&modes](int width, int height) {
            return std::count_if(modes.begin(), modes.end(), [&](const Korvo::DisplayMode& m) {
                return m.Width == width && m.Height == height && m.RefreshRate == 0 &&
                       m.BitsPerPixel == 32;
            });
        };
        EXPECT_EQ(count(800, 600), 1);
        EXPECT_EQ(count(desktop.Width, desktop.Height), 1);

        display.RestoreMode();
        display.GetCurrentMode(now);
        EXPECT_EQ(now.Width, desktop.Width);
        EXPECT_EQ(now.Height, desktop.Height);
    }
    windowed.GetCurrentMode(now);
    EXPECT_EQ(now.Width, desktop.Width);
    EXPECT_EQ(now.Height, desktop.Height);
}

// A size the screen has at two refresh rates is listed once without rates, and twice with
// them, each at its own.
TEST(DisplayTest, EachSizeIsListedOnceWithoutRefreshRates)
{
    ::Test::GLTestWindow window;
    ASSERT_NE(window.Get(), nullptr);
    ::Display* x = XOpenDisplay(nullptr);
    ASSERT_NE(x, nullptr);
    Korvo::DisplayMode desktop;
    Korvo::Display display(Korvo::DisplayMode(), window.Get(), false);
    display.GetCurrentMode(desktop);

    // The desktop's size once more, at 75 Hz (the rate is the dot clock over the totals;
    // Xvfb asks for no sync timings).
    char name[] = "korvo-test-75Hz";
    XRRModeInfo info = {};
    info.width = static_cast<unsigned>(desktop.Width);
    info.height = static_cast<unsigned>(desktop.Height);
    info.hTotal = 2000;
    info.vTotal = 1000;
    info.dotClock = 2000ul * 1000ul * 75ul;
    info.name = name;
    info.nameLength = sizeof(name) - 1;
    const RRMode extra = XRRCreateMode(x, DefaultRootWindow(x), &info);
    XSync(x, False);
    ASSERT_NE(extra, static_cast<RRMode>(None));

    std::vector<Korvo::DisplayMode> plain, rated;
    display.EnumerateModes(false, plain);
    display.EnumerateModes(true, rated);
    XRRDestroyMode(x, extra);
    XCloseDisplay(x);

    // The refresh rates listed at the desktop's size.
    const auto desktopRates = [&desktop](const std::vector<Korvo::DisplayMode>& modes) {
        std::vector<int> found;
        for (const Korvo::DisplayMode& m : modes)
            if (m.Width == desktop.Width && m.Height == desktop.Height)
                found.push_back(m.RefreshRate);
        return found;
    };
    EXPECT_EQ(desktopRates(plain), std::vector<int>({0}));
    const std::vector<int> rates = desktopRates(rated);
    ASSERT_EQ(rates.size(), 2u);
    EXPECT_EQ(std::count(rates.begin(), rates.end(), 75), 1);
}

} // namespace
