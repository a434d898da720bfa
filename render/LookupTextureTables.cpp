#include "render/LookupTextureTables.h"

#include <cmath>

namespace Korvo {

std::vector<uint8_t> LookupTextureTables::Atan2()
{
    const float twoPi = 6.2831855f;
    const int n = Atan2Size;
    std::vector<uint8_t> table(size_t(6) * n * n);
    size_t at = 0;
    for (int face = 0; face < 6; ++face)
        for (int r = 0; r < n; ++r)
            for (int c = 0; c < n; ++c) {
                const float v = float(2 * r + 1) / float(n) - 1.0f;
                const float u = float(2 * c + 1) / float(n) - 1.0f;
                // The y and x components of the cube-map direction of the texel.
                float y = 0, x = 0;
                switch (face) {
                case 0: y = -v; x = 1.0f; break;
                case 1: y = -v; x = -1.0f; break;
                case 2: y = 1.0f; x = u; break;
                case 3: y = -1.0f; x = u; break;
                case 4: y = -v; x = u; break;
                case 5: y = -v; x = -u; break;
                }
                float a = std::atan2(y, x);
                if (a < 0.0f)
                    a += twoPi;
                float f = a / twoPi;
                f = f < 0.0f ? 0.0f : (f > 1.0f ? 1.0f : f);
                table[at++] = static_cast<uint8_t>(f * 255.0f);
            }
    return table;
}

std::vector<uint16_t> LookupTextureTables::AreaS()
{
    const int n = AreaSSize;
    std::vector<uint16_t> table(size_t(n) * n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            float d = std::fabs(float(i + 1) / float(n) - float(j + 1) / float(n));
            if (d > 0.5f)
                d = 1.0f - d;
            table[size_t(i) * n + j] = static_cast<uint16_t>(2.0f * d * 65535.0f);
        }
    return table;
}

} // namespace Korvo
