#include "io/BinaryFile.h"
#include "io/TextFile.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Reads a whole file the way the program's readers do.
std::vector<std::string> ReadAll(IO::TextFile& file)
{
    std::vector<std::string> lines;
    while (!file.IsEOF())
        lines.push_back(file.ReadString());
    return lines;
}

} // namespace

TEST(TextFile, ReadsLinesUntilTheEnd)
{
    TestFiles::Write("two.txt", "first\nsecond\n");
    IO::TextFile two("two.txt", IO::TextFile::ModeRead);
    EXPECT_EQ(ReadAll(two), (std::vector<std::string>{"first\n", "second\n", ""}));
    EXPECT_EQ(ErrorOf([&] { two.ReadString(); }), "End of file.");

    TestFiles::Write("empty.txt", "");
    IO::TextFile empty("empty.txt", IO::TextFile::ModeRead);
    EXPECT_EQ(empty.ReadString(), "");
    EXPECT_TRUE(empty.IsEOF());
    EXPECT_EQ(ErrorOf([&] { empty.ReadString(); }), "End of file.");

    TestFiles::Write("open.txt", "no break");
    IO::TextFile open("open.txt", IO::TextFile::ModeRead);
    EXPECT_EQ(ReadAll(open), std::vector<std::string>{"no break"});
}

TEST(TextFile, WritesAndTruncatesFormattedText)
{
    {
        IO::TextFile file("out.txt", IO::TextFile::ModeWrite);
        file.WriteString("one\n");
        EXPECT_EQ(file.PrintFormat("%d %s\n", 2, "two"), 6);
        // Output beyond the 4096-character buffer is cut, never overrun.
        EXPECT_EQ(file.PrintFormat("%s", std::string(5000, 'x').c_str()), 4095);
    }
    EXPECT_EQ(TestFiles::Read("out.txt"), "one\n2 two\n" + std::string(4095, 'x'));
}

TEST(TextFile, FailuresRaiseTheirTexts)
{
    EXPECT_EQ(ErrorOf([] { IO::TextFile("missing/x.txt", IO::TextFile::ModeRead); }),
              "Unable to open file \"missing/x.txt\"");
    EXPECT_EQ(ErrorOf([] { IO::TextFile(".", IO::TextFile::ModeRead); }),
              "Unable to open file \".\"");
    IO::TextFile full("/dev/full", IO::TextFile::ModeWrite);
    EXPECT_EQ(ErrorOf([&] { full.WriteString("line\n"); }), "End of file.");
    EXPECT_EQ(ErrorOf([&] { full.PrintFormat("%s\n", "line"); }), "End of file.");
}

TEST(BinaryFile, ReadsSeeksAndMeasures)
{
    std::string bytes(1234, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    TestFiles::Write("data.bin", bytes);

    IO::BinaryFile file("data.bin");
    unsigned char head[10];
    EXPECT_EQ(file.Read(head, sizeof(head)), 10u);
    EXPECT_EQ(head[3], 21);
    EXPECT_EQ(file.GetSize(), 1234);
    EXPECT_EQ(file.Tell(), 10);

    file.Seek(-40, 2);
    EXPECT_EQ(file.Tell(), 1194);
    file.Seek(4, 1);
    EXPECT_EQ(file.Tell(), 1198);
    file.Seek(0, 0);
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_FALSE(file.IsEOF());
}

TEST(BinaryFile, FailuresRaiseTheirTexts)
{
    TestFiles::Write("small.bin", std::string(40, 'z'));
    IO::BinaryFile file("small.bin");
    char buffer[100];
    EXPECT_EQ(ErrorOf([&] { file.Read(buffer, 100); }), "I/O error while read from binary file.");
    EXPECT_TRUE(file.IsEOF());
    EXPECT_EQ(ErrorOf([&] { file.Seek(-1, 0); }), "Error at fseek().");
    EXPECT_EQ(ErrorOf([] { IO::BinaryFile("x.3ds"); }), "Unable to open file \"x.3ds\"");
    EXPECT_EQ(ErrorOf([] { IO::BinaryFile("."); }), "Unable to open file \".\"");
}

TEST(TextFile, AppendsReadsBackAndSplitsLongLines)
{
    TestFiles::Write("log.txt", "kept\n");
    {
        IO::TextFile file("log.txt", IO::TextFile::ModeAppend);
        file.WriteString("added\n");
    }
    EXPECT_EQ(TestFiles::Read("log.txt"), "kept\nadded\n");

    // Read and write: the file starts empty, and what was written reads back after a rewind.
    {
        IO::TextFile file("log.txt", IO::TextFile::ModeReadWrite);
        file.WriteString("new\n");
        file.Flush();
        file.Rewind();
        EXPECT_EQ(file.ReadString(), "new\n");
        EXPECT_EQ(file.GetSize(), 4);
    }
    EXPECT_EQ(TestFiles::Read("log.txt"), "new\n");

    // A line longer than the buffer comes back in pieces of 8191 characters.
    const std::string longLine(IO::TextFile::LineBufferSize + 10, 'a');
    TestFiles::Write("long.txt", longLine + "\nshort\n");
    IO::TextFile file("long.txt", IO::TextFile::ModeRead);
    EXPECT_EQ(file.ReadString(), std::string(IO::TextFile::LineBufferSize - 1, 'a'));
    EXPECT_EQ(file.ReadString(), std::string(11, 'a') + "\n");
    EXPECT_EQ(file.ReadString(), "short\n");
    // A rewind clears the end of the file: everything reads again.
    EXPECT_EQ(file.ReadString(), "");
    EXPECT_TRUE(file.IsEOF());
    file.Rewind();
    EXPECT_FALSE(file.IsEOF());
    EXPECT_EQ(file.ReadString().size(), static_cast<size_t>(IO::TextFile::LineBufferSize - 1));
}

TEST(TextFile, FullDiskShowsAtTheFlush)
{
    // Text without a line break waits in the buffer; the flush is where it fails.
    IO::TextFile full("/dev/full", IO::TextFile::ModeWrite);
    EXPECT_EQ(ErrorOf([&] { full.WriteString("no break"); }), "no failure");
    EXPECT_EQ(ErrorOf([&] { full.Flush(); }), "Error at fflush().");
}
