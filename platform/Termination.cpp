// Ends asked for by signals. The handler runs between any two instructions of the
// program, so it only records which signal came; the message queue turns that into
// WM_CLOSE for every window (Window.cpp), and the program shuts down from its own loop.

#include "platform/Platform.h"

#include <csignal>
#include <initializer_list>

namespace Platform {

namespace {

volatile std::sig_atomic_t g_TerminationSignal = 0;

void OnTerminationSignal(int number)
{
    if (g_TerminationSignal == 0)
        g_TerminationSignal = number;
}

} // namespace

void InstallTerminationHandlers()
{
    struct sigaction action = {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    // One delivery each: a second Ctrl+C ends a program that hangs in its shutdown.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (int number : {SIGINT, SIGTERM, SIGHUP})
        sigaction(number, &action, nullptr);
}

int GetTerminationSignal()
{
    return g_TerminationSignal;
}

} // namespace Platform
