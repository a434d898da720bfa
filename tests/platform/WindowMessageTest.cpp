// Window classes, the message queue and key translation, driven by a real X client.

#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace Platform;

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
};
std::vector<Seen> g_Seen;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    g_Seen.push_back({message, wParam});
    if (message == WM_DESTROY) {
        PostQuitMessage(7);
        return 0;
    }
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

// Runs the queue until `count` key messages were dispatched, WM_QUIT arrives, or 3 s pass.
bool Pump(size_t count, MSG* quit = nullptr)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                if (quit != nullptr)
                    *quit = msg;
                return true;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            size_t keys = 0;
            for (const Seen& seen : g_Seen)
                keys += seen.message >= WM_KEYDOWN && seen.message <= WM_SYSKEYUP;
            if (quit == nullptr && keys >= count)
                return true;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }
    return false;
}

std::vector<Seen> KeyMessages()
{
    std::vector<Seen> keys;
    for (const Seen& seen : g_Seen)
        if (seen.message >= WM_KEYDOWN && seen.message <= WM_SYSKEYUP)
            keys.push_back(seen);
    return keys;
}

class WindowMessageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_Seen.clear();
        WNDCLASSA windowClass;
        windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.hCursor = ClassCursor::Arrow;
        windowClass.hbrBackground = ClassBrush::Black;
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

TEST_F(WindowMessageTest, ClassesAreRegisteredOnceAndOutliveTheirWindows)
{
    WNDCLASSA again;
    again.lpfnWndProc = RecordingProc;
    again.lpszClassName = "Korvo Message Test";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    EXPECT_FALSE(UnregisterClassA("Korvo Message Test", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_CLASS_HAS_WINDOWS);
    EXPECT_EQ(CreateWindowExA(0, "No Such Class", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
}

TEST_F(WindowMessageTest, KeysArriveWithWindowsCodesAndReleasesAsKeyUp)
{
    SendKeys(window, "a Escape space 7 F1 Left Return");
    ASSERT_TRUE(Pump(14));
    const std::vector<Seen> keys = KeyMessages();
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, 0x41}, {WM_KEYUP, 0x41}, {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE},
        {WM_KEYDOWN, VK_SPACE}, {WM_KEYUP, VK_SPACE}, {WM_KEYDOWN, 0x37}, {WM_KEYUP, 0x37},
        {WM_KEYDOWN, VK_F1}, {WM_KEYUP, VK_F1}, {WM_KEYDOWN, VK_LEFT}, {WM_KEYUP, VK_LEFT},
        {WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}};
    ASSERT_EQ(keys.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(keys[i].message, expected[i].first) << i;
        EXPECT_EQ(keys[i].wParam, expected[i].second) << i;
    }
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(WindowMessageTest, AltF4ClosesThroughTheDefaultProcedureAndQuits)
{
    SendKeys(window, "alt+F4");
    MSG quit;
    ASSERT_TRUE(Pump(0, &quit));
    EXPECT_EQ(quit.wParam, 7u);
    EXPECT_FALSE(IsWindow(window));
    bool sawClose = false, sawDestroy = false;
    for (const Seen& seen : g_Seen) {
        sawClose = sawClose || seen.message == WM_CLOSE;
        sawDestroy = sawDestroy || (sawClose && seen.message == WM_DESTROY);
    }
    EXPECT_TRUE(sawClose);
    EXPECT_TRUE(sawDestroy);
    // Alt+F4 is a system key: F4 itself never shows up as a plain key press.
    for (const Seen& seen : KeyMessages())
        EXPECT_FALSE(seen.message == WM_KEYDOWN && seen.wParam == VK_F4);
}

TEST_F(WindowMessageTest, WindowDestroyedFromOutsideIsReportedAndForgotten)
{
    const std::string command =
        "xdotool windowclose " + std::to_string(GetNativeWindowId(window)) + " 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    MSG quit;
    ASSERT_TRUE(Pump(0, &quit));
    EXPECT_EQ(quit.wParam, 7u);
    EXPECT_FALSE(IsWindow(window));
    ASSERT_FALSE(g_Seen.empty());
    EXPECT_EQ(g_Seen.back().message, WM_DESTROY);
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
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
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

TEST_F(WindowMessageTest, WindowGeometryAndStyleFollowTheCalls)
{
    EXPECT_TRUE(SetWindowPos(window, HWND_TOP, 10, 20, 200, 100, SWP_SHOWWINDOW));
    RECT rect;
    ASSERT_TRUE(GetClientRect(window, &rect));
    EXPECT_EQ(rect.right, 200);
    EXPECT_EQ(rect.bottom, 100);
    const DWORD caption = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(static_cast<DWORD>(SetWindowLongA(window, GWL_STYLE, static_cast<long>(caption))),
              WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), caption);
    EXPECT_EQ(GetDC(nullptr), nullptr);
}

TEST(MessageBoxTest, DialogShowsTitleAndClosesOnReturn)
{
    // With a display and no redirection the box is a real, modal X window.
    const char* redirect = std::getenv("KORVO_MESSAGEBOX");
    const std::string saved = redirect != nullptr ? redirect : "";
    unsetenv("KORVO_MESSAGEBOX");
    // The user presses Return until the box has gone (the first press may come before
    // the box listens for keys).
    std::atomic<bool> closed(false);
    std::thread user([&closed] {
        for (int attempt = 0; attempt < 100 && !closed; ++attempt) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::system("xdotool search --name 'Korvo Box Test' key --window %@ Return "
                        ">/dev/null 2>&1");
        }
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(MessageBoxA(nullptr, "First line\nSecond line", "Korvo Box Test", MB_ICONERROR), 1);
    closed = true;
    user.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    if (!saved.empty())
        setenv("KORVO_MESSAGEBOX", saved.c_str(), 1);
}

} // namespace
