#include "render/PrimitiveBufferPattern.h"

namespace Korvo {

PrimitiveBufferPattern PrimitiveBufferPattern::Quad()
{
    PrimitiveBufferPattern p;
    p.VerticesPerPrimitive = 4;
    p.Components = 1;
    p.QuadValues = {1.0f, 0.0f, 0.0f, 1.0f};
    p.Indices = {0, 1, 2, 0, 2, 3};
    return p;
}

PrimitiveBufferPattern PrimitiveBufferPattern::WedgeS()
{
    PrimitiveBufferPattern p;
    p.VerticesPerPrimitive = 6;
    p.Components = 2;
    p.WedgeValues = {0, 0, 1, 1, 2, 1, 3, 0, 4, 0, 5, 0};
    p.Indices = {0, 1, 2, 0, 2, 3, 3, 2, 4, 4, 2, 1, 4, 1, 5, 5, 1, 0, 0, 3, 4, 0, 4, 5};
    return p;
}

PrimitiveBufferPattern PrimitiveBufferPattern::WedgeR()
{
    PrimitiveBufferPattern p;
    p.VerticesPerPrimitive = 10;
    p.Components = 2;
    for (int16_t k = 0; k < 10; ++k) {
        p.WedgeValues.push_back(k);
        p.WedgeValues.push_back(k == 1 || k == 2 ? 1 : 0);
    }
    // Fans around corners 2 and 1, closed by a fan around corner 0.
    p.Indices = {0, 1, 2, 0, 2, 3, 3, 2, 4, 4, 2, 5, 5, 2, 6, 6, 2, 1,
                 6, 1, 7, 7, 1, 8, 8, 1, 9, 9, 1, 0, 0, 3, 4, 0, 4, 5,
                 0, 5, 6, 0, 6, 7, 0, 7, 8, 0, 8, 9};
    return p;
}

std::vector<uint16_t> PrimitiveBufferPattern::RepeatIndices(int count) const
{
    std::vector<uint16_t> out;
    out.reserve(Indices.size() * count);
    for (int p = 0; p < count; ++p)
        for (uint16_t i : Indices)
            out.push_back(static_cast<uint16_t>(p * VerticesPerPrimitive + i));
    return out;
}

} // namespace Korvo
