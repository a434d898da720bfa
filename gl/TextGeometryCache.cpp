#include "gl/TextGeometryCache.h"

#include "app/DeveloperException.h"
#include "gl/IRenderDevice.h"

#include <cstring>

namespace GL {

TextGeometryCache::TextGeometryCache(Sys::Ptr<const OutlineFont> font, int capacity)
    : font(font), capacity(capacity)
{
    if (!font)
        throw Sys::DeveloperException("Invalid <Font> parameter.");
    if (capacity < 1)
        throw Sys::DeveloperException("Invalid <Capacity> parameter: %d", capacity);
    format.AddAttribute(0, 3, GL_FLOAT);
    format.Compile();
    entries.reserve(capacity);
}

const TextGeometryCache::Entry& TextGeometryCache::Find(const std::string& text)
{
    ++prints;
    for (Entry& entry : entries) {
        if (entry.Text == text) {
            entry.LastUse = prints;
            return entry;
        }
    }
    Entry* slot = nullptr;
    if (static_cast<int>(entries.size()) < capacity) {
        entries.emplace_back();
        slot = &entries.back();
    } else {
        slot = &entries.front();
        for (Entry& entry : entries)
            if (entry.LastUse < slot->LastUse)
                slot = &entry;
    }
    Build(*slot, text);
    slot->LastUse = prints;
    return *slot;
}

void TextGeometryCache::Build(Entry& entry, const std::string& text)
{
    ++layouts;
    // Forget the old text first: should the upload fail, the slot must not claim it.
    entry.Text.clear();
    entry.Count = 0;
    scratch.clear();
    const int count = font->Layout(text.data(), text.size(), scratch);
    if (count > 0) {
        if (!entry.Vertices)
            entry.Vertices = Sys::Ptr<VertexBuffer>(new VertexBuffer(format, count, GL_STATIC_DRAW));
        else if (entry.Vertices->GetNumVertices() < count)
            entry.Vertices->Resize(count);
        void* data = entry.Vertices->Map();
        std::memcpy(data, scratch.data(), scratch.size() * sizeof(float));
        entry.Vertices->Unmap();
    }
    entry.Count = count;
    entry.Text = text;
}

void TextGeometryCache::Print(IRenderDevice& device, int x, int y, const std::string& text)
{
    const Entry& entry = Find(text);
    if (entry.Count == 0)
        return;
    // The same placement as the font's display lists: the glyphs are in ems.
    const float size = static_cast<float>(font->GetSize());
    glPushMatrix();
    glTranslatef(static_cast<float>(x), static_cast<float>(y), 0.0f);
    glScalef(size, size, 1.0f);
    device.SetVertexAttributes(entry.Vertices);
    device.DrawArrays(GL_TRIANGLES, 0, entry.Count);
    glPopMatrix();
}

} // namespace GL
