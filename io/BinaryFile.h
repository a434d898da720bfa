#pragma once

#include "io/BinaryStream.h"

namespace IO {

// A binary file opened for reading ("rb"); writing to it fails.
class BinaryFile : public BinaryStream {
public:
    explicit BinaryFile(const std::string& path);
    ~BinaryFile() override = default;

    int32_t Tell() override;
    // Throws "Error at fseek()." when the position cannot be set.
    void Seek(int32_t offset, int origin) override;
    // Throws "I/O error while read from binary file." on a short read.
    uint32_t Read(void* buffer, uint32_t size) override;
    // Throws "I/O error while write to binary file." on a short write.
    uint32_t Write(const void* buffer, uint32_t size) override;
};

} // namespace IO
