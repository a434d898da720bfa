// The message queue, key translation and message boxes, driven by a real X client.

#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace Platform;

namespace {

// The key messages the window procedure was given.
std::vector<std::pair<UINT, WPARAM>> g_Keys;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_KEYDOWN && message <= WM_SYSKEYUP)
        g_Keys.emplace_back(message, wParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

// Sends keys to the window the way a user's X client would.
void SendKeys(HWND window, const char* keys)
{
    char command[256];
    std::snprintf(command, sizeof(command), "xdotool key --window %lu %s",
                  GetNativeWindowId(window), keys);
    ASSERT_EQ(std::system(command), 0) << command;
}

// Runs the queue until `count` key messages were dispatched or 3 s pass.
bool Pump(size_t count)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < end && g_Keys.size() < count) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return g_Keys.size() >= count;
}

class WindowMessageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Keys.clear();
        WNDCLASSA windowClass;
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.lpszClassName = "Korvo Message Test";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        window = CreateWindowExA(0, "Korvo Message Test", "test", WS_POPUP | WS_VISIBLE, 0, 0,
                                 320, 240, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }

    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        EXPECT_TRUE(UnregisterClassA("Korvo Message Test", nullptr));
    }

    HWND window = nullptr;
};

TEST_F(WindowMessageTest, KeysArriveWithWindowsCodesAndReleasesAsKeyUp)
{
    SendKeys(window, "a Escape space 7 F1 Left Return");
    ASSERT_TRUE(Pump(14));
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, 0x41}, {WM_KEYUP, 0x41}, {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE},
        {WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}, {WM_KEYDOWN, 0x37}, {WM_KEYUP, 0x37},
        {WM_KEYDOWN, VK_F1}, {WM_KEYUP, VK_F1}, {WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT},
        {WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}};
    EXPECT_EQ(g_Keys, expected);
}

TEST_F(WindowMessageTest, QueueNeverBlocksAndQuitComesAfterPendingMessages)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));

    PostQuitMessage(3);
    PostMessageA(window, WM_KEYDOWN, 0x43, 0);
    for (UINT removal : {PM_NOREMOVE, PM_REMOVE}) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, removal));
        EXPECT_EQ(msg.message, WM_KEYDOWN);
    }
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowMessageTest, CursorCountGoesBelowZeroAndBack)
{
    EXPECT_EQ(ShowCursor(FALSE_), -1);
    EXPECT_EQ(ShowCursor(FALSE_), -2);
    EXPECT_EQ(ShowCursor(TRUE_), -1);
    EXPECT_EQ(ShowCursor(TRUE_), 0);
}

// What the user sees of a message box: where it is, and how many of its pixels are the
// stop sign's red and the title bar's navy.
struct BoxView {
    unsigned long id = 0;
    int x = 0, y = 0, width = 0, height = 0;
    int red = 0, navy = 0;
};

bool LookAtBox(Display* display, const char* title, BoxView* view)
{
    ::Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, root, &root, &parent, &children, &count) == 0)
        return false;
    for (unsigned i = 0; i < count && view->id == 0; ++i) {
        char* name = nullptr;
        if (XFetchName(display, children[i], &name) != 0 && name != nullptr) {
            XWindowAttributes attributes;
            if (std::string(name) == title && XGetWindowAttributes(display, children[i], &attributes)
                && attributes.map_state == IsViewable) {
                view->id = children[i];
                view->width = attributes.width;
                view->height = attributes.height;
            }
            XFree(name);
        }
    }
    if (children != nullptr)
        XFree(children);
    if (view->id == 0)
        return false;
    ::Window child = 0;
    XTranslateCoordinates(display, view->id, root, 0, 0, &view->x, &view->y, &child);
    XImage* image = XGetImage(display, view->id, 0, 0, static_cast<unsigned>(view->width),
                              static_cast<unsigned>(view->height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return false;
    for (int row = 0; row < view->height; ++row)
        for (int column = 0; column < view->width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            const int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
            view->red += r > 150 && g < 60 && b < 60;
            view->navy += r < 40 && g < 40 && b > 100 && b < 160;
        }
    XDestroyImage(image);
    return true;
}

// A message box is a real modal X window without a window manager: centred on its shown
// owner or else on the screen, with the stop sign and a title bar of its own, closed by
// Return, Escape or a click on its button.
TEST_F(WindowMessageTest, MessageBoxIsCentredWithSignAndTitleAndClosesByKeyOrClick)
{
    const char* redirect = std::getenv("KORVO_MESSAGEBOX");
    const std::string saved = redirect != nullptr ? redirect : "";
    unsetenv("KORVO_MESSAGEBOX");
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    ASSERT_TRUE(SetWindowPos(window, HWND_TOP, 200, 300, 320, 240, SWP_SHOWWINDOW));
    // The click moves the pointer; later tests find it where it was (with the focus
    // following the pointer, keys typed early would land elsewhere).
    ::Window root = 0, child = 0;
    int pointerX = 0, pointerY = 0, x = 0, y = 0;
    unsigned buttons = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &pointerX, &pointerY, &x,
                  &y, &buttons);

    for (const char* way : {"Return", "Escape", "click"}) {
        SCOPED_TRACE(way);
        const bool owned = std::string(way) == "Return";
        BoxView view;
        std::atomic<bool> closed(false);
        // The user looks at the box once it shows, then closes it, again until it has gone
        // (the first try may come before the box listens). Keys are typed, not sent to the
        // window: a release sent after the box has gone would fail and leave the key held
        // down on the server for the tests that follow.
        std::thread user([&] {
            for (int attempt = 0; attempt < 200 && !closed; ++attempt) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                if (view.id == 0 && !LookAtBox(display, "Korvo Box Test", &view))
                    continue;
                const std::string id = std::to_string(view.id);
                const std::string command =
                    std::string(way) == "click"
                        ? "xdotool mousemove --window " + id + " " + std::to_string(view.width / 2)
                              + " " + std::to_string(view.height - 16 - 13) + " click 1"
                        : "xdotool windowfocus " + id + " key " + way;
                std::system((command + " >/dev/null 2>&1").c_str());
            }
        });
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(MessageBoxA(owned ? window : nullptr, "First line\nSecond line",
                              "Korvo Box Test", MB_ICONERROR),
                  1);
        closed = true;
        user.join();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(8));
        ASSERT_NE(view.id, 0u) << "the box never showed";
        const int centreX = owned ? 200 + 160 : DisplayWidth(display, DefaultScreen(display)) / 2;
        const int centreY = owned ? 300 + 120 : DisplayHeight(display, DefaultScreen(display)) / 2;
        EXPECT_NEAR(view.x + view.width / 2, centreX, 1);
        EXPECT_NEAR(view.y + view.height / 2, centreY, 1);
        EXPECT_GT(view.red, 300) << "no stop sign";
        EXPECT_GT(view.navy, 1000) << "no title bar";
    }
    XWarpPointer(display, 0, DefaultRootWindow(display), 0, 0, 0, 0, pointerX, pointerY);
    XCloseDisplay(display);
    if (!saved.empty())
        setenv("KORVO_MESSAGEBOX", saved.c_str(), 1);
}

} // namespace
