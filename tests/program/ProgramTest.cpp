// The real program and its test twin, run on the Xvfb display and driven with xdotool.

#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

const char* const WindowTitle = "Korvo Demo 2007";

bool EndsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int IgnoreXError(Display*, XErrorEvent*)
{
    return 0;
}

// Types the keys ("Escape", "alt+F4", "a space b") into the window: each press and release
// sent to the window itself, with the state of the modifiers held. xdotool chooses between
// that and typing on the server's keyboard (XTEST) afresh for every key, by whether the
// window has the focus at that moment, and the program takes the focus when it shows its
// window: a modifier sent before then is missing from the key typed after it, and a key
// typed whose release is sent after the window is gone stays held in the server, repeating
// into the next program's window.
void SendKeys(const std::string& server, unsigned long window, const std::string& keys)
{
    Display* display = XOpenDisplay(server.empty() ? nullptr : server.c_str());
    ASSERT_NE(display, nullptr);
    const XErrorHandler previous = XSetErrorHandler(IgnoreXError);  // the window may be gone
    const auto send = [&](KeySym symbol, unsigned int state, bool press) {
        XEvent event = {};
        event.xkey.type = press ? KeyPress : KeyRelease;
        event.xkey.display = display;
        event.xkey.window = window;
        event.xkey.root = DefaultRootWindow(display);
        event.xkey.time = CurrentTime;
        event.xkey.same_screen = True;
        event.xkey.state = state;
        event.xkey.keycode = XKeysymToKeycode(display, symbol);
        XSendEvent(display, window, False, press ? KeyPressMask : KeyReleaseMask, &event);
    };
    std::istringstream words(keys);
    for (std::string word; words >> word;) {
        std::vector<std::pair<KeySym, unsigned int>> held;  // modifiers and their masks
        size_t start = 0;
        for (size_t plus; (plus = word.find('+', start)) != std::string::npos; start = plus + 1) {
            const std::string name = word.substr(start, plus - start);
            held.push_back(name == "alt"    ? std::make_pair(KeySym(XK_Alt_L), Mod1Mask)
                           : name == "ctrl" ? std::make_pair(KeySym(XK_Control_L), ControlMask)
                                            : std::make_pair(KeySym(XK_Shift_L), ShiftMask));
        }
        const KeySym key = XStringToKeysym(word.substr(start).c_str());
        ASSERT_NE(key, static_cast<KeySym>(NoSymbol)) << word;
        unsigned int state = 0;
        for (const auto& [symbol, mask] : held) {
            send(symbol, state, true);
            state |= mask;
        }
        send(key, state, true);
        send(key, state, false);
        for (auto it = held.rbegin(); it != held.rend(); ++it) {
            state &= ~it->second;
            send(it->first, state | it->second, false);
        }
    }
    XSync(display, False);
    XSetErrorHandler(previous);
    XCloseDisplay(display);
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

    // Starts the program again in the same directory, with arguments; `server` names
    // another X display.
    void Start(const char* binary, bool display = true,
               const std::vector<std::string>& arguments = {}, const std::string& server = "")
    {
        this->server = server;
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
            else if (!server.empty())
                setenv("DISPLAY", server.c_str(), 1);
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
        const std::string command = Xdotool() + "search --pid " + std::to_string(pid)
                                    + " --name '" + WindowTitle + "' 2>/dev/null";
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
        SendKeys(server, window, keys);
    }

    // xdotool on the display the program runs on.
    std::string Xdotool() const
    {
        return (server.empty() ? std::string() : "DISPLAY=" + server + " ") + "xdotool ";
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

    std::string File(const char* name) const { return TestFiles::Read(dir + "/" + name); }

    std::string dir;
    pid_t pid = 0;
    std::string server;

private:
    static std::string MakeDir(const std::string& name)
    {
        char cwd[4096];
        const std::string path = std::string(getcwd(cwd, sizeof(cwd))) + "/" + name;
        std::system(("rm -rf '" + path + "'").c_str());
        mkdir(path.c_str(), 0755);
        if (const char* data = std::getenv("KORVO_MEDIA_DIR"))
            symlink(data, (path + "/MediaData").c_str());
        return path;
    }
};

// Passes when `text` holds `part`; shows the text otherwise.
testing::AssertionResult Holds(const std::string& text, const std::string& part)
{
    if (text.find(part) != std::string::npos)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "no \"" << part << "\" in:\n" << text;
}

// The log of a run that went through the whole shutdown.
void ExpectClosedLog(const ProgramRun& run)
{
    const std::string log = run.File("sys_Log.log");
    EXPECT_TRUE(Holds(log, "Pointer usage statistic"));
    EXPECT_TRUE(EndsWith(log, "\n\n--- Log closed ---")) << log;
}

// Settings for a run of the demo scenes on Xvfb. The default P-buffer path needs float
// P-buffers, which the server does not have; framebuffer objects it has.
void WriteXvfbSettings(const ProgramRun& run, const std::string& more = "")
{
    TestFiles::Write(run.dir + "/sys_Config.conf", "bool r_GL_FramebufferObject = 1\n" + more);
}

// Without a display the fatal message goes to standard error and nothing is written; the
// first start reports the missing configuration and writes the defaults; a configuration
// that can be neither read nor written is reported too. The log always closes.
TEST(ProgramTest, NoDisplayFirstStartAndUnwritableConfiguration)
{
    ProgramRun run(KORVO_BINARY, "first_start", false);
    const int code = run.Wait();
    EXPECT_NE(code, 0);
    EXPECT_LT(code, 128) << "ended by a signal";
    EXPECT_TRUE(Holds(run.File("stderr.txt"), "Fatal Exception\nFailed to create main window!"));
    ExpectClosedLog(run);
    struct stat info;
    EXPECT_NE(stat((run.dir + "/sys_Config.conf").c_str(), &info), 0);

    for (bool unwritable : {false, true}) {
        SCOPED_TRACE(unwritable);
        if (unwritable) {
            unlink((run.dir + "/sys_Config.conf").c_str());
            mkdir((run.dir + "/sys_Config.conf").c_str(), 0755);
        }
        run.Start(KORVO_BINARY);
        EXPECT_EQ(run.Wait(), 1);
        const std::string errors = run.File("stderr.txt");
        EXPECT_TRUE(Holds(errors, "Exception\nUnable to open file \"sys_Config.conf\""));
        EXPECT_EQ(errors.find("Fatal Exception"), std::string::npos);
        ExpectClosedLog(run);
        if (!unwritable) {
            EXPECT_TRUE(Holds(run.File("sys_Config.conf"), "int         demo_ID "));
        }
    }
}

// Key presses reach the scene with Windows codes, Escape and releases do not; the messages
// waiting at a frame are all handled before the next one ('m' queues three more).
TEST(ProgramTest, KeysReachTheSceneAndWaitingMessagesComeBeforeTheNextFrame)
{
    ProgramRun run(KORVO_TEST_BINARY, "keys");
    EXPECT_EQ(run.Wait(), 1);  // the first start writes the configuration
    run.Start(KORVO_TEST_BINARY);
    run.Keys("a space b Left F1 7 m");
    run.Keys("Escape");
    EXPECT_EQ(run.Wait(), 0);
    const std::string keys = run.File("keys.txt");
    EXPECT_EQ(keys.rfind("65\n32\n66\n37\n112\n55\n77\n", 0), 0u) << keys;
    EXPECT_TRUE(EndsWith(keys, "destroyed after some frames\n")) << keys;
    std::vector<std::string> counts;  // the frame counts at M and at each Z
    std::istringstream lines(keys);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("M ", 0) == 0 || line.rfind("Z ", 0) == 0)
            counts.push_back(line.substr(2));
    ASSERT_EQ(counts.size(), 4u) << keys;
    EXPECT_NE(counts[0], "0") << "frames run while no message waits";
    EXPECT_EQ(counts, std::vector<std::string>(4, counts[0])) << keys;
    ExpectClosedLog(run);
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
    ProgramRun run(KORVO_TEST_BINARY, "fail");
    EXPECT_EQ(run.Wait(), 1);  // the first start writes the configuration
    for (const Case& test : cases) {
        SCOPED_TRACE(test.key);
        run.Start(KORVO_TEST_BINARY);
        run.Keys(test.key);
        EXPECT_EQ(run.Wait(), 1);
        EXPECT_EQ(run.File("stderr.txt"), std::string(test.box) + "\n");
        ExpectClosedLog(run);
        // The scene was released by the shutdown before the box came up.
        EXPECT_TRUE(Holds(run.File("keys.txt"), "destroyed"));
    }
}

// A damaged model file ends start-up with the loader's message in the "Exception" box; the
// configuration is still written back and the log closed.
TEST(ProgramTest, DamagedModelFileEndsStartUpWithTheLoadersMessage)
{
    ProgramRun run(KORVO_BINARY, "damaged_model");
    EXPECT_EQ(run.Wait(), 1);  // the first start writes the configuration
    // A private copy of the data folder whose first model of the walking scene is cut short.
    const std::string media = run.dir + "/MediaData";
    ASSERT_EQ(std::system(("cp -rL '" + media + "' '" + media + ".copy' && rm '" + media +
                           "' && mv '" + media + ".copy' '" + media + "'").c_str()), 0);
    ASSERT_EQ(truncate((media + "/Models/3DS/DAZU/Pipes.3ds").c_str(), 100), 0);
    WriteXvfbSettings(run);
    run.Start(KORVO_BINARY);
    EXPECT_EQ(run.Wait(), 1);
    const std::string errors = run.File("stderr.txt");
    EXPECT_TRUE(Holds(errors, "Exception\nUnable to load 3DS model from file "
                              "\"MediaData/Models/3DS/DAZU/Pipes.3ds\"."));
    EXPECT_EQ(errors.find("Fatal"), std::string::npos) << errors;
    EXPECT_TRUE(Holds(run.File("sys_Config.conf"), "r_GL_FramebufferObject"));
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
    EXPECT_TRUE(Holds(config, "int         r_Screen_Width              = 800\n"));
    EXPECT_TRUE(Holds(config, "int         demo_ID                     = 1\n"));
    EXPECT_TRUE(Holds(elsewhere.File("sys_Log.log"),
                      "WARNING: --set: demo_ID = 5 is out of range; 1 is used.\n"));
    ExpectClosedLog(elsewhere);
    EXPECT_EQ(Capture("ls -A '" + here.dir + "'"), "stderr.txt\n");

    // A name that is no variable ends start-up like any failure there.
    here.Start(KORVO_TEST_BINARY, true, {"--dir", elsewhere.dir, "--set", "r_Screen_Widht=800"});
    EXPECT_EQ(here.Wait(), 1);
    EXPECT_TRUE(Holds(here.File("stderr.txt"), "Unknown variable \"r_Screen_Widht\""));
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
    ASSERT_EQ(std::system(install.c_str()), 0) << TestFiles::Read("install.txt");
    const std::string program = prefix + "/bin/korvo";

    ProgramRun run(program.c_str(), "installed_run");
    EXPECT_EQ(run.Wait(), 1);   // no configuration yet: the defaults are written
    // Nothing but the installed data folder holds the data now.
    ASSERT_EQ(unlink((run.dir + "/MediaData").c_str()), 0);
    run.Start(program.c_str(), true, {"--set", "r_GL_FramebufferObject=1"});
    run.Keys("Escape");
    EXPECT_EQ(run.Wait(), 0);
    EXPECT_EQ(run.File("stderr.txt"), "");
    EXPECT_TRUE(Holds(run.File("sys_Config.conf"), "r_GL_FramebufferObject      = 1\n"));
    ExpectClosedLog(run);
    EXPECT_EQ(Capture("ls -A '" + run.dir + "'"), "stderr.txt\nsys_Config.conf\nsys_Log.log\n");
}

// What the X server shows of a window: 0xRRGGBB per pixel, rows from the top.
std::vector<unsigned long> Pixels(Display* display, unsigned long window, int x, int y,
                                  int width, int height)
{
    std::vector<unsigned long> pixels;
    XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    if (image == nullptr)
        return pixels;
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            pixels.push_back(XGetPixel(image, column, row) & 0xFFFFFF);
    XDestroyImage(image);
    return pixels;
}

// The share of pixels that are pure black or the final pass's cyan clear colour: what
// shows where no picture was drawn.
double Undrawn(const std::vector<unsigned long>& pixels)
{
    if (pixels.empty())
        return 1.0;
    size_t count = 0;
    for (unsigned long pixel : pixels)
        count += pixel == 0 || pixel == 0x00FFFF;
    return static_cast<double>(count) / pixels.size();
}

// Polls for up to a minute until `done` holds.
template <typename F>
bool Eventually(F done)
{
    for (int attempt = 0; attempt < 600; ++attempt) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// Every way to end: keys, the window manager's close, signals (through the shutdown, then
// with the status the signal gives when nothing handles it), the window destroyed from
// outside (after a resize, whose new edges the picture must reach) or the X connection
// killed (status 1). Each saves the configuration, normalised, and closes the log; under
// the sanitizers nothing outlives the globals.
TEST(ProgramTest, EveryWayToEndShutsDownAndSavesTheConfiguration)
{
    Display* display = XOpenDisplay(nullptr);
    ASSERT_NE(display, nullptr);
    XSetErrorHandler(IgnoreXError);
    ProgramRun run(KORVO_BINARY, "end");
    EXPECT_EQ(run.Wait(), 1);  // the first start writes the configuration
    const struct {
        std::string way;
        int status;
    } ends[] = {{"Escape", 0},  {"alt+F4", 0}, {"close", 0}, {"SIGINT", 128 + SIGINT},
                {"SIGTERM", 128 + SIGTERM}, {"SIGHUP", 128 + SIGHUP}, {"windowclose", 0},
                {"windowkill", 1}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.way);
        WriteXvfbSettings(run, "int demo_ID = 7\nbool r_Shadow_PenumbraWedges = 0\n");
        run.Start(KORVO_BINARY);
        const unsigned long window = run.Window();
        ASSERT_NE(window, 0u);
        const std::string id = std::to_string(window);
        if (end.way == "close") {
            ASSERT_EQ(std::system((KORVO_SEND_DELETE " " + id).c_str()), 0);
        } else if (end.way.rfind("SIG", 0) == 0) {
            kill(run.pid, end.status - 128);
        } else if (end.way.rfind("window", 0) == 0) {
            EXPECT_TRUE(Eventually([&] { return Undrawn(Pixels(display, window, 0, 0, 640, 480)) < 0.5; }));
            if (end.way == "windowclose") {
                std::system((run.Xdotool() + "windowsize " + id + " 800 600").c_str());
                EXPECT_TRUE(Eventually([&] {
                    return Undrawn(Pixels(display, window, 640, 0, 160, 600)) < 0.5
                           && Undrawn(Pixels(display, window, 0, 480, 800, 120)) < 0.5;
                })) << "the picture does not reach the new edges";
            }
            std::system((run.Xdotool() + end.way + " " + id + " 2>/dev/null").c_str());
        } else {
            run.Keys(end.way);
        }
        EXPECT_EQ(run.Wait(), end.status);
        const std::string errors = run.File("stderr.txt");
        if (end.status == 1) {
            EXPECT_TRUE(Holds(errors, "was lost"));
            EXPECT_EQ(errors.find("runtime error"), std::string::npos) << errors;
            EXPECT_EQ(errors.find("Sanitizer"), std::string::npos) << errors;
        } else {
            EXPECT_EQ(errors, "");
        }
        const std::string config = run.File("sys_Config.conf");
        EXPECT_TRUE(Holds(config, "r_Shadow_WedgeCount"));
        EXPECT_EQ(config.find("= 7"), std::string::npos) << "demo_ID is clamped: " << config;
        ExpectClosedLog(run);
    }
    XCloseDisplay(display);
}

// An X server of the test's own, with one screen of the given size.
class PrivateServer {
public:
    explicit PrivateServer(const char* screen)
    {
        int fds[2];
        if (pipe(fds) != 0)
            return;
        pid = fork();
        if (pid == 0) {
            close(fds[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten",
                   "tcp", "+extension", "GLX", "+extension", "RANDR", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        std::string number;
        char c;
        while (read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        close(fds[0]);
        if (!number.empty()) {
            name = ":" + number;
            display = XOpenDisplay(name.c_str());
        }
    }

    ~PrivateServer()
    {
        if (display != nullptr)
            XCloseDisplay(display);
        if (pid > 0) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }

    // The first CRTC's width and height, and how many modes its first output lists.
    std::vector<int> Crtc() const
    {
        std::vector<int> found{-1, -1, -1};
        XRRScreenResources* resources =
            XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
        if (resources != nullptr && resources->ncrtc > 0) {
            XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[0]);
            found = {static_cast<int>(crtc->width), static_cast<int>(crtc->height), -1};
            if (crtc->noutput > 0) {
                XRROutputInfo* output = XRRGetOutputInfo(display, resources, crtc->outputs[0]);
                found[2] = output->nmode;
                XRRFreeOutputInfo(output);
            }
            XRRFreeCrtcInfo(crtc);
        }
        if (resources != nullptr)
            XRRFreeScreenResources(resources);
        return found;
    }

    std::string name;
    Display* display = nullptr;
    pid_t pid = -1;
};

// Full screen on a screen that has the 640 x 480 mode and on one that lacks it (the mode
// is created for the run): the window covers the output, on top, with the keyboard and the
// picture; at the end, by Escape or by a signal, the desktop mode comes back. The sample
// count above the driver's limit is lowered for the run and saved as the user gave it.
TEST(ProgramTest, FullScreenCoversTheOutputWithThePictureAndGivesTheModeBack)
{
    struct Case {
        const char* screen;
        bool byEscape;
    };
    for (const Case& test : {Case{"640x480x24", true}, Case{"1280x1024x24", false}}) {
        SCOPED_TRACE(test.screen);
        PrivateServer server(test.screen);
        ASSERT_NE(server.display, nullptr);
        XSetErrorHandler(IgnoreXError);
        const std::vector<int> desktop = server.Crtc();
        ASSERT_GT(desktop[2], 0);

        ProgramRun run(KORVO_BINARY, std::string("full_screen_") + test.screen);
        EXPECT_EQ(run.Wait(), 1);  // the first start writes the configuration
        WriteXvfbSettings(run, "bool r_Screen_Full = 1\nint r_Screen_Samples = 8\n"
                               "bool r_Shadow_PenumbraWedges = 0\n");
        run.Start(KORVO_BINARY, true, {}, server.name);
        const unsigned long window = run.Window();
        ASSERT_NE(window, 0u);
        EXPECT_TRUE(Eventually([&] {
            return Undrawn(Pixels(server.display, window, 0, 0, 640, 480)) < 0.5;
        })) << "no picture";

        XWindowAttributes a;
        ASSERT_NE(XGetWindowAttributes(server.display, window, &a), 0);
        EXPECT_EQ(std::vector<int>({a.map_state, a.x, a.y, a.width, a.height}),
                  std::vector<int>({IsViewable, 0, 0, 640, 480}));
        const std::vector<int> during = server.Crtc();
        EXPECT_EQ(std::vector<int>(during.begin(), during.begin() + 2), (std::vector<int>{640, 480}));
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(server.display, &focus, &revert);
        EXPECT_EQ(focus, window);

        if (test.byEscape)
            run.Keys("Escape");
        else
            kill(run.pid, SIGTERM);
        EXPECT_EQ(run.Wait(), test.byEscape ? 0 : 128 + SIGTERM);
        EXPECT_EQ(server.Crtc(), desktop) << "the desktop mode, and no mode made for the run";

        EXPECT_TRUE(Holds(run.File("sys_Log.log"),
                          "WARNING: r_Screen_Samples is 8, but the driver offers at most "));
        EXPECT_TRUE(Holds(run.File("sys_Config.conf"), "r_Screen_Samples            = 8\n"));
        EXPECT_EQ(run.File("stderr.txt"), "");
        ExpectClosedLog(run);
    }
}

} // namespace
