#pragma once

#include "gl/IObject.h"

#include <GL/glew.h>

#include <string>

namespace GL {

// Text drawn with one display list per byte code 0..255.
class IFont : public IObject {
public:
    static constexpr int Glyphs = 256;

    ~IFont() override;

    virtual void Print(int x, int y, const std::string& text) const = 0;
    virtual void Print(int x, int y, const char* text) const = 0;
    // Formats into a 1024-byte buffer; longer texts are cut.
    virtual void Printf(int x, int y, const char* format, ...) const
        __attribute__((format(printf, 4, 5))) = 0;

    GLuint GetListBase() const { return listBase; }

protected:
    IFont();

    GLuint listBase = 0;
};

} // namespace GL
