#pragma once

#include "gl/IFont.h"

#include <vector>

namespace GL {

// Polygonal text from a TrueType face: each glyph's outline is flattened to a chordal
// deviation, its front face filled, and with a non-zero extrusion a back face and sides
// added behind it. Glyphs are one em high in list units; printing scales them by the
// font's text height, so one unit of the current matrix is one pixel of an overlay.
class OutlineFont : public IFont {
public:
    // The text height the font is made with.
    static constexpr int Height = 14;

    // faceName: a family name that fontconfig resolves (names of 32 characters or more
    // are dropped and the default face is used). deviation and extrusion are in ems.
    OutlineFont(const std::string& faceName, float deviation, float extrusion);
    ~OutlineFont() override = default;

    std::string GetTypeName() const override { return "GL::OutlineFont"; }

    void Print(int x, int y, const std::string& text) const override;
    void Print(int x, int y, const char* text) const override;
    void Printf(int x, int y, const char* format, ...) const override
        __attribute__((format(printf, 4, 5)));

    int GetSize() const { return size; }

    // Appends the triangles that printing the text draws, as x, y, z floats in ems (before
    // the scale by the size), each glyph moved along by the advances of those before it;
    // returns the number of vertices appended. Front faces are counter-clockwise.
    int Layout(const char* text, size_t length, std::vector<float>& vertices) const;

    // The Unicode character the Windows-1251 code page puts at `code` (0 where none).
    static unsigned int FromCodePage1251(unsigned char code);

    // Points of a quadratic (3 control points) or cubic (4) Bezier segment after the
    // first, flattened so that no chord strays further than `deviation` from the curve.
    static void Flatten(const double* controlX, const double* controlY, int order,
                        double deviation, std::vector<double>& outX, std::vector<double>& outY);

private:
    void Draw(int x, int y, const char* text, size_t length) const;

    int size = 0;
    // Every glyph's triangles in ems, glyph after glyph: code c owns the vertices from
    // glyphFirst[c] up to glyphFirst[c + 1].
    std::vector<float> glyphVertices;
    int glyphFirst[Glyphs + 1] = {};
    float glyphAdvance[Glyphs] = {};
};

} // namespace GL
