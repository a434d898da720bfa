// The display on XRandR: the current mode and the text of a refused mode (the program tests
// switch to full screen and back).

#include "app/CriticalException.h"
#include "gl/Display.h"
#include "platform/DirectDrawErrors.h"
#include "tests/support/GLTestContext.h"

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

} // namespace
