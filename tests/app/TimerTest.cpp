#include "app/Exception.h"
#include "app/Timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

int32_t g_Now = 0;
int32_t FakeClock() { return g_Now; }
int32_t BrokenClock() { return -1; }

// Advances the fake clock by `ms` and asks the timer.
int32_t After(Utils::Timer& timer, int32_t ms)
{
    g_Now += ms;
    return timer.GetDeltaTime();
}

} // namespace

TEST(Timer, FirstCallOnlyStartsTheMeasurement)
{
    g_Now = 5000;
    Utils::Timer timer(1, FakeClock);
    EXPECT_EQ(After(timer, 3000), 0);
    EXPECT_EQ(After(timer, 40), 40);
    EXPECT_EQ(After(timer, 0), 0);
}

TEST(Timer, AveragesOverTheLastFrames)
{
    g_Now = 0;
    Utils::Timer timer(5, FakeClock);
    EXPECT_EQ(After(timer, 0), 0);
    EXPECT_EQ(After(timer, 10), 10);
    EXPECT_EQ(After(timer, 20), 15);
    EXPECT_EQ(After(timer, 30), 20);
    EXPECT_EQ(After(timer, 40), 25);
    EXPECT_EQ(After(timer, 50), 30);
    EXPECT_EQ(After(timer, 60), 40);  // 10 has dropped out
    EXPECT_EQ(After(timer, 1), 36);   // (30+40+50+60+1)/5, rounded towards zero
}

TEST(Timer, BrokenClockIsRefused)
{
    try {
        Utils::Timer timer(1, BrokenClock);
        FAIL() << "a timer without a clock was built";
    } catch (const Sys::Exception& e) {
        EXPECT_EQ(e.GetMessageText(), "Failed to obtain current clock.");
    }
}

TEST(Timer, DefaultClockIsWallTime)
{
    // Sleeping uses no CPU time; a CPU-time clock would report next to nothing.
    Utils::Timer timer(1);
    timer.GetDeltaTime();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const int32_t delta = timer.GetDeltaTime();
    EXPECT_GE(delta, 55);
    EXPECT_LT(delta, 5000);
}
