#include "game/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

// Parses the arguments after the program's name into `line`.
CommandLine::Outcome Parse(CommandLine& line, std::vector<const char*> arguments)
{
    arguments.insert(arguments.begin(), "korvo");
    return line.Parse(static_cast<int>(arguments.size()), arguments.data());
}

// The error of arguments that must be refused.
std::string Refusal(std::vector<const char*> arguments)
{
    CommandLine line;
    if (Parse(line, std::move(arguments)) != CommandLine::Wrong)
        return "accepted";
    return line.Error;
}

} // namespace

TEST(CommandLine, TakesTheFolderAndTheSettingsInOrder)
{
    CommandLine none;
    EXPECT_EQ(Parse(none, {}), CommandLine::Run);
    EXPECT_TRUE(none.Dir.empty());
    EXPECT_TRUE(none.Settings.empty());

    CommandLine line;
    ASSERT_EQ(Parse(line, {"--set", "r_Screen_Width=800", "--dir", "run one", "--set",
                           "demo_Name=a=b", "--set", "r_Empty="}),
              CommandLine::Run);
    EXPECT_EQ(line.Dir, "run one");
    ASSERT_EQ(line.Settings.size(), 3u);
    EXPECT_EQ(line.Settings[0].Name, "r_Screen_Width");
    EXPECT_EQ(line.Settings[0].Value, "800");
    // The name ends at the first '='; the value may hold more of them, or be empty.
    EXPECT_EQ(line.Settings[1].Name, "demo_Name");
    EXPECT_EQ(line.Settings[1].Value, "a=b");
    EXPECT_EQ(line.Settings[2].Name, "r_Empty");
    EXPECT_EQ(line.Settings[2].Value, "");

    // The last folder given wins.
    CommandLine twice;
    EXPECT_EQ(Parse(twice, {"--dir", "a", "--dir", "b"}), CommandLine::Run);
    EXPECT_EQ(twice.Dir, "b");

    // This test program itself was started without arguments.
    EXPECT_TRUE(CommandLine::Current().Dir.empty());
    EXPECT_TRUE(CommandLine::Current().Settings.empty());
}

TEST(CommandLine, HelpBeatsVersionButNotAWrongArgument)
{
    CommandLine help, version, both, reversed;
    EXPECT_EQ(Parse(help, {"--help"}), CommandLine::Help);
    EXPECT_EQ(Parse(version, {"--version"}), CommandLine::Version);
    EXPECT_EQ(Parse(both, {"--help", "--version"}), CommandLine::Help);
    EXPECT_EQ(Parse(reversed, {"--version", "--dir", "x", "--help"}), CommandLine::Help);
    // Every argument is checked before any of them is acted on.
    EXPECT_EQ(Refusal({"--help", "--hlep"}), "unknown argument \"--hlep\"");
    EXPECT_EQ(Refusal({"--version", "--set"}), "--set needs a value");
}

TEST(CommandLine, RefusesWhatItCannotRead)
{
    EXPECT_EQ(Refusal({"--dir"}), "--dir needs a value");
    EXPECT_EQ(Refusal({"--dir", ""}), "--dir needs a folder");
    EXPECT_EQ(Refusal({"--set"}), "--set needs a value");
    EXPECT_EQ(Refusal({"--set", "r_Screen_Width"}),
              "--set takes name=value, not \"r_Screen_Width\"");
    EXPECT_EQ(Refusal({"--set", "=800"}), "--set takes name=value, not \"=800\"");
    EXPECT_EQ(Refusal({"--set", ""}), "--set takes name=value, not \"\"");
    // An option as the value of another is taken as that value, and judged as one.
    EXPECT_EQ(Refusal({"--set", "--help"}), "--set takes name=value, not \"--help\"");
    // Options are whole words: no short forms, no joined values, no stray words.
    EXPECT_EQ(Refusal({"-h"}), "unknown argument \"-h\"");
    EXPECT_EQ(Refusal({"--dir=x"}), "unknown argument \"--dir=x\"");
    EXPECT_EQ(Refusal({"--dir", "x", "zori"}), "unknown argument \"zori\"");
    EXPECT_EQ(Refusal({""}), "unknown argument \"\"");
}
