#include "gl/ExtensionRegistryWGL.h"

#include "app/DeveloperException.h"
#include "platform/Platform.h"

namespace GL {

ExtensionRegistryWGL::ExtensionRegistryWGL()
{
    if (Platform::wglGetCurrentContext() == nullptr)
        throw Sys::DeveloperException("Invalid current rendering context.");
    if (Platform::wglGetProcAddress("wglGetExtensionsStringARB") == nullptr)
        throw Sys::Exception("Failed to obtain wglGetExtensionsStringARB entry point.");
    Platform::HDC dc = Platform::wglGetCurrentDC();
    if (dc == nullptr)
        throw Sys::Exception("Failed to obtain device context.");
    ExtensionString = Platform::wglGetExtensionsStringARB(dc);
    int major = 0;
    int minor = 0;
    const bool glx13 =
        Platform::GetGLXVersion(&major, &minor) && (major > 1 || (major == 1 && minor >= 3));
    Fill(glx13);
}

ExtensionRegistryWGL::ExtensionRegistryWGL(const char* extensionString, bool glx13)
{
    ExtensionString = extensionString;
    Fill(glx13);
}

bool ExtensionRegistryWGL::AnyOf(std::initializer_list<const char*> names) const
{
    for (const char* name : names)
        if (IsSupported(name))
            return true;
    return false;
}

void ExtensionRegistryWGL::Fill(bool glx13)
{
    Tokenise(ExtensionString, Extensions);

    // The extension string itself is what the two string extensions provide; having it
    // means both are there. GLX 1.3 has P-buffers, FBConfigs and separate read drawables
    // in its core; older servers offer them as SGI and SGIX extensions.
    const bool haveString = ExtensionString != nullptr;
    WGL_ARB_buffer_region = AnyOf({"WGL_ARB_buffer_region"});
    WGL_ARB_extensions_string = haveString;
    WGL_ARB_make_current_read =
        glx13 || AnyOf({"WGL_ARB_make_current_read", "GLX_SGI_make_current_read"});
    WGL_ARB_multisample = AnyOf({"WGL_ARB_multisample", "GLX_ARB_multisample"});
    WGL_ARB_pbuffer = glx13 || AnyOf({"WGL_ARB_pbuffer", "GLX_SGIX_pbuffer"});
    WGL_ARB_pixel_format = glx13 || AnyOf({"WGL_ARB_pixel_format", "GLX_SGIX_fbconfig"});
    WGL_ARB_pixel_format_float =
        AnyOf({"WGL_ARB_pixel_format_float", "GLX_ARB_fbconfig_float"});
    WGL_ARB_render_texture = AnyOf({"WGL_ARB_render_texture"});
    WGL_ATI_pixel_format_float =
        AnyOf({"WGL_ATI_pixel_format_float", "GLX_ATI_pixel_format_float"});
    WGL_ATI_render_texture_rectangle = AnyOf({"WGL_ATI_render_texture_rectangle"});
    WGL_EXT_extensions_string = haveString;
    WGL_EXT_framebuffer_sRGB = AnyOf(
        {"WGL_EXT_framebuffer_sRGB", "GLX_EXT_framebuffer_sRGB", "GLX_ARB_framebuffer_sRGB"});
    WGL_EXT_pixel_format_packed_float =
        AnyOf({"WGL_EXT_pixel_format_packed_float", "GLX_EXT_fbconfig_packed_float"});
    WGL_EXT_swap_control = AnyOf({"WGL_EXT_swap_control", "GLX_EXT_swap_control",
                                  "GLX_MESA_swap_control", "GLX_SGI_swap_control"});
    WGL_NV_float_buffer = AnyOf({"WGL_NV_float_buffer", "GLX_NV_float_buffer"});
    WGL_NV_render_depth_texture = AnyOf({"WGL_NV_render_depth_texture"});
    WGL_NV_render_texture_rectangle = AnyOf({"WGL_NV_render_texture_rectangle"});
}

} // namespace GL
