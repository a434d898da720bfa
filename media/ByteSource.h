#pragma once

#include <cstddef>
#include <cstdint>

namespace Media {

// The two file operations the 3DS reader uses: an exact read and a forward seek from the
// current position. Reads throw Sys::Exception when fewer bytes are there than asked for;
// seeking past the end is allowed (as with a stdio stream) and only the next read fails.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads exactly size bytes and returns size.
    virtual size_t Read(void* buffer, size_t size) = 0;
    virtual void Skip(uint64_t offset) = 0;
};

} // namespace Media
