#include "tools/raytrace/ShadowFigures.h"

#include "tools/raytrace/RayTracer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace RayTrace {

namespace {

// What a pixel shows, for finding the band: the object seen and whether the light's
// centre reaches it; -1 for no surface. A surface turned away from the light is a class of
// its own: where it meets the lit side lies the caster's own hard silhouette, and which
// facet a pixel there shows decides whether it is lit.
int PixelClass(const std::vector<float>& hard, const std::vector<int>& objects, size_t i)
{
    if (hard[i] == NoSurface)
        return -1;
    return objects[i] * 3 + (hard[i] == FacesAway ? 2 : hard[i] > 0.5f ? 1 : 0);
}

// Per pixel, whether it lies within `band` pixels of a pixel of another class.
std::vector<bool> Band(const std::vector<float>& hard, const std::vector<int>& objects,
                       int width, int height, int band)
{
    std::vector<bool> near(hard.size(), false);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            const int own = PixelClass(hard, objects, i);
            for (int dy = -band; dy <= band && !near[i]; ++dy)
                for (int dx = -band; dx <= band; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= width || ny >= height)
                        continue;
                    if (PixelClass(hard, objects, static_cast<size_t>(ny) * width + nx) != own) {
                        near[i] = true;
                        break;
                    }
                }
        }
    return near;
}

} // namespace

std::string ShadowFigures::Describe() const
{
    char text[256];
    std::snprintf(text, sizeof(text),
                  "receivers %d, mean %.4f, penumbra %.4f (%d px), >0.25 %.3f %% (%d px), "
                  "umbra worst %.3f (%d px), worst %.3f at %d,%d",
                  Receivers, MeanError, PenumbraError, Penumbra, 100.0 * BadShare, Bad,
                  UmbraWorst, Umbra, Worst, WorstX, WorstY);
    return text;
}

ShadowFigures MeasureShadow(const std::vector<float>& reference, const std::vector<float>& hard,
                            const std::vector<int>& objects, const std::vector<float>& drawn,
                            int width, int height, int band, const std::vector<bool>& excluded)
{
    const std::vector<bool> near = Band(hard, objects, width, height, band);
    ShadowFigures f;
    double sum = 0.0, penumbraSum = 0.0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const size_t i = static_cast<size_t>(y) * width + x;
            if (reference[i] < 0.0f || near[i] || (!excluded.empty() && excluded[i]))
                continue;
            const float error = std::fabs(drawn[i] - reference[i]);
            ++f.Receivers;
            sum += error;
            if (error > 0.25f)
                ++f.Bad;
            if (reference[i] < 0.02f) {
                ++f.Umbra;
                f.UmbraWorst = std::max(f.UmbraWorst, error);
            } else if (reference[i] < 0.98f) {
                ++f.Penumbra;
                penumbraSum += error;
            }
            if (error > f.Worst) {
                f.Worst = error;
                f.WorstX = x;
                f.WorstY = y;
            }
        }
    if (f.Receivers > 0) {
        f.MeanError = sum / f.Receivers;
        f.BadShare = static_cast<double>(f.Bad) / f.Receivers;
    }
    if (f.Penumbra > 0)
        f.PenumbraError = penumbraSum / f.Penumbra;
    return f;
}

std::vector<unsigned char> DifferenceImage(const std::vector<float>& reference,
                                           const std::vector<float>& hard,
                                           const std::vector<int>& objects,
                                           const std::vector<float>& drawn, int width,
                                           int height, int band)
{
    const std::vector<bool> near = Band(hard, objects, width, height, band);
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3, 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            // Images run from the bottom; pictures from the top.
            const size_t i = static_cast<size_t>(y) * width + x;
            unsigned char* out = &rgb[(static_cast<size_t>(height - 1 - y) * width + x) * 3];
            if (reference[i] < 0.0f || near[i]) {
                out[0] = out[1] = out[2] = 64;
                continue;
            }
            const float error = drawn[i] - reference[i];
            const auto level = static_cast<unsigned char>(std::min(1.0f, std::fabs(error) * 2.0f) * 255.0f);
            out[error > 0.0f ? 0 : 2] = level;
        }
    return rgb;
}

} // namespace RayTrace
