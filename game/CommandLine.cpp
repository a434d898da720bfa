#include "game/CommandLine.h"

#include "app/InitOrder.h"
#include "config/ConfigSystem.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifndef KORVO_VERSION
#define KORVO_VERSION "unknown"
#endif

namespace {

// Built by its first use, in TakeCommandLine: a plain global would be built after every
// staged one and so wipe what was taken.
CommandLine& Taken()
{
    static CommandLine commandLine;
    return commandLine;
}

bool TakeValue(int argc, const char* const* argv, int& i, std::string& value, std::string& error)
{
    const std::string option = argv[i];
    if (i + 1 >= argc) {
        error = option + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

// Called by the C library with the process's arguments before the global objects of the
// later stages are built.
__attribute__((constructor(KORVO_INIT_ARGS))) void TakeCommandLine(int argc, char** argv, char**)
{
    const char* program = argc > 0 && argv[0] != nullptr ? argv[0] : "korvo";
    if (const char* slash = std::strrchr(program, '/'))
        program = slash + 1;
    switch (Taken().Parse(argc, argv)) {
    case CommandLine::Help:
        std::fputs(CommandLine::Usage(), stdout);
        std::exit(0);
    case CommandLine::Version:
        std::printf("%s %s\n", program, KORVO_VERSION);
        std::exit(0);
    case CommandLine::Wrong:
        std::fprintf(stderr, "%s: %s\n\n%s", program, Taken().Error.c_str(),
                     CommandLine::Usage());
        std::exit(CommandLine::ExitUsage);
    case CommandLine::Run:
        break;
    }
    if (!Taken().Dir.empty() && chdir(Taken().Dir.c_str()) != 0) {
        std::fprintf(stderr, "%s: cannot work in \"%s\": %s\n", program,
                     Taken().Dir.c_str(), std::strerror(errno));
        std::exit(CommandLine::ExitUsage);
    }
}

} // namespace

CommandLine::Outcome CommandLine::Parse(int argc, const char* const* argv)
{
    bool help = false, version = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help") {
            help = true;
        } else if (argument == "--version") {
            version = true;
        } else if (argument == "--dir") {
            if (!TakeValue(argc, argv, i, Dir, Error))
                return Wrong;
            if (Dir.empty()) {
                Error = "--dir needs a folder";
                return Wrong;
            }
        } else if (argument == "--set") {
            std::string item;
            if (!TakeValue(argc, argv, i, item, Error))
                return Wrong;
            const size_t equals = item.find('=');
            if (equals == std::string::npos || equals == 0) {
                Error = "--set takes name=value, not \"" + item + "\"";
                return Wrong;
            }
            Settings.push_back({item.substr(0, equals), item.substr(equals + 1)});
        } else {
            Error = "unknown argument \"" + argument + "\"";
            return Wrong;
        }
    }
    if (help)
        return Help;
    return version ? Version : Run;
}

const char* CommandLine::Usage()
{
    return "Usage: korvo [--dir DIR] [--set name=value]... [--help] [--version]\n"
           "\n"
           "Runs the demo in a window until Escape is pressed or the window is closed.\n"
           "\n"
           "  --dir DIR          work in DIR: sys_Config.conf and sys_Log.log are read and\n"
           "                     written there, and data files are taken from DIR/MediaData/\n"
           "                     when they are there, otherwise from the installed data folder\n"
           "  --set name=value   set a configuration variable after sys_Config.conf was read\n"
           "                     (the value is saved with the others at the end); repeatable\n"
           "  --help             show this text and exit\n"
           "  --version          show the version and exit\n"
           "\n"
           "Exit codes: 0 normal end, 1 the run failed (the message box and sys_Log.log say\n"
           "why), 2 wrong arguments.\n";
}

const CommandLine& CommandLine::Current()
{
    return Taken();
}

void CommandLine::ApplySettings()
{
    for (const Setting& setting : Taken().Settings)
        ConfigSystem::Instance().Override(setting.Name, setting.Value);
}
