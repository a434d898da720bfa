#include "tools/modelwriters/ChunkWriter3DS.h"

#include <cstring>
#include <stdexcept>

namespace Media {

void ChunkWriter3DS::Begin(uint16_t id)
{
    open.push_back(data.size());
    U16(id);
    U32(0);
}

void ChunkWriter3DS::End()
{
    if (open.empty())
        throw std::logic_error("ChunkWriter3DS::End without an open chunk");
    const size_t start = open.back();
    open.pop_back();
    PatchU32(start + 2, static_cast<uint32_t>(data.size() - start));
}

void ChunkWriter3DS::U8(uint8_t value) { data.push_back(value); }

void ChunkWriter3DS::U16(uint16_t value)
{
    data.push_back(static_cast<uint8_t>(value & 0xFF));
    data.push_back(static_cast<uint8_t>(value >> 8));
}

void ChunkWriter3DS::U32(uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        data.push_back(static_cast<uint8_t>((value >> (8 * i)) & 0xFF));
}

void ChunkWriter3DS::Float(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    U32(bits);
}

void ChunkWriter3DS::String(const std::string& text)
{
    Bytes(text.data(), text.size());
    U8(0);
}

void ChunkWriter3DS::Bytes(const void* bytes, size_t size)
{
    const uint8_t* p = static_cast<const uint8_t*>(bytes);
    data.insert(data.end(), p, p + size);
}

void ChunkWriter3DS::ChunkU32(uint16_t id, uint32_t value)
{
    Begin(id);
    U32(value);
    End();
}

void ChunkWriter3DS::ChunkFloat(uint16_t id, float value)
{
    Begin(id);
    Float(value);
    End();
}

void ChunkWriter3DS::PatchU32(size_t offset, uint32_t value)
{
    if (offset + 4 > data.size())
        throw std::out_of_range("ChunkWriter3DS::PatchU32 past the end");
    for (int i = 0; i < 4; ++i)
        data[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

} // namespace Media
