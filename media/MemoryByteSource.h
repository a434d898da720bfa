#pragma once

#include "media/ByteSource.h"

namespace Media {

// Reads from bytes already in memory (tests, fuzzing, and whole files read at once).
// The bytes are not copied: they must outlive the source.
class MemoryByteSource : public ByteSource {
public:
    MemoryByteSource(const void* data, size_t size)
        : data(static_cast<const uint8_t*>(data)), size(size)
    {
    }

    size_t Read(void* buffer, size_t count) override;
    void Skip(uint64_t offset) override;

    uint64_t Position() const { return position; }

private:
    const uint8_t* data;
    size_t size;
    uint64_t position = 0;
};

} // namespace Media
