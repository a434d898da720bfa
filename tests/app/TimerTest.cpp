#include "app/Exception.h"
#include "app/Timer.h"
#include "tests/support/ErrorOf.h"

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

TEST(Timer, AveragesOverTheLastFramesAfterAFirstCallThatOnlyStarts)
{
    g_Now = 5000;
    Utils::Timer single(1, FakeClock);
    EXPECT_EQ(After(single, 3000), 0);
    EXPECT_EQ(After(single, 40), 40);
    EXPECT_EQ(After(single, 0), 0);

    Utils::Timer timer(5, FakeClock);
    EXPECT_EQ(After(timer, 0), 0);
    const int32_t steps[][2] = {{10, 10}, {20, 15}, {30, 20}, {40, 25}, {50, 30},
                                {60, 40},   // 10 has dropped out
                                {1, 36}};   // (30+40+50+60+1)/5, rounded towards zero
    for (const auto& step : steps)
        EXPECT_EQ(After(timer, step[0]), step[1]) << step[0];
    EXPECT_EQ(ErrorOf([] { Utils::Timer(1, BrokenClock); }), "Failed to obtain current clock.");
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
