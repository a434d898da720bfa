#pragma once

#include "app/Ptr.h"
#include "gl/IObject.h"

#include <string>

namespace GL {

// A version text split into numbers: "2.1.2 NVIDIA 169.21" gives 2, 1, 2 and the vendor
// text "NVIDIA 169.21".
struct VersionDesc {
    std::string String;
    std::string VendorString;
    int Major = 0;
    int Minor = 0;
    int Release = 0;

    // Raises the malformed-version error when fewer than two numbers lead the text.
    static VersionDesc Parse(const char* text);
};

// Vendor, renderer and the three version texts of the current context. Reads the
// process-wide extension registry, which must exist before it.
class DriverDesc : public IObject {
public:
    DriverDesc();
    ~DriverDesc() override = default;

    std::string GetTypeName() const override { return "GL::DriverDesc"; }

    std::string Vendor;
    std::string Renderer;
    VersionDesc Version;
    VersionDesc ShadingLanguageVersion;
    VersionDesc GLUVersion;
};

extern Sys::Ptr<DriverDesc> Driver;

} // namespace GL
