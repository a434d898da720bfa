#include "fuzz/media/FuzzSetup.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

void EnterScratchFolder(const char* name)
{
    std::filesystem::path base = std::filesystem::exists("/dev/shm") ? "/dev/shm"
                                                                     : std::filesystem::temp_directory_path();
    const std::filesystem::path folder = base / (std::string(name) + "." + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    if (chdir(folder.c_str()) != 0)
        std::abort();
}
