#include "app/Exception.h"
#include "app/Log.h"
#include "config/CVars.h"
#include "config/ConfigSystem.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace {

std::vector<ICVar*> Variables(uint32_t mask)
{
    std::vector<ICVar*> list;
    ConfigSystem::Instance().GetVariables(mask, list);
    return list;
}

// Loads a configuration file holding `text`; returns what the log gained meanwhile.
std::string Load(const std::string& text)
{
    const std::string before = TestFiles::ReadLog();
    TestFiles::Write(ConfigSystem::FileName(), text);
    ConfigSystem::Instance().Load();
    return TestFiles::ReadLog().substr(before.size());
}

class ConfigSystemTest : public testing::Test {
protected:
    void SetUp() override
    {
        // The first Log built opens (and empties) the log; tests compare its text before
        // and after a step.
        const Sys::Log opensTheLog;
        for (ICVar* cvar : Variables(~0u))
            cvar->Reset();
        unlink(ConfigSystem::FileName());
    }
};

} // namespace

// Names sort by byte (uppercase before "_"), each prefix opens a group after a blank line,
// and the columns line up; strings are quoted.
TEST_F(ConfigSystemTest, SavedFileHasHeaderGroupsAndAlignedColumns)
{
    ConfigSystem::Instance().Save();
    const std::string text = TestFiles::Read(ConfigSystem::FileName());
    const std::string header = "// Welcome to Korvo config file.\n// Date of last modification : ";
    ASSERT_EQ(text.compare(0, header.size(), header), 0) << text;
    EXPECT_TRUE(TestFiles::StartsWithCtime(text.substr(header.size()))) << text;
    const std::string body = text.substr(header.size() + 25);
    EXPECT_EQ(body.rfind("\n\nbool        demo_FirstLightSource       = 1\n"
                         "int         demo_ID                     = 0\n", 0), 0u) << body;
    for (const char* line : {"= 1\n\nbool        gui_English                 = 0\n\nbool        r_GL_",
                             "\nstring      r_GL_Renderer               = \"Unknown\"\n",
                             "= 1\n\nint         r_Screen_BitPerPixel        = 32\n"})
        EXPECT_NE(body.find(line), std::string::npos) << line;
    EXPECT_EQ(TestFiles::Count(body, "\n"), 32);
    const std::string last = "\nint         r_Shadow_WedgeCount         = 20\n";
    EXPECT_EQ(body.substr(body.size() - last.size()), last);
}

TEST_F(ConfigSystemTest, IntegersAreClampedOtherValuesMustParse)
{
    struct Range {
        CVar<int>* cvar;
        int min, max;
    };
    const Range ranges[] = {{&demo_ID, 0, 1}, {&r_Screen_Width, 512, 1024}};
    for (const Range& r : ranges) {
        r.cvar->SetFromString("-100000");
        EXPECT_EQ(r.cvar->value, r.min) << r.cvar->name;
        r.cvar->SetFromString("99999999999");
        EXPECT_EQ(r.cvar->value, r.max) << r.cvar->name;
    }

    r_Screen_Width.SetFromString("abc");
    EXPECT_EQ(r_Screen_Width.value, 1024);
    r_Screen_Samples.SetFromString("+8");
    r_Screen_Samples.SetFromString("7.0");
    EXPECT_EQ(r_Screen_Samples.value, 8);
    // A sign with no digit is no number.
    for (const char* text : {"+", "-", "-.", "+."})
        EXPECT_FALSE(r_Screen_Samples.SetFromString(text)) << text;
    EXPECT_EQ(r_Screen_Samples.value, 8);

    for (const char* text : {"2", "01", "true"}) {
        r_Shadow_Cast.SetFromString(text);
        EXPECT_TRUE(r_Shadow_Cast.value) << text;
    }
    r_Shadow_Cast.SetFromString("0");
    EXPECT_FALSE(r_Shadow_Cast.value);
}

TEST_F(ConfigSystemTest, LoadTakesOnlyWellFormedLines)
{
    const std::string log = Load("// int demo_ID = 1\n"
         "int r_Screen_Width = 800\n"
         "int r_Screen_Height=600\n"              // one word "r_Screen_Height=600"
         "bool r_Screen_Samples = 4\n"            // keyword not compared with the type
         "int r_Screen_Samples = -\n"             // a lone sign is no value
         "int r_Screen_BitPerPixel = 16 // low\n"
         "int r_Shadow_WedgeCount = 30 extra\n"
         "INT r_Shadow_WedgeCount = 31\n"
         "int r_Shadow_WedgeCount : 32\n"
         "int unknown_Name = 3\n"
         "int r_screen_width = 900\n"
         "bool r_Shadow\xC3\xA9" "Cast = 0\n"
         "\tbool\tr_Shadow_Downsample\t=\t1\r\n"
         "\n"
         "string r_GL_Renderer = \"Mesa DRI llvmpipe\"\n"
         "int demo_ID = 7\n"
         "int demo_ID = 1");                      // no line break at the end
    EXPECT_EQ(r_Screen_Width.value, 800);
    EXPECT_EQ(r_Screen_Height.value, 480);
    EXPECT_EQ(r_Screen_Samples.value, 4);
    EXPECT_EQ(r_Screen_BitPerPixel.value, 16);
    EXPECT_EQ(r_Shadow_WedgeCount.value, 20);
    EXPECT_TRUE(r_Shadow_Cast.value);
    EXPECT_TRUE(r_Shadow_Downsample.value);
    EXPECT_EQ(r_GL_Renderer.value, "Mesa DRI llvmpipe");
    EXPECT_EQ(demo_ID.value, 1);

    // Every line that holds words but sets nothing as written says so in the log, by line
    // number and reason; comments and blank lines do not.
    EXPECT_EQ(TestFiles::Count(log, "WARNING: "), 9) << log;
    for (const char* warning :
         {"line 3 ignored: not of the form \"type name = value\": int r_Screen_Height=600\n",
          "line 5 ignored: \"-\" is no int value; r_Screen_Samples keeps its value.\n",
          "line 10 ignored: unknown variable \"unknown_Name\".\n",
          "line 16: demo_ID = 7 is out of range; 1 is used.\n"})
        EXPECT_NE(log.find(std::string("WARNING: sys_Config.conf, ") + warning), std::string::npos)
            << log;

    // A file that is no configuration at all is not copied into the log line by line.
    std::string noise;
    for (int i = 0; i < 60; ++i)
        noise += "int r_Screen_Width = 800 " + std::to_string(i) + "\n";
    const std::string noiseLog = Load(noise);
    EXPECT_EQ(TestFiles::Count(noiseLog, "WARNING: "), 51);
    EXPECT_NE(noiseLog.find("WARNING: sys_Config.conf: 10 more lines ignored or changed.\n"),
              std::string::npos) << noiseLog;

    // An empty pair of quotes leaves three words: the line is ignored.
    Load("string r_GL_Renderer = \"\"\n");
    EXPECT_EQ(r_GL_Renderer.value, "Mesa DRI llvmpipe");
}

TEST_F(ConfigSystemTest, EmptyFilesChangeNothingLongLinesComeInPieces)
{
    r_Screen_Width.value = 800;
    Load("");
    EXPECT_EQ(r_Screen_Width.value, 800);

    // The first 8191 characters are a comment; the rest is a line of its own.
    Load("// " + std::string(8188, 'x') + "int r_Screen_Width = 700\n");
    EXPECT_EQ(r_Screen_Width.value, 700);
    // The first piece of an overlong value is a complete line (and clamped); the rest of
    // it is one word and ignored.
    Load("int r_Screen_Height = " + std::string(9000, '1') + "\n");
    EXPECT_EQ(r_Screen_Height.value, 768);
}

TEST_F(ConfigSystemTest, SaveThenLoadRestoresEveryValue)
{
    auto values = [] {
        std::vector<std::string> texts;
        for (ICVar* cvar : Variables(~0u)) {
            CVarDesc desc;
            cvar->GetDesc(desc);
            texts.push_back(desc.valueText);
        }
        return texts;
    };
    for (CVar<int>* cvar : {&demo_ID, &r_Screen_BitPerPixel, &r_Screen_Height, &r_Screen_Samples,
                            &r_Screen_Width, &r_Shadow_WedgeCount})
        cvar->SetFromString("99999999");  // each at its maximum
    r_GL_Renderer.value = "Mesa DRI llvmpipe";
    for (ICVar* cvar : Variables(~0u))
        if (cvar->GetType() == ICVar::TypeBool)
            static_cast<CVar<bool>*>(cvar)->value = !static_cast<CVar<bool>*>(cvar)->defaultValue;

    const std::vector<std::string> saved = values();
    ConfigSystem::Instance().Save();
    for (ICVar* cvar : Variables(~0u))
        cvar->Reset();
    ConfigSystem::Instance().Load();
    EXPECT_EQ(values(), saved);
}

TEST_F(ConfigSystemTest, OverlongStringStillEndsItsLine)
{
    r_GL_Renderer.value = std::string(3000, 'r');
    ConfigSystem::Instance().Save();
    const std::string text = TestFiles::Read(ConfigSystem::FileName());
    EXPECT_NE(text.find("r\"\nbool        r_GL_ScissorTest            = 1\n"), std::string::npos);
    r_GL_ScissorTest.value = false;
    ConfigSystem::Instance().Load();
    EXPECT_TRUE(r_GL_ScissorTest.value);
}

// A missing file, a full disk, a FIFO (which would block start-up) and a device (which
// never ends) are refused with their texts, logged, and the variables keep their defaults.
TEST_F(ConfigSystemTest, FileFailuresRaiseTheirTexts)
{
    const std::string missing = "Unable to open file \"sys_Config.conf\"";
    EXPECT_EQ(ErrorOf([] { ConfigSystem::Instance().Load(); }), missing);
    ASSERT_EQ(symlink("/dev/full", ConfigSystem::FileName()), 0);
    EXPECT_EQ(ErrorOf([] { ConfigSystem::Instance().Save(); }), "End of file.");
    unlink(ConfigSystem::FileName());
    const std::string log = TestFiles::ReadLog();
    EXPECT_NE(log.find("\n---\nERROR:\n\n" + missing + "\n---\n"), std::string::npos);
    EXPECT_NE(log.find("\n---\nERROR:\n\nEnd of file.\n---\n"), std::string::npos);

    ASSERT_EQ(mkfifo(ConfigSystem::FileName(), 0644), 0);
    EXPECT_EQ(ErrorOf([] { ConfigSystem::Instance().Load(); }), missing);
    EXPECT_EQ(ErrorOf([] { ConfigSystem::Instance().Save(); }), missing);
    unlink(ConfigSystem::FileName());
    ASSERT_EQ(symlink("/dev/zero", ConfigSystem::FileName()), 0);
    EXPECT_EQ(ErrorOf([] { ConfigSystem::Instance().Load(); }), missing);
    unlink(ConfigSystem::FileName());
    EXPECT_EQ(r_Screen_Width.value, 640);
}

TEST_F(ConfigSystemTest, ValuesChangedAfterLoadingAreReportedOnSave)
{
    Load("int r_Screen_Width = 800\nbool r_GL_DepthBoundsTest = 1\n");
    ConfigSystem::Instance().Override("r_Screen_Height", "600");
    EXPECT_EQ(r_Screen_Height.value, 600);
    EXPECT_EQ(ErrorOf([] { ConfigSystem::Instance().Override("r_Screen_Heigth", "600"); }),
              "Unknown variable \"r_Screen_Heigth\" in --set r_Screen_Heigth=600.");
    EXPECT_EQ(ErrorOf([] { ConfigSystem::Instance().Override("r_Screen_Height", "+"); }),
              "Invalid value \"+\" for r_Screen_Height in --set.");
    EXPECT_EQ(ErrorOf([] { ConfigSystem::Instance().Override("r_Screen_Height", ""); }),
              "Invalid value \"\" for r_Screen_Height in --set.");

    const std::string before = TestFiles::ReadLog();
    r_GL_DepthBoundsTest.value = false;
    ConfigSystem::Instance().Save();
    const std::string log = TestFiles::ReadLog().substr(before.size());
    // The override is the user's choice, saved without a word; the driver's refusal is not.
    EXPECT_EQ(TestFiles::Count(log, "WARNING: "), 1) << log;
    EXPECT_NE(log.find("WARNING: r_GL_DepthBoundsTest changed from \"1\" to \"0\": the driver "
                       "has no depth-bounds test (GL_EXT_depth_bounds_test).\n"),
              std::string::npos) << log;
    EXPECT_NE(TestFiles::Read(ConfigSystem::FileName()).find("r_Screen_Height             = 600"),
              std::string::npos);
}
