#pragma once

#include "app/Ptr.h"
#include "gl/IObject.h"
#include "gl/OutlineFont.h"
#include "gl/VertexBuffer.h"
#include "gl/VertexFormat.h"

#include <string>
#include <vector>

namespace GL {

class IRenderDevice;

// Whole strings of an outline font as vertex buffers: the first print of a text lays its
// glyphs' triangles out once into a buffer of its own, and every later print of the same
// text is one draw of that buffer, where printing through the font's display lists issues
// every glyph's triangles again. The cache holds a few strings; a text not printed for the
// longest time makes room for a new one (its buffer is reused), so a text that changes
// every second, such as a frame rate, does not grow it. Printing a cached text allocates
// nothing.
class TextGeometryCache : public IObject {
public:
    static constexpr int DefaultCapacity = 8;

    TextGeometryCache(Sys::Ptr<const OutlineFont> font, int capacity = DefaultCapacity);
    ~TextGeometryCache() override = default;

    std::string GetTypeName() const override { return "GL::TextGeometryCache"; }

    // Draws the text as the font's Print(x, y, text) does, under the current matrices,
    // program and state, with the position-only vertex format of the cache's buffers.
    void Print(IRenderDevice& device, int x, int y, const std::string& text);

    int GetCount() const { return static_cast<int>(entries.size()); }
    int GetCapacity() const { return capacity; }
    // How many times a text was laid out: once per miss.
    int GetLayouts() const { return layouts; }

private:
    struct Entry {
        std::string Text;
        Sys::Ptr<VertexBuffer> Vertices;   // null for a text without visible glyphs
        int Count = 0;
        unsigned long LastUse = 0;
    };

    const Entry& Find(const std::string& text);
    void Build(Entry& entry, const std::string& text);

    Sys::Ptr<const OutlineFont> font;
    int capacity;
    VertexFormat format;
    std::vector<Entry> entries;
    std::vector<float> scratch;
    unsigned long prints = 0;
    int layouts = 0;
};

} // namespace GL
