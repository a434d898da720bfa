#include "app/Log.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using TestFiles::ReadLog;

// What the log gained while `write` ran.
template <class Write>
std::string Added(Write write)
{
    const std::string before = ReadLog();
    write();
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

TEST(Log, EntriesAreWrappedByKindAndLongTextsCutAtTheBuffer)
{
    using L = Sys::Log;
    EXPECT_EQ(Added([] { L::Message(L::Error, "x"); }), "\n---\nERROR:\n\nx\n---\n");
    EXPECT_EQ(Added([] { L::Message(L::Warning, "Found memory leaks!"); }),
              "WARNING: Found memory leaks!");
    EXPECT_EQ(Added([] {
                  L::Message(L::Developer, "%d%%", 5);
                  L::Message(static_cast<L::MessageKind>(3), "unknown kind");
              }),
              "DEVELOPER: 5%");
    EXPECT_EQ(Added([] {
                  L::Print("50% plain ");
                  L::PrintFormat("%s=%d\n", "n", 7);
              }),
              "50% plain n=7\n");

    const std::string big(6000, 'q');
    EXPECT_EQ(Added([&] { L::PrintFormat("%s", big.c_str()); }), std::string(4095, 'q'));
    EXPECT_EQ(Added([&] { L::Message(L::Warning, "%s", big.c_str()); }),
              "WARNING: " + std::string(4095, 'q'));
    EXPECT_EQ(Added([&] { L::Print(big.c_str()); }), big);  // Print has no buffer
}

// Nothing reopens the log; later writes are dropped.
TEST(Log, CloseWritesTheLastLineForGood)
{
    EXPECT_EQ(Added([] {
                  Sys::Log::Close();
                  EXPECT_FALSE(Sys::Log::IsOpen());
                  Sys::Log late;
                  Sys::Log::Print("late");
                  Sys::Log::Message(Sys::Log::Error, "late");
                  Sys::Log::Close();
              }),
              "\n\n--- Log closed ---");
    EXPECT_FALSE(Sys::Log::IsOpen());
}
