#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Media {

// Little-endian chunk builder for 3DS files. Begin() opens a chunk and End() closes the
// innermost one, patching its length; raw writes in between form the chunk's payload.
// Tests use it directly to build files with odd layouts (lying lengths, missing parts).
class ChunkWriter3DS {
public:
    void Begin(uint16_t id);
    void End();

    void U8(uint8_t value);
    void U16(uint16_t value);
    void U32(uint32_t value);
    void Float(float value);
    // Writes the characters and the terminating zero byte.
    void String(const std::string& text);
    void Bytes(const void* data, size_t size);

    // A whole chunk holding one value, for the version and scale chunks.
    void ChunkU32(uint16_t id, uint32_t value);
    void ChunkFloat(uint16_t id, float value);

    // Overwrites a 32-bit value already written, at a byte offset.
    void PatchU32(size_t offset, uint32_t value);

    size_t Size() const { return data.size(); }
    const std::vector<uint8_t>& Data() const { return data; }

private:
    std::vector<uint8_t> data;
    std::vector<size_t> open;
};

} // namespace Media
