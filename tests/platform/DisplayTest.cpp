// The display on XRandR: the gamma formula, the current mode, full-screen gamma that is
// given back, and the texts of its failures.

#include "app/CriticalException.h"
#include "gl/Display.h"
#include "platform/DirectDrawErrors.h"
#include "tests/support/GLTestContext.h"

#include <cmath>

using namespace Platform;

namespace {

TEST(DisplayGammaTest, RampFollowsTheExponentAndClampsTheSetting)
{
    uint16_t ramp[256];
    EXPECT_FLOAT_EQ(Korvo::Display::ComputeGammaRamp(1.0f, ramp), 1.0f);
    EXPECT_EQ(ramp[0], 256);
    EXPECT_EQ(ramp[127], 32768);
    EXPECT_EQ(ramp[255], 65535);

    // Beyond the range the setting is clamped: 5 acts as 2, -1 as 0.
    uint16_t two[256], zero[256];
    EXPECT_NEAR(Korvo::Display::ComputeGammaRamp(5.0f, ramp), 0.3f, 1e-6);
    Korvo::Display::ComputeGammaRamp(2.0f, two);
    EXPECT_TRUE(std::equal(ramp, ramp + 256, two));
    EXPECT_NEAR(Korvo::Display::ComputeGammaRamp(-1.0f, ramp), 2.7f, 1e-6);
    Korvo::Display::ComputeGammaRamp(0.0f, zero);
    EXPECT_TRUE(std::equal(ramp, ramp + 256, zero));

    for (int i : {0, 1, 63, 200, 255}) {
        const double x = (i + 1) / 256.0;
        EXPECT_NEAR(two[i], std::floor(std::pow(x, 0.3) * 65535.0 + 0.5), 1.0) << i;
        EXPECT_NEAR(zero[i], std::floor(std::pow(x, 2.7) * 65535.0 + 0.5), 1.0) << i;
    }
    EXPECT_EQ(zero[0], 0);
    EXPECT_EQ(two[255], 65535);
    // Between 0 and 1 the exponent runs from 2.7 down to 1.
    EXPECT_NEAR(Korvo::Display::ComputeGammaRamp(0.5f, ramp), 1.85f, 1e-6);
    EXPECT_NEAR(Korvo::Display::ComputeGammaRamp(1.5f, ramp), 0.65f, 1e-6);
}

TEST(DisplayTest, WindowedReadsTheModeAndLeavesGammaAlone)
{
    ::Test::GLTestWindow window;
    ASSERT_NE(window.Get(), nullptr);
    uint16_t before[3][256];
    ASSERT_EQ(GetGammaRamp(window.Get(), before[0], before[1], before[2]), DD_OK);

    Korvo::Display display(Korvo::DisplayMode(), window.Get(), false);
    Korvo::DisplayMode mode;
    display.GetCurrentMode(mode);
    EXPECT_EQ(mode.Width, 1280);
    EXPECT_EQ(mode.Height, 1024);
    EXPECT_EQ(mode.BitsPerPixel, 32);
    display.SetGamma(2.0f);
    EXPECT_FLOAT_EQ(display.GetGamma(), 1.0f);
    display.RestoreMode();
    EXPECT_FALSE(display.IsVSync());
    EXPECT_NO_THROW(display.SetVSync(true));

    std::vector<Korvo::DisplayMode> modes(3);
    display.EnumerateModes(false, modes);
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes[0].RefreshRate, 0);

    uint16_t after[3][256];
    ASSERT_EQ(GetGammaRamp(window.Get(), after[0], after[1], after[2]), DD_OK);
    EXPECT_TRUE(std::equal(&before[0][0], &before[0][0] + 3 * 256, &after[0][0]));
}

TEST(DisplayTest, FullScreenAppliesGammaAndGivesTheSavedRampBack)
{
    ::Test::GLTestWindow window;
    ASSERT_NE(window.Get(), nullptr);
    uint16_t original[256];
    for (int i = 0; i < 256; ++i)
        original[i] = static_cast<uint16_t>(i * 257);
    ASSERT_EQ(SetGammaRamp(window.Get(), original, original, original), DD_OK);

    Korvo::DisplayMode mode;
    mode.Width = 1280;
    mode.Height = 1024;
    mode.BitsPerPixel = 32;
    {
        Korvo::Display display(mode, window.Get(), true);
        display.SetGamma(2.0f);
        EXPECT_NEAR(display.GetGamma(), 0.3f, 1e-6);
        uint16_t expected[256], now[3][256];
        Korvo::Display::ComputeGammaRamp(2.0f, expected);
        ASSERT_EQ(GetGammaRamp(window.Get(), now[0], now[1], now[2]), DD_OK);
        for (int i : {0, 100, 255})
            EXPECT_EQ(now[2][i], expected[i]) << i;
        display.SetGamma(0.0f);
        display.RestoreGamma();
        ASSERT_EQ(GetGammaRamp(window.Get(), now[0], now[1], now[2]), DD_OK);
        EXPECT_EQ(now[0][128], original[128]);
        display.SetGamma(1.5f);
    }
    uint16_t back[3][256];
    ASSERT_EQ(GetGammaRamp(window.Get(), back[0], back[1], back[2]), DD_OK);
    EXPECT_TRUE(std::equal(original, original + 256, back[1]));

    // A missing size could be created; a colour depth the X screen does not have cannot.
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
TEST(DisplayGammaTest, NearestLargerModeIsTheSmallestThatHoldsTheSize)
{
    DisplayModeInfo modes[5];
    const int sizes[5][2] = {{1280, 1024}, {800, 600}, {1024, 768}, {640, 400}, {720, 480}};
    for (int i = 0; i < 5; ++i) {
        modes[i].width = sizes[i][0];
        modes[i].height = sizes[i][1];
    }
    EXPECT_EQ(FindNearestLargerMode(modes, 5, 640, 480), 4);
    EXPECT_EQ(FindNearestLargerMode(modes, 5, 800, 480), 1);
    EXPECT_EQ(FindNearestLargerMode(modes, 5, 1024, 700), 2);
    EXPECT_EQ(FindNearestLargerMode(modes, 5, 1281, 480), -1);
    EXPECT_EQ(FindNearestLargerMode(modes, 0, 640, 480), -1);
}

} // namespace
