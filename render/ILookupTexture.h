#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"

#include <string>

namespace GL {
class ITexture;
}

namespace Korvo {

// A table computed once on the CPU and uploaded as a texture with nearest filtering, so
// that the soft-shadow shaders fetch exact values instead of computing them.
class ILookupTexture : public IObject {
public:
    ~ILookupTexture() override;
    std::string GetTypeName() const override { return "Korvo::LookupTexture"; }

    Sys::Ptr<GL::ITexture> GetTexture() const { return Texture; }

    std::string Name;
    int Kind = 0;   // 1: cube map, 2: 2D table
    int Width = 0;
    int Height = 0;

protected:
    Sys::Ptr<GL::ITexture> Texture;
};

} // namespace Korvo
