// The real program and its test twin, run on the Xvfb display and driven with xdotool:
// start-up without and with a configuration file, the three ways to end, failures from
// a scene, no display at all, a configuration file that cannot be written, the command
// line, and the installed program.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const WindowTitle = "Korvo Demo 2007";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::string Capture(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr)
            output += buffer;
        pclose(pipe);
    }
    return output;
}

// One run of a program in a fresh working directory of its own.
class ProgramRun {
public:
    ProgramRun(const char* binary, const std::string& name, bool display = true,
               const std::vector<std::string>& arguments = {})
        : dir(MakeDir(name))
    {
        Start(binary, display, arguments);
    }

    // Starts the program again in the same directory.
    void Start(const char* binary, bool display = true,
               const std::vector<std::string>& arguments = {})
    {
        std::vector<char*> argv{const_cast<char*>(binary)};
        for (const std::string& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        pid = fork();
        if (pid == 0) {
            if (chdir(dir.c_str()) != 0)
                _exit(120);
            if (!display)
                unsetenv("DISPLAY");
            setenv("KORVO_MESSAGEBOX", "stderr", 1);
            if (std::freopen("stderr.txt", "w", stderr) == nullptr)
                _exit(121);
            execv(binary, argv.data());
            _exit(122);
        }
    }

    // The program's main window, found by its process id and title.
    unsigned long Window()
    {
        const std::string command = "xdotool search --pid " + std::to_string(pid) + " --name '"
                                    + WindowTitle + "' 2>/dev/null";
        for (int attempt = 0; attempt < 600; ++attempt) {
            const std::string found = Capture(command);
            if (!found.empty())
                return std::strtoul(found.c_str(), nullptr, 10);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return 0;
    }

    void Keys(const std::string& keys)
    {
        const unsigned long window = Window();
        ASSERT_NE(window, 0u) << "no window";
        // A key that ends the program makes the release that follows it fail: the
        // window is gone by then. What the program did is checked by the caller.
        const std::string command =
            "xdotool key --window " + std::to_string(window) + " " + keys + " 2>/dev/null";
        std::system(command.c_str());
    }

    // Exit code; -1 when it had to be killed, 128 + n when a signal n ended it. The wait is
    // generous: building a scene on a loaded two-core machine takes its time.
    int Wait(int seconds = 180)
    {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
        int status = 0;
        while (waitpid(pid, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > end) {
                kill(pid, SIGKILL);
                waitpid(pid, &status, 0);
                return -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

    std::string File(const char* name) const { return ReadFile(dir + "/" + name); }

    std::string dir;
    pid_t pid = 0;

private:
    static std::string MakeDir(const std::string& name)
    {
        char cwd[4096];
        const std::string path = std::string(getcwd(cwd, sizeof(cwd))) + "/" + name;
        std::system(("rm -rf '" + path + "'").c_str());
        mkdir(path.c_str(), 0755);
        if (const char* data = std::getenv("KORVO_MEDIA_DIR")) {
            const std::string media = data;
            struct stat info;
            if (stat(media.c_str(), &info) == 0)
                symlink(media.c_str(), (path + "/MediaData").c_str());
        }
        return path;
    }
};

// The log of a run that went through the whole shutdown.
void ExpectClosedLog(const ProgramRun& run)
{
    const std::string log = run.File("sys_Log.log");
    EXPECT_NE(log.find("Pointer usage statistic"), std::string::npos) << log;
    EXPECT_TRUE(EndsWith(log, "\n\n--- Log closed ---")) << log;
}

// A directory whose configuration file exists, as after a first start.
void FirstStart(ProgramRun& run)
{
    EXPECT_EQ(run.Wait(), 1);
}

// Settings for a run of the demo scenes on Xvfb. The default P-buffer path needs float
// P-buffers, which the server does not have; framebuffer objects it has.
void WriteXvfbSettings(const ProgramRun& run, const std::string& more = "")
{
    std::ofstream(run.dir + "/sys_Config.conf") << "bool r_GL_FramebufferObject = 1\n" << more;
}

TEST(ProgramTest, FirstStartWithoutConfigurationReportsTheFileAndLeavesDefaults)
{
    ProgramRun run(KORVO_BINARY, "first_start");
    EXPECT_EQ(run.Wait(), 1);
    const std::string errors = run.File("stderr.txt");
    EXPECT_NE(errors.find("Exception\nUnable to open file \"sys_Config.conf\""), std::string::npos)
        << errors;
    EXPECT_EQ(errors.find("Fatal Exception"), std::string::npos);
    const std::string config = run.File("sys_Config.conf");
    EXPECT_NE(config.find("demo_ID"), std::string::npos) << config;
    EXPECT_NE(config.find("r_Screen_Width"), std::string::npos) << config;
    ExpectClosedLog(run);

    // The next start finds the file and keeps running until told to stop.
    WriteXvfbSettings(run);
    run.Start(KORVO_BINARY);
    run.Keys("Escape");
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_EQ(run.File("stderr.txt").find("Exception"), std::string::npos) << run.File("stderr.txt");
    ExpectClosedLog(run);
}

TEST(ProgramTest, EscapeAltF4AndWindowCloseEachEndCleanlyWithSavedConfiguration)
{
    const char* ways[] = {"Escape", "alt+F4", "close"};
    for (const char* way : ways) {
        SCOPED_TRACE(way);
        ProgramRun run(KORVO_BINARY, std::string("end_") + (way[0] == 'a' ? "altf4" : way));
        FirstStart(run);
        // A setting changed by hand is read and written back, normalised.
        WriteXvfbSettings(run, "int demo_ID = 7\n");
        run.Start(KORVO_BINARY);
        if (std::string(way) == "close") {
            const unsigned long window = run.Window();
            ASSERT_NE(window, 0u);
            const std::string command = std::string(KORVO_SEND_DELETE) + " " + std::to_string(window);
            ASSERT_EQ(std::system(command.c_str()), 0);
        } else {
            run.Keys(way);
        }
        EXPECT_EQ(run.Wait(), 0);
        const std::string config = run.File("sys_Config.conf");
        EXPECT_NE(config.find("r_Shadow_WedgeCount"), std::string::npos) << config;
        EXPECT_EQ(config.find("= 7"), std::string::npos) << "demo_ID is clamped: " << config;
        EXPECT_EQ(run.File("stderr.txt"), "");
        ExpectClosedLog(run);
    }
}

TEST(ProgramTest, KeysReachTheSceneWithWindowsCodesButNotEscapeOrReleases)
{
    ProgramRun run(KORVO_TEST_BINARY, "keys");
    FirstStart(run);
    run.Start(KORVO_TEST_BINARY);
    run.Keys("a space b Left F1 7 Escape");
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_EQ(run.File("keys.txt"), "65\n32\n66\n37\n112\n55\ndestroyed after some frames\n");
    ExpectClosedLog(run);
}

TEST(ProgramTest, WaitingMessagesAreAllHandledBeforeTheNextFrame)
{
    ProgramRun run(KORVO_TEST_BINARY, "message_order");
    FirstStart(run);
    run.Start(KORVO_TEST_BINARY);
    run.Keys("m");
    run.Keys("Escape");
    EXPECT_EQ(run.Wait(), 0);
    std::istringstream keys(run.File("keys.txt"));
    std::string line, mark;
    long frames = -1;
    std::vector<long> counts;
    while (std::getline(keys, line)) {
        std::istringstream fields(line);
        if (fields >> mark >> frames && (mark == "M" || mark == "Z"))
            counts.push_back(frames);
    }
    ASSERT_EQ(counts.size(), 4u) << run.File("keys.txt");
    EXPECT_GT(counts[0], 0) << "frames run while no message waits";
    for (long count : counts)
        EXPECT_EQ(count, counts[0]) << run.File("keys.txt");
}

TEST(ProgramTest, SceneFailuresShowTheBoxOfTheirClassAfterShutdown)
{
    struct Case {
        const char* key;
        const char* box;
    };
    const Case cases[] = {{"f", "Fatal Exception\nTest scene: fatal failure."},
                          {"t", "Fatal Exception\nTest scene: fatal failure in a frame."},
                          {"c", "Critical Exception\nTest scene: critical failure."},
                          {"e", "Exception\nTest scene: failure."},
                          {"s", "Std Exception\nTest scene: standard failure."}};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.key);
        ProgramRun run(KORVO_TEST_BINARY, std::string("fail_") + test.key);
        FirstStart(run);
        run.Start(KORVO_TEST_BINARY);
        run.Keys(test.key);
        EXPECT_EQ(run.Wait(), 1);
        const std::string errors = run.File("stderr.txt");
        EXPECT_EQ(errors, std::string(test.box) + "\n");
        ExpectClosedLog(run);
        // The scene was released by the shutdown before the box came up.
        EXPECT_NE(run.File("keys.txt").find("destroyed"), std::string::npos);
    }
}

TEST(ProgramTest, WithoutDisplayTheFatalMessageGoesToStandardError)
{
    ProgramRun run(KORVO_BINARY, "no_display", false);
    const int code = run.Wait();
    EXPECT_NE(code, 0);
    EXPECT_LT(code, 128) << "ended by a signal";
    const std::string errors = run.File("stderr.txt");
    EXPECT_NE(errors.find("Fatal Exception\nFailed to create main window!"), std::string::npos)
        << errors;
    ExpectClosedLog(run);
    // Nothing was loaded, so nothing was written over.
    struct stat info;
    EXPECT_NE(stat((run.dir + "/sys_Config.conf").c_str(), &info), 0);
}

TEST(ProgramTest, UnwritableConfigurationIsReportedAndTheLogStillCloses)
{
    ProgramRun run(KORVO_BINARY, "unwritable", false);
    run.Wait();
    // A directory where the file should be can be neither read nor written.
    mkdir((run.dir + "/sys_Config.conf").c_str(), 0755);
    run.Start(KORVO_BINARY);
    EXPECT_EQ(run.Wait(), 1);
    const std::string errors = run.File("stderr.txt");
    EXPECT_NE(errors.find("Exception\nUnable to open file \"sys_Config.conf\""), std::string::npos)
        << errors;
    ExpectClosedLog(run);
}

// A damaged model file ends start-up with the loader's message in the "Exception" box; the
// configuration is still written back and the log closed.
TEST(ProgramTest, DamagedModelFileEndsStartUpWithTheLoadersMessage)
{
    ProgramRun run(KORVO_BINARY, "damaged_model");
    FirstStart(run);
    // A private copy of the data folder whose first model of the walking scene is cut short.
    const char* data = std::getenv("KORVO_MEDIA_DIR");
    ASSERT_NE(data, nullptr);
    const std::string media = run.dir + "/MediaData";
    unlink(media.c_str());
    ASSERT_EQ(std::system(("cp -r '" + std::string(data) + "' '" + media + "'").c_str()), 0);
    ASSERT_EQ(truncate((media + "/Models/3DS/DAZU/Pipes.3ds").c_str(), 100), 0);
    WriteXvfbSettings(run);
    run.Start(KORVO_BINARY);
    EXPECT_EQ(run.Wait(), 1);
    const std::string errors = run.File("stderr.txt");
    EXPECT_NE(errors.find("Exception\nUnable to load 3DS model from file "
                          "\"MediaData/Models/3DS/DAZU/Pipes.3ds\"."),
              std::string::npos)
        << errors;
    EXPECT_EQ(errors.find("Fatal"), std::string::npos) << errors;
    EXPECT_NE(run.File("sys_Config.conf").find("r_GL_FramebufferObject"), std::string::npos);
    ExpectClosedLog(run);
}

// Help, version and wrong arguments end the program before it writes anything; --dir moves
// the configuration and the log, --set changes a variable after the file and is saved.
TEST(ProgramTest, CommandLine)
{
    ProgramRun here(KORVO_TEST_BINARY, "command_line", true, {"--help"});
    EXPECT_EQ(here.Wait(), 0);
    unlink((here.dir + "/MediaData").c_str());
    const std::string in = "cd '" + here.dir + "' && ";
    EXPECT_EQ(Capture(in + KORVO_BINARY " --version"), "korvo " KORVO_VERSION "\n");
    const std::string usage = Capture(in + KORVO_BINARY " --help");
    EXPECT_EQ(usage.find("Usage: korvo [--dir DIR] [--set name=value]... [--help] [--version]\n"),
              0u) << usage;
    const std::string wrong = Capture(in + KORVO_BINARY " --scnee dazu 2>&1; echo \"exit $?\"");
    EXPECT_EQ(wrong.find("korvo: unknown argument \"--scnee\"\n\nUsage: korvo"), 0u) << wrong;
    EXPECT_TRUE(EndsWith(wrong, "exit 2\n")) << wrong;
    EXPECT_TRUE(EndsWith(Capture(in + KORVO_BINARY " --set 2>&1; echo \"exit $?\""), "exit 2\n"));
    EXPECT_TRUE(EndsWith(Capture(in + KORVO_BINARY " --dir '" + here.dir +
                                 "/missing' 2>&1; echo \"exit $?\""),
                         "exit 2\n"));
    EXPECT_EQ(Capture("ls -A '" + here.dir + "'"), "stderr.txt\n");

    ProgramRun elsewhere(KORVO_TEST_BINARY, "command_line_dir");
    EXPECT_EQ(elsewhere.Wait(), 1);   // writes its configuration
    here.Start(KORVO_TEST_BINARY, true,
               {"--dir", elsewhere.dir, "--set", "r_Screen_Width=800", "--set", "demo_ID=5"});
    here.Keys("Escape");
    EXPECT_EQ(here.Wait(), 0);
    const std::string config = elsewhere.File("sys_Config.conf");
    EXPECT_NE(config.find("int         r_Screen_Width              = 800\n"), std::string::npos)
        << config;
    EXPECT_NE(config.find("int         demo_ID                     = 1\n"), std::string::npos);
    const std::string log = elsewhere.File("sys_Log.log");
    EXPECT_NE(log.find("WARNING: --set: demo_ID = 5 is out of range; 1 is used.\n"),
              std::string::npos) << log;
    ExpectClosedLog(elsewhere);
    EXPECT_EQ(Capture("ls -A '" + here.dir + "'"), "stderr.txt\n");

    // A name that is no variable ends start-up like any failure there.
    here.Start(KORVO_TEST_BINARY, true, {"--dir", elsewhere.dir, "--set", "r_Screen_Widht=800"});
    EXPECT_EQ(here.Wait(), 1);
    EXPECT_NE(here.File("stderr.txt").find("Unknown variable \"r_Screen_Widht\""),
              std::string::npos) << here.File("stderr.txt");
}

// What `cmake --install` puts under a prefix runs from an empty folder: the program finds
// its installed data and keeps its configuration and log in the folder it starts in.
TEST(ProgramTest, InstalledProgramRunsFromAnEmptyFolder)
{
    char cwd[4096];
    const std::string prefix = std::string(getcwd(cwd, sizeof(cwd))) + "/installed";
    std::system(("rm -rf '" + prefix + "'").c_str());
    const std::string install = std::string("'" KORVO_CMAKE "' --install '" KORVO_BUILD_DIR
                                            "' --prefix '") + prefix + "' > install.txt 2>&1";
    ASSERT_EQ(std::system(install.c_str()), 0) << ReadFile("install.txt");
    const std::string program = prefix + "/bin/korvo";

    ProgramRun run(program.c_str(), "installed_run");
    EXPECT_EQ(run.Wait(), 1);   // no configuration yet: the defaults are written
    // Nothing but the installed data folder holds the data now.
    ASSERT_EQ(unlink((run.dir + "/MediaData").c_str()), 0);
    run.Start(program.c_str(), true, {"--set", "r_GL_FramebufferObject=1"});
    run.Keys("Escape");
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_EQ(run.File("stderr.txt"), "");
    EXPECT_NE(run.File("sys_Config.conf").find("r_GL_FramebufferObject      = 1\n"),
              std::string::npos);
    ExpectClosedLog(run);
    EXPECT_EQ(Capture("ls -A '" + run.dir + "'"), "stderr.txt\nsys_Config.conf\nsys_Log.log\n");
}

} // namespace
