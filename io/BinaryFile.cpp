#include "io/BinaryFile.h"

#include "app/Exception.h"

namespace IO {

BinaryFile::BinaryFile(const std::string& path) : BinaryStream(path, "rb") {}

int32_t BinaryFile::Tell()
{
    return static_cast<int32_t>(std::ftell(stream));
}

void BinaryFile::Seek(int32_t offset, int origin)
{
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (origin < 0 || origin > 2 || std::fseek(stream, offset, whence[origin]) != 0)
        throw Sys::Exception("Error at fseek().");
}

uint32_t BinaryFile::Read(void* buffer, uint32_t size)
{
    if (size == 0)
        return 0;
    if (std::fread(buffer, 1, size, stream) != size)
        throw Sys::Exception("I/O error while read from binary file.");
    return size;
}

uint32_t BinaryFile::Write(const void* buffer, uint32_t size)
{
    if (size == 0)
        return 0;
    if (std::fwrite(buffer, 1, size, stream) != size || std::ferror(stream))
        throw Sys::Exception("I/O error while write to binary file.");
    return size;
}

} // namespace IO
