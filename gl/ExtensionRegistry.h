#pragma once

#include "app/Ptr.h"
#include "gl/ExtensionMacros.h"
#include "gl/ExtensionRegistryWGL.h"
#include "gl/IExtensionRegistry.h"

namespace GL {

// The OpenGL version and extensions of the current context, recorded once at start-up.
// The rest of the GL layer and the renderer read the flags instead of asking the driver.
class ExtensionRegistry : public IExtensionRegistry {
public:
    // Reads GL_VERSION and GL_EXTENSIONS of the current context.
    ExtensionRegistry();
    // Builds the registry from given texts (the strings must outlive the registry).
    ExtensionRegistry(const char* versionString, const char* extensionString);
    ~ExtensionRegistry() override = default;

    std::string GetTypeName() const override { return "GL::ExtensionRegistry"; }

    // True when VersionString ("major.minor...") is at least major.minor; parsed per call.
    bool IsVersionSupported(int major, int minor) const;

    bool GL_VERSION_1_1 = false;
    bool GL_VERSION_1_2 = false;
    bool GL_VERSION_1_3 = false;
    bool GL_VERSION_1_4 = false;
    bool GL_VERSION_1_5 = false;
    bool GL_VERSION_2_0 = false;
    bool GL_VERSION_2_1 = false;

#define KORVO_GL_EXTENSION(name) bool name = false;
#include "gl/ExtensionList.h"
#undef KORVO_GL_EXTENSION

    // Set by the render system right after this registry.
    Sys::Ptr<ExtensionRegistryWGL> WGL;

private:
    void Fill();
};

// The process-wide registry, set by the render system's bring-up.
extern Sys::Ptr<ExtensionRegistry> Extensions;

} // namespace GL
