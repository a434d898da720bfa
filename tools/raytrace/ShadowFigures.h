#pragma once

#include <string>
#include <vector>

// How far a drawn shadow value lies from the ray-traced reference, judged by its tail
// (share of bad pixels, worst pixel in full shadow) and not only by its mean.
namespace RayTrace {

struct ShadowFigures {
    int Receivers = 0;            // pixels compared: surfaces facing the light, off the band
    int Penumbra = 0;             // receivers whose reference lies in (0.02, 0.98)
    int Umbra = 0;                // receivers whose reference lies below 0.02
    int Bad = 0;                  // receivers whose error exceeds 0.25
    double MeanError = 0.0;       // over receivers
    double PenumbraError = 0.0;   // mean over penumbra pixels
    double BadShare = 0.0;        // Bad / Receivers
    float UmbraWorst = 0.0f;      // largest error inside full umbra
    float Worst = 0.0f;           // largest error of any receiver
    int WorstX = -1, WorstY = -1;

    // One line: "receivers 1234, mean 0.0012, penumbra 0.0123 (456 px), >0.25 0.010 %, ...".
    std::string Describe() const;
};

// Pixels of the images run row by row, width x height. reference holds the soft visibility
// (or RayTrace::NoSurface / RayTrace::FacesAway), hard the visibility of the light's centre
// and objects the object seen in each pixel; drawn is the value under test. Pixels within
// `band` pixels of a change of the hard shadow, of the object seen or of the side of it
// turned to the light (the caster's own silhouette) are left out, as are
// those for which `excluded` (when not empty) is true.
ShadowFigures MeasureShadow(const std::vector<float>& reference, const std::vector<float>& hard,
                            const std::vector<int>& objects, const std::vector<float>& drawn,
                            int width, int height, int band,
                            const std::vector<bool>& excluded = std::vector<bool>());

// A picture of the error, RGB row by row from the top: grey for pixels left out, black
// where drawn and reference agree, red where the drawn value is too bright (light leaks),
// blue where it is too dark; full colour at an error of 0.5 and more.
std::vector<unsigned char> DifferenceImage(const std::vector<float>& reference,
                                           const std::vector<float>& hard,
                                           const std::vector<int>& objects,
                                           const std::vector<float>& drawn, int width,
                                           int height, int band);

} // namespace RayTrace
