#pragma once

#include <string>
#include <vector>

// The program's arguments:
//
//     korvo [--dir DIR] [--set name=value]... [--help] [--version]
//
// The process's own command line is taken before any global object is built (the
// KORVO_INIT_ARGS stage): --dir changes the working folder before the log opens in it, and
// --help, --version and wrong arguments end the process there, having written no file.
// The --set values wait until start-up has read the configuration file (ApplySettings).
class CommandLine {
public:
    enum Outcome { Run, Help, Version, Wrong };

    struct Setting {
        std::string Name;
        std::string Value;
    };

    // Reads the arguments after the program name. On Wrong, Error says why.
    Outcome Parse(int argc, const char* const* argv);

    std::string Dir;
    std::vector<Setting> Settings;
    std::string Error;

    static const char* Usage();

    // This process's command line, as taken before the global objects were built.
    static const CommandLine& Current();

    // Sets the --set variables, after the configuration file was read; an unknown name
    // or a value that does not parse throws.
    static void ApplySettings();

    // Exit code for wrong arguments, distinct from a failed run (1).
    static constexpr int ExitUsage = 2;
};
