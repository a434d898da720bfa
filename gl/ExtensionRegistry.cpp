#include "gl/ExtensionRegistry.h"

#include "app/DeveloperException.h"
#include "app/InitOrder.h"
#include "platform/Platform.h"

#include <cstdio>

namespace GL {

Sys::Ptr<ExtensionRegistry> Extensions KORVO_INIT_ORDER(KORVO_INIT_GL);

ExtensionRegistry::ExtensionRegistry()
{
    if (Platform::wglGetCurrentContext() == nullptr)
        throw Sys::DeveloperException("Invalid current rendering context.");
    VersionString = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    ExtensionString = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    Fill();
}

ExtensionRegistry::ExtensionRegistry(const char* versionString, const char* extensionString)
{
    VersionString = versionString;
    ExtensionString = extensionString;
    Fill();
}

void ExtensionRegistry::Fill()
{
    Tokenise(ExtensionString, Extensions);

    GL_VERSION_1_1 = IsVersionSupported(1, 1);
    GL_VERSION_1_2 = IsVersionSupported(1, 2);
    GL_VERSION_1_3 = IsVersionSupported(1, 3);
    GL_VERSION_1_4 = IsVersionSupported(1, 4);
    GL_VERSION_1_5 = IsVersionSupported(1, 5);
    GL_VERSION_2_0 = IsVersionSupported(2, 0);
    GL_VERSION_2_1 = IsVersionSupported(2, 1);

#define KORVO_GL_EXTENSION(name) name = IsSupported(#name);
#include "gl/ExtensionList.h"
#undef KORVO_GL_EXTENSION
}

bool ExtensionRegistry::IsVersionSupported(int major, int minor) const
{
    int parsedMajor = 0;
    int parsedMinor = 0;
    if (VersionString == nullptr ||
        std::sscanf(VersionString, "%d.%d", &parsedMajor, &parsedMinor) < 2)
        throw Sys::Exception("Failed to query OpenGL version. Version string malformed!");
    return parsedMajor > major || (parsedMajor == major && parsedMinor >= minor);
}

} // namespace GL
