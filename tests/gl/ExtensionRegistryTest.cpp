#include "gl/DriverDesc.h"
#include "gl/ExceptionWGL.h"
#include "gl/ExtensionRegistry.h"
#include "platform/Platform.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Named : Sys::IRTTIObject {
    std::string GetTypeName() const override { return "GL::Tested"; }
};

} // namespace

TEST(ExtensionRegistry, OnlyABlankEndsAName)
{
    GL::ExtensionRegistry unterminated("2.0", "GL_EXT_abgr GL_EXT_bgra");
    EXPECT_TRUE(unterminated.GL_EXT_abgr);
    EXPECT_FALSE(unterminated.GL_EXT_bgra);

    // Names outside the fixed list are still answered.
    GL::ExtensionRegistry other("2.0", "GL_ARB_sync GL_ARB_fragment_shader ");
    EXPECT_TRUE(other.IsSupported("GL_ARB_sync"));
    EXPECT_TRUE(other.GL_ARB_fragment_shader);
    EXPECT_FALSE(other.GL_ARB_vertex_shader);
}

TEST(ExtensionRegistry, VersionFlags)
{
    GL::ExtensionRegistry v212("2.1.2 NVIDIA 169.21", "");
    EXPECT_TRUE(v212.GL_VERSION_1_5 && v212.GL_VERSION_2_0 && v212.GL_VERSION_2_1);
    EXPECT_FALSE(v212.IsVersionSupported(2, 2));
    EXPECT_FALSE(GL::ExtensionRegistry("2.0", "").GL_VERSION_2_1);
    // A higher major number wins whatever the minor.
    GL::ExtensionRegistry v45("4.5 (Compatibility Profile) Mesa 22.3.6", "");
    EXPECT_TRUE(v45.GL_VERSION_2_1);
    EXPECT_TRUE(v45.IsVersionSupported(3, 9));
    EXPECT_EQ(ErrorOf([] { GL::ExtensionRegistry r("2", ""); }),
              "Failed to query OpenGL version. Version string malformed!");

    EXPECT_EQ(ErrorOf([] { GL::VersionDesc::Parse("7"); }),
              "Failed to query version. Version string malformed!");
}

TEST(ExtensionRegistryWGL, FlagsFollowTheirGLXCounterparts)
{
    GL::ExtensionRegistryWGL glx("GLX_ARB_multisample GLX_SGIX_fbconfig GLX_SGIX_pbuffer "
                                 "GLX_ARB_fbconfig_float GLX_MESA_swap_control ");
    EXPECT_TRUE(glx.WGL_ARB_multisample && glx.WGL_ARB_pixel_format && glx.WGL_ARB_pbuffer &&
                glx.WGL_ARB_pixel_format_float && glx.WGL_EXT_swap_control);
    EXPECT_FALSE(glx.WGL_ATI_pixel_format_float);
    EXPECT_TRUE(glx.IsSupported("GLX_SGIX_pbuffer"));  // the names stay as reported

    GL::ExtensionRegistryWGL noSwap("GLX_SGIX_pbuffer ");
    EXPECT_FALSE(noSwap.WGL_EXT_swap_control || noSwap.WGL_ARB_pixel_format);

    // GLX 1.3 has P-buffers and FBConfigs without naming them.
    GL::ExtensionRegistryWGL core("GLX_ARB_multisample ", true);
    EXPECT_TRUE(core.WGL_ARB_pbuffer && core.WGL_ARB_pixel_format);
}

// The GL error forms are met in the buffer and texture tests; these are the window system's.
TEST(GLErrors, WindowSystemTextsNameClassErrorAndMessage)
{
    Platform::SetLastError(2000);
    EXPECT_EQ(ErrorOf([] { GL::ExceptionWGL::Throw(Named(), "Failed %s.", "here"); }),
              "GL::Tested\n\nERROR_INVALID_PIXEL_FORMAT\nFailed here.");
    Platform::SetLastError(5);
    EXPECT_EQ(ErrorOf([] { GL::ExceptionWGL::Throw(Sys::Where("GL::PBuffer"), "Failed."); }),
              "GL::PBuffer\n\nFailed.");
}
