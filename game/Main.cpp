#include "game/Main.h"

#include "app/CriticalException.h"
#include "app/FatalException.h"
#include "app/InitOrder.h"
#include "app/RefStatistic.h"
#include "config/CVars.h"
#include "config/ConfigSystem.h"
#include "game/CommandLine.h"
#include "game/CommandProcessor.h"
#include "game/MemoryManager.h"
#include "media/ShaderLoader.h"

#include <csignal>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

using namespace Platform;

// The first Sys::Log of the process: building it opens the log file and writes the
// banner, before the configuration variables register themselves.
Sys::Ptr<Game::IDemo> g_Demo KORVO_INIT_ORDER(KORVO_INIT_LOG);

HWND g_MainWindow = nullptr;

namespace {

const char* const WindowClassName = "Korvo";

ConfigSystem* g_ConfigSystem = nullptr;
CommandProcessor* g_CommandProcessor = nullptr;
bool g_ShutDown = false;

// A failure of its own while shutting down (the configuration file cannot be written)
// must not cut the shutdown short: it is reported once the log has been closed.
std::string SaveConfiguration()
{
    try {
        g_ConfigSystem->Save();
    } catch (const Sys::Exception& e) {
        return e.GetMessageText();
    } catch (const std::exception& e) {
        return e.what();
    }
    return std::string();
}

} // namespace

// Every end goes through ShutDown: signals become a close request of the window (the
// platform layer posts WM_CLOSE), a window destroyed from outside or a lost display
// connection arrives as WM_DESTROY, and whatever calls exit() on its own still finds
// the shutdown run before the process-wide objects are destroyed.
void InstallEndHandlers()
{
    Platform::InstallTerminationHandlers();
    std::atexit(ShutDown);
}

// The exit status once the shutdown has run: a signal that asked for the end ends the
// process the way it would have without a handler (128 + its number for the shell), a
// lost display connection is a failure, otherwise the status the loop ended with.
int EndStatus(int status)
{
    if (const int signal = Platform::GetTerminationSignal()) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
    }
    return Platform::IsDisplayConnectionLost() ? 1 : status;
}

void ShutDown()
{
    if (g_ShutDown)
        return;
    g_ShutDown = true;

    g_ShaderLoader.ReleaseAll();
    g_Demo.ReleaseAll();
    while (ShowCursor(TRUE_) < 0) {
    }
    // Before start-up took the registry nothing was loaded, and an existing file must
    // not be replaced by defaults.
    const std::string saveError = g_ConfigSystem != nullptr ? SaveConfiguration() : std::string();
    Sys::RefStatistic::Report();
    Sys::Log::Close();
    SetPriorityClass(NORMAL_PRIORITY_CLASS);
    if (!saveError.empty())
        MessageBoxA(g_MainWindow, saveError.c_str(), "Exception", MB_ICONERROR);
}

void HandleKeyDown(WPARAM key)
{
    if (key == VK_ESCAPE) {
        ShutDown();
        DestroyWindow(g_MainWindow);
    }
    if (!g_Demo.IsEmpty())
        g_Demo->OnKeyDown(static_cast<uint32_t>(key));
}

LRESULT MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_KEYDOWN:
        HandleKeyDown(wParam);
        return 0;
    case WM_KEYUP:
        return 0;
    case WM_CLOSE:
        ShutDown();
        DestroyWindow(g_MainWindow);
        return 0;
    case WM_DESTROY:
        // Destroyed from outside, or its display connection lost: no close request came.
        ShutDown();
        PostQuitMessage(0);
        return 0;
    case WM_ACTIVATE:
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void StartUp()
{
    SetPriorityClass(HIGH_PRIORITY_CLASS);
    g_ConfigSystem = &ConfigSystem::Instance();
    g_CommandProcessor = &CommandProcessor::Instance();
    static MemoryManager memoryManager;
    g_ConfigSystem->Load();
    CommandLine::ApplySettings();
    if (Game::IDemo* demo = CreateDemo(g_MainWindow, demo_ID.value))
        g_Demo = Sys::Ptr<Game::IDemo>(demo);
}

int WinMain(HINSTANCE instance, HINSTANCE, char*, int)
{
    MSG msg;
    InstallEndHandlers();
    try {
        WNDCLASSA windowClass;
        windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
        windowClass.lpfnWndProc = MainWndProc;
        windowClass.cbClsExtra = 0;
        windowClass.cbWndExtra = 0;
        windowClass.hInstance = instance;
        windowClass.hCursor = ClassCursor::Arrow;
        windowClass.hbrBackground = ClassBrush::Black;
        windowClass.lpszClassName = WindowClassName;
        if (RegisterClassA(&windowClass) == 0)
            throw std::runtime_error("Failed to register window class.");

        g_MainWindow = CreateWindowExA(0, WindowClassName, "Korvo Demo 2007",
                                       WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                                       nullptr, instance, nullptr);
        if (g_MainWindow == nullptr)
            throw Sys::FatalException("Failed to create main window!");

        StartUp();

        // Waiting messages first; a frame only when none is waiting. Never blocks.
        for (;;) {
            if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                if (msg.message == WM_QUIT)
                    break;
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            } else if (!g_Demo.IsEmpty()) {
                g_Demo->OnFrame();
            }
        }
    } catch (const Sys::FatalException& e) {
        ShutDown();
        MessageBoxA(g_MainWindow, e.GetMessageText().c_str(), "Fatal Exception", MB_ICONERROR);
        msg.wParam = 1;
    } catch (const Sys::CriticalException& e) {
        ShutDown();
        MessageBoxA(g_MainWindow, e.GetMessageText().c_str(), "Critical Exception", MB_ICONERROR);
        msg.wParam = 1;
    } catch (const Sys::Exception& e) {
        ShutDown();
        MessageBoxA(g_MainWindow, e.GetMessageText().c_str(), "Exception", MB_ICONERROR);
        msg.wParam = 1;
    } catch (const std::exception& e) {
        ShutDown();
        MessageBoxA(g_MainWindow, e.what(), "Std Exception", MB_ICONERROR);
        msg.wParam = 1;
    }
    UnregisterClassA(WindowClassName, instance);
    return EndStatus(static_cast<int>(msg.wParam));
}
