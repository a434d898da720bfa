#pragma once

// The program's entry point, main window and loop.

#include "app/Ptr.h"
#include "game/IDemo.h"
#include "platform/Platform.h"

extern Platform::HWND g_MainWindow;
extern Sys::Ptr<Game::IDemo> g_Demo;

int WinMain(Platform::HINSTANCE instance, Platform::HINSTANCE previousInstance, char* commandLine,
            int showCommand);
Platform::LRESULT MainWndProc(Platform::HWND window, Platform::UINT message,
                              Platform::WPARAM wParam, Platform::LPARAM lParam);
void HandleKeyDown(Platform::WPARAM key);
void StartUp();
void ShutDown();
// Signal handling and the exit-time guard; the exit status after the shutdown.
void InstallEndHandlers();
int EndStatus(int status);

// Builds the scene chosen by demoId (the configuration's demo_ID) for the main window;
// null when this build has no scenes. Defined next to the scene classes it names.
Game::IDemo* CreateDemo(Platform::HWND window, int demoId);
