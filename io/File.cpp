#include "io/File.h"

#include "app/Exception.h"

#include <sys/stat.h>

namespace IO {

File::File(const std::string& path, const char* streamMode)
{
    stream = std::fopen(path.c_str(), streamMode);
    // A directory opens for reading here, but it is no file: refuse it at once rather
    // than fail at the first read.
    struct stat info;
    if (stream != nullptr && fstat(fileno(stream), &info) == 0 && S_ISDIR(info.st_mode)) {
        std::fclose(stream);
        stream = nullptr;
    }
    if (stream == nullptr)
        throw Sys::Exception("Unable to open file \"%s\"", path.c_str());
    name = path;
}

File::~File()
{
    if (stream != nullptr)
        std::fclose(stream);
}

int32_t File::GetSize()
{
    const long position = std::ftell(stream);
    if (position < 0)
        return -1;
    if (std::fseek(stream, 0, SEEK_END) != 0)
        return -1;
    const long size = std::ftell(stream);
    std::fseek(stream, position, SEEK_SET);
    if (size < 0)
        return -1;
    return static_cast<int32_t>(size);
}

bool File::IsEOF()
{
    return std::feof(stream) != 0;
}

void File::Rewind()
{
    std::rewind(stream);
}

void File::Flush()
{
    if (std::fflush(stream) != 0)
        throw Sys::Exception("Error at fflush().");
}

} // namespace IO
