#include "io/DataFolder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#ifndef KORVO_DATA_FROM_PROGRAM
#define KORVO_DATA_FROM_PROGRAM "../share/korvo"
#endif

namespace IO {

namespace {

bool IsFile(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The folder of the running program, with a trailing "/"; empty when unknown.
std::string ProgramFolder()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof(buffer) - 1);
    if (length <= 0)
        return std::string();
    const std::string program(buffer, static_cast<size_t>(length));
    const size_t slash = program.rfind('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

} // namespace

const std::vector<std::string>& DataFolder::Fallbacks()
{
    static const std::vector<std::string> folders = [] {
        std::vector<std::string> list;
        const std::string program = ProgramFolder();
        if (!program.empty()) {
            list.push_back(program);
            list.push_back(program + KORVO_DATA_FROM_PROGRAM + "/");
        }
        return list;
    }();
    return folders;
}

std::string DataFolder::Find(const std::string& path)
{
    if (path.empty() || path[0] == '/' || IsFile(path))
        return path;
    for (const std::string& folder : Fallbacks())
        if (IsFile(folder + path))
            return folder + path;
    return path;
}

} // namespace IO
