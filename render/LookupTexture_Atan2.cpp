#include "render/LookupTexture_Atan2.h"

#include "gl/TextureCubeMap.h"
#include "render/LookupTextureTables.h"

namespace Korvo {

LookupTexture_Atan2::LookupTexture_Atan2()
{
    Name = "LookupTexture_Atan2";
    Kind = 1;
    Width = Height = LookupTextureTables::Atan2Size;
    const std::vector<uint8_t> table = LookupTextureTables::Atan2();
    Sys::Ptr<GL::TextureCubeMap> cube(new GL::TextureCubeMap());
    const GLenum faces[6] = {GL_TEXTURE_CUBE_MAP_POSITIVE_X, GL_TEXTURE_CUBE_MAP_NEGATIVE_X,
                             GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y,
                             GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z};
    const size_t faceSize = size_t(Width) * Height;
    // Rows are tightly packed; the default alignment is put back afterwards.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int f = 0; f < 6; ++f)
        cube->SetFace(faces[f], GL_LUMINANCE8, Width, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                      table.data() + f * faceSize);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    cube->SetFilter(GL_NEAREST, GL_NEAREST);
    cube->SetWrap(GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE);
    Texture = cube;
}

} // namespace Korvo
