#pragma once

#include <cstdint>
#include <vector>

namespace Korvo {

// The fixed part of the primitives drawn from silhouette edges: per primitive, the
// per-vertex constant that tells the vertex shader which corner a vertex is, and the
// triangle list over those corners. The primitive buffers repeat it 5000 times.
struct PrimitiveBufferPattern {
    int VerticesPerPrimitive = 0;
    int Components = 0;                  // values per vertex
    std::vector<float> QuadValues;       // quads: one float per vertex
    std::vector<int16_t> WedgeValues;    // wedges: (corner, marked) per vertex
    std::vector<uint16_t> Indices;       // one primitive's triangles

    static constexpr int Primitives = 5000;

    // (0, 1, 2), (0, 2, 3) with w = 1, 0, 0, 1: an edge and its extrusion to infinity.
    static PrimitiveBufferPattern Quad();
    // A closed solid of 6 corners and 8 triangles.
    static PrimitiveBufferPattern WedgeS();
    // A closed solid of 10 corners and 16 triangles.
    static PrimitiveBufferPattern WedgeR();

    // The index list of count primitives, primitive p offset by p * VerticesPerPrimitive.
    std::vector<uint16_t> RepeatIndices(int count = Primitives) const;
    template <class T>
    static std::vector<T> Repeat(const std::vector<T>& values, int count = Primitives)
    {
        std::vector<T> out;
        out.reserve(values.size() * count);
        for (int p = 0; p < count; ++p)
            out.insert(out.end(), values.begin(), values.end());
        return out;
    }
};

} // namespace Korvo
