#pragma once

#include "gl/IExtensionRegistry.h"

namespace GL {

// The window-system extensions of the current device context. The platform layer answers
// the WGL extension-string query with the GLX extension string: Extensions holds the GLX
// names as the driver reports them, and each WGL flag is set when its GLX counterpart is
// there (or, on a real WGL driver, when the WGL name itself is).
class ExtensionRegistryWGL : public IExtensionRegistry {
public:
    // Reads the extension string of the current device context.
    ExtensionRegistryWGL();
    // Builds the registry from a given text (which must outlive the registry); glx13 says
    // whether the window system is GLX 1.3 or later.
    explicit ExtensionRegistryWGL(const char* extensionString, bool glx13 = false);
    ~ExtensionRegistryWGL() override = default;

    std::string GetTypeName() const override { return "GL::ExtensionRegistryWGL"; }

#define KORVO_WGL_EXTENSION(name) bool name = false;
#include "gl/ExtensionListWGL.h"
#undef KORVO_WGL_EXTENSION

private:
    void Fill(bool glx13);
    bool AnyOf(std::initializer_list<const char*> names) const;
};

} // namespace GL
