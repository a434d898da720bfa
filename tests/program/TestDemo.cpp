// The scene of the test program: it writes every key it receives to "keys.txt" and fails
// on request, so the tests can watch the main loop from outside.
//   F: Sys::FatalException   C: Sys::CriticalException   E: Sys::Exception
//   S: std::runtime_error    T: Sys::FatalException from the next frame
//   M: posts three 'Z' key messages; M and each Z write the frame count as "M <n>" or
//      "Z <n>", so a frame run between queued messages shows up as a different count

#include "app/CriticalException.h"
#include "app/FatalException.h"
#include "game/Main.h"

#include <cstdio>
#include <stdexcept>

namespace {

class RecordingDemo : public Game::IDemo {
public:
    RecordingDemo() : keys(std::fopen("keys.txt", "w")) {}
    ~RecordingDemo() override
    {
        if (keys != nullptr) {
            std::fprintf(keys, "destroyed after %s frames\n", frames > 0 ? "some" : "no");
            std::fclose(keys);
        }
    }

    void OnKeyDown(uint32_t key) override
    {
        if (keys != nullptr) {
            std::fprintf(keys, "%u\n", key);
            std::fflush(keys);
        }
        switch (key) {
        case 'F': throw Sys::FatalException("Test scene: fatal failure.");
        case 'C': throw Sys::CriticalException("Test scene: critical failure.");
        case 'E': throw Sys::Exception("Test scene: failure.");
        case 'S': throw std::runtime_error("Test scene: standard failure.");
        case 'T': failInFrame = true; break;
        case 'M':
            for (int i = 0; i < 3; ++i)
                Platform::PostMessageA(g_MainWindow, Platform::WM_KEYDOWN, 'Z', 0);
            [[fallthrough]];
        case 'Z':
            if (keys != nullptr) {
                std::fprintf(keys, "%c %ld\n", static_cast<char>(key), frames);
                std::fflush(keys);
            }
            break;
        default: break;
        }
    }

    void OnFrame() override
    {
        ++frames;
        if (failInFrame)
            throw Sys::FatalException("Test scene: fatal failure in a frame.");
    }

private:
    std::FILE* keys;
    long frames = 0;
    bool failInFrame = false;
};

} // namespace

Game::IDemo* CreateDemo(Platform::HWND, int)
{
    return new RecordingDemo();
}
