#include "gl/DriverDesc.h"

#include "app/DeveloperException.h"
#include "app/InitOrder.h"
#include "gl/ExtensionRegistry.h"
#include "platform/Platform.h"

#include <GL/glu.h>

#include <cstdio>
#include <cstring>

namespace GL {

Sys::Ptr<DriverDesc> Driver KORVO_INIT_ORDER(KORVO_INIT_GL);

VersionDesc VersionDesc::Parse(const char* text)
{
    VersionDesc desc;
    if (text == nullptr ||
        std::sscanf(text, "%d.%d.%d", &desc.Major, &desc.Minor, &desc.Release) < 2)
        throw Sys::Exception("Failed to query version. Version string malformed!");
    desc.String = text;
    if (const char* blank = std::strchr(text, ' '))
        desc.VendorString = blank + 1;
    return desc;
}

namespace {

const char* Text(const GLubyte* s)
{
    return s != nullptr ? reinterpret_cast<const char*>(s) : "";
}

} // namespace

DriverDesc::DriverDesc()
{
    if (Platform::wglGetCurrentContext() == nullptr)
        throw Sys::DeveloperException(Sys::DeveloperException::ERR_INVALID_CALL,
                                      "Invalid current rendering context.");
    Vendor = Text(glGetString(GL_VENDOR));
    Renderer = Text(glGetString(GL_RENDERER));
    Version = VersionDesc::Parse(reinterpret_cast<const char*>(glGetString(GL_VERSION)));
    if (Extensions && (Extensions->GL_VERSION_2_0 || Extensions->GL_ARB_shading_language_100))
        ShadingLanguageVersion = VersionDesc::Parse(
            reinterpret_cast<const char*>(glGetString(GL_SHADING_LANGUAGE_VERSION)));
    GLUVersion = VersionDesc::Parse(reinterpret_cast<const char*>(gluGetString(GLU_VERSION)));
}

} // namespace GL
