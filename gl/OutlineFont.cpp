#include "gl/OutlineFont.h"

#include "app/Exception.h"
#include "platform/Platform.h"

#include <GL/glu.h>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <utility>

namespace GL {

namespace {

// Windows-1251 from 0x80 to 0xBF; 0xC0..0xFF are U+0410..U+044F in order.
const unsigned short cp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0000, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

using Point = std::array<double, 3>;
using Contour = std::vector<Point>;

// Collects a glyph's contours in ems while FreeType walks its outline.
struct OutlineWalk {
    std::vector<Contour> contours;
    double scale = 1.0;
    double deviation = 0.01;
    double lastX = 0.0;
    double lastY = 0.0;

    void Add(double x, double y)
    {
        contours.back().push_back(Point{x, y, 0.0});
        lastX = x;
        lastY = y;
    }
};

int MoveTo(const FT_Vector* to, void* user)
{
    auto* walk = static_cast<OutlineWalk*>(user);
    walk->contours.emplace_back();
    walk->Add(to->x * walk->scale, to->y * walk->scale);
    return 0;
}

int LineTo(const FT_Vector* to, void* user)
{
    auto* walk = static_cast<OutlineWalk*>(user);
    walk->Add(to->x * walk->scale, to->y * walk->scale);
    return 0;
}

void AddCurve(OutlineWalk* walk, const FT_Vector* const* points, int order)
{
    double x[4] = {walk->lastX};
    double y[4] = {walk->lastY};
    for (int i = 1; i < order; ++i) {
        x[i] = points[i - 1]->x * walk->scale;
        y[i] = points[i - 1]->y * walk->scale;
    }
    std::vector<double> outX, outY;
    OutlineFont::Flatten(x, y, order, walk->deviation, outX, outY);
    for (size_t i = 0; i < outX.size(); ++i)
        walk->Add(outX[i], outY[i]);
}

int ConicTo(const FT_Vector* control, const FT_Vector* to, void* user)
{
    const FT_Vector* points[] = {control, to};
    AddCurve(static_cast<OutlineWalk*>(user), points, 3);
    return 0;
}

int CubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to,
            void* user)
{
    const FT_Vector* points[] = {control1, control2, to};
    AddCurve(static_cast<OutlineWalk*>(user), points, 4);
    return 0;
}

// Tessellator callbacks: the triangles go straight into the display list being compiled,
// and a copy of them, as separate triangles in the order GL draws them, into the glyph's
// vertices for callers that draw whole strings from buffers.
struct Tessellation {
    std::deque<Point> combined;
    std::vector<float>* triangles = nullptr;
    GLenum type = GL_TRIANGLES;
    std::vector<const GLdouble*> primitive;
    bool failed = false;
};

void AddVertex(std::vector<float>& out, const GLdouble* vertex)
{
    out.push_back(static_cast<float>(vertex[0]));
    out.push_back(static_cast<float>(vertex[1]));
    out.push_back(static_cast<float>(vertex[2]));
}

// A primitive of the tessellator as separate triangles; odd triangles of a strip swap their
// first two corners so that all keep the strip's facing, as GL does.
void AddTriangles(std::vector<float>& out, GLenum type, const std::vector<const GLdouble*>& v)
{
    const size_t n = v.size();
    for (size_t i = 0; i + 2 < n; i += type == GL_TRIANGLES ? 3 : 1) {
        const GLdouble* a = v[i];
        const GLdouble* b = v[i + 1];
        if (type == GL_TRIANGLE_FAN) {
            a = v[0];
            b = v[i + 1];
        } else if (type == GL_TRIANGLE_STRIP && i % 2 == 1) {
            std::swap(a, b);
        }
        AddVertex(out, a);
        AddVertex(out, b);
        AddVertex(out, v[i + 2]);
    }
}

void GLAPIENTRY TessBegin(GLenum type, void* data)
{
    auto* tessellation = static_cast<Tessellation*>(data);
    tessellation->type = type;
    tessellation->primitive.clear();
    glBegin(type);
}

void GLAPIENTRY TessVertex(void* vertex, void* data)
{
    static_cast<Tessellation*>(data)->primitive.push_back(static_cast<const GLdouble*>(vertex));
    glVertex3dv(static_cast<const GLdouble*>(vertex));
}

void GLAPIENTRY TessEnd(void* data)
{
    auto* tessellation = static_cast<Tessellation*>(data);
    glEnd();
    AddTriangles(*tessellation->triangles, tessellation->type, tessellation->primitive);
}

void GLAPIENTRY TessError(GLenum, void* data) { static_cast<Tessellation*>(data)->failed = true; }
void GLAPIENTRY TessCombine(GLdouble coords[3], void*[4], GLfloat[4], void** out, void* data)
{
    auto* tessellation = static_cast<Tessellation*>(data);
    tessellation->combined.push_back(Point{coords[0], coords[1], coords[2]});
    *out = tessellation->combined.back().data();
}

using Callback = void(GLAPIENTRY*)();

// Fills the contours (at their own z) as one polygon facing `normalZ`.
bool FillFace(GLUtesselator* tess, std::vector<Contour>& contours, double normalZ,
              std::vector<float>& triangles)
{
    Tessellation tessellation;
    tessellation.triangles = &triangles;
    glNormal3d(0.0, 0.0, normalZ);
    gluTessNormal(tess, 0.0, 0.0, normalZ);
    gluTessBeginPolygon(tess, &tessellation);
    for (Contour& contour : contours) {
        gluTessBeginContour(tess);
        for (Point& point : contour)
            gluTessVertex(tess, point.data(), point.data());
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
    return !tessellation.failed;
}

// The walls between the front face at z = 0 and the back face at z = -depth.
void Extrude(const std::vector<Contour>& contours, double depth, std::vector<float>& triangles)
{
    for (const Contour& contour : contours) {
        glBegin(GL_QUADS);
        for (size_t i = 0; i < contour.size(); ++i) {
            const Point& a = contour[i];
            const Point& b = contour[(i + 1) % contour.size()];
            const double dx = b[0] - a[0];
            const double dy = b[1] - a[1];
            const double length = std::sqrt(dx * dx + dy * dy);
            if (length <= 0.0)
                continue;
            glNormal3d(dy / length, -dx / length, 0.0);
            glVertex3d(a[0], a[1], 0.0);
            glVertex3d(a[0], a[1], -depth);
            glVertex3d(b[0], b[1], -depth);
            glVertex3d(b[0], b[1], 0.0);
            const GLdouble corners[4][3] = {
                {a[0], a[1], 0.0}, {a[0], a[1], -depth}, {b[0], b[1], -depth}, {b[0], b[1], 0.0}};
            AddTriangles(triangles, GL_TRIANGLE_FAN,
                         {corners[0], corners[1], corners[2], corners[3]});
        }
        glEnd();
    }
}

struct FreeTypeFace {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~FreeTypeFace()
    {
        if (face != nullptr)
            FT_Done_Face(face);
        if (library != nullptr)
            FT_Done_FreeType(library);
    }
};

// The font file fontconfig picks for a family name (any outline face for an empty name).
bool MatchFace(const std::string& family, std::string& file, int& index)
{
    if (!FcInit())
        return false;
    FcPattern* pattern = FcPatternCreate();
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddBool(pattern, FC_OUTLINE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr)
        return false;
    FcChar8* path = nullptr;
    const bool found = FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch;
    if (found)
        file = reinterpret_cast<const char*>(path);
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch)
        index = 0;
    FcPatternDestroy(match);
    return found;
}

} // namespace

unsigned int OutlineFont::FromCodePage1251(unsigned char code)
{
    if (code < 0x80)
        return code;
    if (code >= 0xC0)
        return 0x0410u + (code - 0xC0u);
    return cp1251High[code - 0x80];
}

void OutlineFont::Flatten(const double* x, const double* y, int order, double deviation,
                          std::vector<double>& outX, std::vector<double>& outY)
{
    // A Bezier segment cut into n equal parameter steps strays from its chords by at most
    // (its second difference) / n^2 times a constant of the order.
    double bend = 0.0;
    for (int i = 0; i + 2 < order; ++i) {
        const double ddx = x[i] - 2.0 * x[i + 1] + x[i + 2];
        const double ddy = y[i] - 2.0 * y[i + 1] + y[i + 2];
        bend = std::max(bend, std::sqrt(ddx * ddx + ddy * ddy));
    }
    const double factor = order == 3 ? 0.25 : 0.75;
    // No deviation at all asks for the finest outline worth having: a thousandth of an em
    // is far below a pixel at any size the overlay draws.
    const double tolerance = std::max(deviation, 1e-3);
    int steps = static_cast<int>(std::ceil(std::sqrt(factor * bend / tolerance)));
    steps = std::min(std::max(steps, 1), 64);
    for (int i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double s = 1.0 - t;
        if (order == 3) {
            outX.push_back(s * s * x[0] + 2.0 * s * t * x[1] + t * t * x[2]);
            outY.push_back(s * s * y[0] + 2.0 * s * t * y[1] + t * t * y[2]);
        } else {
            outX.push_back(s * s * s * x[0] + 3.0 * s * s * t * x[1] + 3.0 * s * t * t * x[2] +
                           t * t * t * x[3]);
            outY.push_back(s * s * s * y[0] + 3.0 * s * s * t * y[1] + 3.0 * s * t * t * y[2] +
                           t * t * t * y[3]);
        }
    }
}

OutlineFont::OutlineFont(const std::string& faceName, float deviation, float extrusion)
{
    if (Platform::wglGetCurrentDC() == nullptr)
        throw Sys::Exception(*this, "Failed to get current DC.");

    std::string file;
    int index = 0;
    FreeTypeFace ft;
    const std::string family = faceName.size() < 32 ? faceName : std::string();
    if (!MatchFace(family, file, index) || FT_Init_FreeType(&ft.library) != 0 ||
        FT_New_Face(ft.library, file.c_str(), index, &ft.face) != 0)
        throw Sys::Exception(*this, "Failed to create font.");
    if (!FT_IS_SCALABLE(ft.face) || ft.face->units_per_EM == 0)
        throw Sys::Exception(*this, "Failed to get metrics for selected font.");

    OutlineWalk walk;
    walk.scale = 1.0 / ft.face->units_per_EM;
    walk.deviation = deviation;
    FT_Outline_Funcs funcs = {};
    funcs.move_to = MoveTo;
    funcs.line_to = LineTo;
    funcs.conic_to = ConicTo;
    funcs.cubic_to = CubicTo;

    GLUtesselator* tess = gluNewTess();
    if (tess == nullptr)
        throw Sys::Exception(*this, "Failed to create glyph outlines.");
    gluTessProperty(tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_NONZERO);
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Callback>(TessBegin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Callback>(TessVertex));
    gluTessCallback(tess, GLU_TESS_END_DATA, reinterpret_cast<Callback>(TessEnd));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Callback>(TessError));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Callback>(TessCombine));

    bool failed = false;
    for (int code = 0; code < Glyphs && !failed; ++code) {
        walk.contours.clear();
        double advance = 0.0;
        const unsigned int character = FromCodePage1251(static_cast<unsigned char>(code));
        const FT_UInt glyph = character != 0 ? FT_Get_Char_Index(ft.face, character) : 0;
        if (glyph != 0 &&
            FT_Load_Glyph(ft.face, glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) == 0 &&
            ft.face->glyph->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (FT_Outline_Decompose(&ft.face->glyph->outline, &funcs, &walk) != 0)
                failed = true;
            advance = ft.face->glyph->advance.x * walk.scale;
        }
        // FreeType closes each contour by returning to its start; the tessellator and
        // the walls want every point once.
        for (Contour& contour : walk.contours) {
            if (contour.size() > 1 && contour.front() == contour.back())
                contour.pop_back();
        }
        walk.contours.erase(std::remove_if(walk.contours.begin(), walk.contours.end(),
                                           [](const Contour& c) { return c.size() < 3; }),
                            walk.contours.end());

        glyphFirst[code] = static_cast<int>(glyphVertices.size() / 3);
        glNewList(listBase + code, GL_COMPILE);
        if (!walk.contours.empty()) {
            failed = failed || !FillFace(tess, walk.contours, 1.0, glyphVertices);
            if (extrusion != 0.0f) {
                std::vector<Contour> back = walk.contours;
                for (Contour& contour : back)
                    for (Point& point : contour)
                        point[2] = -extrusion;
                failed = failed || !FillFace(tess, back, -1.0, glyphVertices);
                Extrude(walk.contours, extrusion, glyphVertices);
            }
        }
        glTranslated(advance, 0.0, 0.0);
        glEndList();
        // The list moves the pen in single precision; so does Layout.
        glyphAdvance[code] = static_cast<float>(advance);
    }
    glyphFirst[Glyphs] = static_cast<int>(glyphVertices.size() / 3);
    gluDeleteTess(tess);
    if (failed)
        throw Sys::Exception(*this, "Failed to create glyph outlines.");

    // A font asked for with a cell height of 14 has a text height of 14.
    size = Height;
}

void OutlineFont::Draw(int x, int y, const char* text, size_t length) const
{
    glPushAttrib(GL_LIST_BIT);
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    glScalef(static_cast<float>(size), static_cast<float>(size), 1.0f);
    glListBase(listBase);
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
    glPopMatrix();
    glPopAttrib();
}

int OutlineFont::Layout(const char* text, size_t length, std::vector<float>& vertices) const
{
    const size_t start = vertices.size();
    float pen = 0.0f;
    for (size_t i = 0; i < length; ++i) {
        const int code = static_cast<unsigned char>(text[i]);
        for (int v = glyphFirst[code]; v < glyphFirst[code + 1]; ++v) {
            vertices.push_back(glyphVertices[3 * v] + pen);
            vertices.push_back(glyphVertices[3 * v + 1]);
            vertices.push_back(glyphVertices[3 * v + 2]);
        }
        pen += glyphAdvance[code];
    }
    return static_cast<int>((vertices.size() - start) / 3);
}

void OutlineFont::Print(int x, int y, const std::string& text) const
{
    Draw(x, y, text.c_str(), text.size());
}

void OutlineFont::Print(int x, int y, const char* text) const
{
    if (text != nullptr)
        Draw(x, y, text, std::strlen(text));
}

void OutlineFont::Printf(int x, int y, const char* format, ...) const
{
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written < 0)
        return;
    Draw(x, y, buffer, std::strlen(buffer));
}

} // namespace GL
