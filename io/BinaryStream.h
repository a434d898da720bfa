#pragma once

#include "io/File.h"

namespace IO {

// Sized reads and writes with explicit positioning.
class BinaryStream : public File {
public:
    ~BinaryStream() override = default;

    // Current position in bytes.
    virtual int32_t Tell() = 0;
    // origin: 0 from the start, 1 from the current position, 2 from the end.
    virtual void Seek(int32_t offset, int origin) = 0;
    // Reads exactly `size` bytes and returns `size`; anything less throws.
    virtual uint32_t Read(void* buffer, uint32_t size) = 0;
    // Writes exactly `size` bytes and returns `size`; anything less throws.
    virtual uint32_t Write(const void* buffer, uint32_t size) = 0;

protected:
    using File::File;
};

} // namespace IO
