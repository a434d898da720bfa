#include "media/MemoryByteSource.h"

#include "app/Exception.h"

#include <cstring>

namespace Media {

size_t MemoryByteSource::Read(void* buffer, size_t count)
{
    if (position > size || count > size - position)
        throw Sys::Exception("I/O error while read from binary file.");
    if (count > 0)
        std::memcpy(buffer, data + position, count);
    position += count;
    return count;
}

void MemoryByteSource::Skip(uint64_t offset)
{
    // A stdio stream accepts any position up to the largest signed long.
    if (offset > static_cast<uint64_t>(INT64_MAX) - position)
        throw Sys::Exception("Error at fseek().");
    position += offset;
}

} // namespace Media
