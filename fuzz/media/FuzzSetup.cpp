#include "fuzz/media/FuzzSetup.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

void EnterScratchFolder(const char* name, int* argc, char*** argv)
{
    namespace fs = std::filesystem;
    for (int i = 1; argc != nullptr && i < *argc; ++i) {
        char*& arg = (*argv)[i];
        if (arg[0] != '-' && fs::exists(arg) && !fs::path(arg).is_absolute())
            arg = strdup(fs::absolute(arg).c_str());
        const char* eq = std::strchr(arg, '=');
        if (arg[0] == '-' && eq != nullptr && std::strncmp(arg, "-artifact_prefix=", 17) == 0 &&
            eq[1] != '/') {
            const std::string absolute = std::string("-artifact_prefix=") +
                                         (fs::current_path() / (eq + 1)).string();
            arg = strdup(absolute.c_str());
        }
    }
    const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path folder = base / (std::string(name) + "." + std::to_string(getpid()));
    fs::create_directories(folder);
    if (chdir(folder.c_str()) != 0)
        std::abort();
}
