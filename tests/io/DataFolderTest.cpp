#include "io/DataFolder.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Files put into the folders the search falls back to (next to this test program, and
// the installed data folder as seen from it), removed again at the end.
class DataFolderTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& path : made)
            fs::remove_all(path);
    }

    // Writes `text` to folder + path, creating the folders on the way.
    void Put(const std::string& folder, const std::string& path, const std::string& text)
    {
        MakeFolder(fs::path(folder + path).parent_path());
        TestFiles::Write(folder + path, text);
        made.push_back(folder + path);
    }

    // Creates the folder; the outermost one that did not exist is removed at the end.
    void MakeFolder(const fs::path& folder)
    {
        fs::path outermost;
        for (fs::path p = folder; !p.empty() && !fs::exists(p); p = p.parent_path())
            outermost = p;
        fs::create_directories(folder);
        if (!outermost.empty())
            made.push_back(outermost.string());
    }

    std::vector<std::string> made;
};

} // namespace

TEST_F(DataFolderTest, FallbacksAreTheProgramsFolderThenTheInstalledData)
{
    const std::vector<std::string>& folders = IO::DataFolder::Fallbacks();
    ASSERT_EQ(folders.size(), 2u);
    // The program's own folder, found from the running program.
    EXPECT_TRUE(fs::exists(folders[0] + "io_tests")) << folders[0];
    for (const std::string& folder : folders) {
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.back(), '/');
        EXPECT_EQ(folder.front(), '/');
    }
    EXPECT_EQ(folders[1].compare(0, folders[0].size(), folders[0]), 0) << folders[1];
    EXPECT_NE(folders[1], folders[0]);
}

TEST_F(DataFolderTest, TheFirstPlaceHoldingTheFileWins)
{
    const std::string program = IO::DataFolder::Fallbacks()[0];
    const std::string installed = IO::DataFolder::Fallbacks()[1];

    // Only in the installed data folder, then also next to the program, then also here.
    const std::string name = "MediaData/DataFolderTest/found.txt";
    Put(installed, name, "installed");
    EXPECT_EQ(IO::DataFolder::Find(name), installed + name);
    Put(program, name, "program");
    EXPECT_EQ(IO::DataFolder::Find(name), program + name);
    Put("", name, "here");
    EXPECT_EQ(IO::DataFolder::Find(name), name);

    // A folder of that name is no file: the search goes on past it.
    const std::string folderName = "MediaData/DataFolderTest/folder.txt";
    MakeFolder(folderName);
    Put(program, folderName, "program");
    EXPECT_EQ(IO::DataFolder::Find(folderName), program + folderName);
}

TEST_F(DataFolderTest, PathsFoundNowhereOrAbsoluteStayAsGiven)
{
    // The error that follows then names the file as the user knows it.
    EXPECT_EQ(IO::DataFolder::Find("MediaData/no/such.3ds"), "MediaData/no/such.3ds");
    EXPECT_EQ(IO::DataFolder::Find(""), "");
    // An absolute path is never looked up elsewhere, even when it names nothing.
    const std::string program = IO::DataFolder::Fallbacks()[0];
    Put(program, "absolute.txt", "program");
    EXPECT_EQ(IO::DataFolder::Find("/absolute.txt"), "/absolute.txt");
    EXPECT_EQ(IO::DataFolder::Find("absolute.txt"), program + "absolute.txt");
}
