#include "app/Log.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TestFiles::ReadLog;

// What the log gained since `before`.
std::string Added(const std::string& before)
{
    const std::string now = ReadLog();
    EXPECT_EQ(now.compare(0, before.size(), before), 0);
    return now.substr(before.size());
}

} // namespace

// The tests run in order: the log opens with the first Log and closes in the last test.
TEST(Log, FirstConstructionOpensWithTheBanner)
{
    EXPECT_FALSE(Sys::Log::IsOpen());
    std::vector<Sys::Log> many(50);
    EXPECT_TRUE(Sys::Log::IsOpen());
    // The banner waits in the stream buffer until the first entry flushes it.
    Sys::Log::Print("");
    const std::string text = ReadLog();
    const std::string opened = "----- Log opened -----\n\nLocal time: ";
    ASSERT_EQ(text.compare(0, opened.size(), opened), 0) << text;
    EXPECT_TRUE(TestFiles::StartsWithCtime(text.substr(opened.size()))) << text;
    const std::string rest = text.substr(opened.size() + 25);
    const std::string welcome = "\nWelcome to Korvo Demo 2007.\n";
    ASSERT_EQ(rest.compare(0, welcome.size(), welcome), 0) << text;
    // Then the program's version.
    EXPECT_EQ(rest.substr(welcome.size()), "Korvo " KORVO_VERSION "\n") << text;
    many.clear();
    Sys::Log another;
    EXPECT_EQ(ReadLog(), text);
}

TEST(Log, EntriesAreWrappedByKind)
{
    std::string before = ReadLog();
    Sys::Log::Message(Sys::Log::Error, "x");
    EXPECT_EQ(Added(before), "\n---\nERROR:\n\nx\n---\n");

    before = ReadLog();
    Sys::Log::Message(Sys::Log::Warning, "Found memory leaks!");
    EXPECT_EQ(Added(before), "WARNING: Found memory leaks!");

    before = ReadLog();
    Sys::Log::Message(Sys::Log::Developer, "%d%%", 5);
    Sys::Log::Message(static_cast<Sys::Log::MessageKind>(3), "unknown kind");
    EXPECT_EQ(Added(before), "DEVELOPER: 5%");

    before = ReadLog();
    Sys::Log::Print("50% plain ");
    Sys::Log::PrintFormat("%s=%d\n", "n", 7);
    EXPECT_EQ(Added(before), "50% plain n=7\n");
}

TEST(Log, LongTextsAreCutAtTheBuffer)
{
    const std::string big(6000, 'q');
    std::string before = ReadLog();
    Sys::Log::PrintFormat("%s", big.c_str());
    EXPECT_EQ(Added(before), std::string(4095, 'q'));

    before = ReadLog();
    Sys::Log::Message(Sys::Log::Warning, "%s", big.c_str());
    EXPECT_EQ(Added(before), "WARNING: " + std::string(4095, 'q'));

    // Print has no buffer: its text goes out whole.
    before = ReadLog();
    Sys::Log::Print(big.c_str());
    EXPECT_EQ(Added(before), big);
}

TEST(Log, CloseWritesTheLastLineForGood)
{
    const std::string before = ReadLog();
    Sys::Log::Close();
    EXPECT_FALSE(Sys::Log::IsOpen());
    EXPECT_EQ(Added(before), "\n\n--- Log closed ---");

    // Nothing reopens it; later writes are dropped.
    Sys::Log late;
    Sys::Log::Print("late");
    Sys::Log::Message(Sys::Log::Error, "late");
    Sys::Log::Close();
    EXPECT_FALSE(Sys::Log::IsOpen());
    EXPECT_EQ(Added(before), "\n\n--- Log closed ---");
}
