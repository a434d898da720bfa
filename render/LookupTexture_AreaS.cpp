#include "render/LookupTexture_AreaS.h"

#include "gl/Texture2D.h"
#include "render/LookupTextureTables.h"

namespace Korvo {

LookupTexture_AreaS::LookupTexture_AreaS()
{
    Name = "LookupTexture_AreaS";
    Kind = 2;
    Width = Height = LookupTextureTables::AreaSSize;
    const std::vector<uint16_t> table = LookupTextureTables::AreaS();
    // Rows are tightly packed; the default alignment is put back afterwards.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    Sys::Ptr<GL::Texture2D> texture(new GL::Texture2D(GL_LUMINANCE16, Width, Height, GL_LUMINANCE,
                                                      GL_UNSIGNED_SHORT, table.data()));
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    texture->SetFilter(GL_NEAREST, GL_NEAREST);
    texture->SetWrap(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    Texture = texture;
}

} // namespace Korvo
