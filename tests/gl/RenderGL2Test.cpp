#include "app/FatalException.h"
#include "config/CVars.h"
#include "gl/CapsDesc.h"
#include "gl/DriverDesc.h"
#include "gl/RenderDevice_Release.h"
#include "world/RenderGL2.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/TestFiles.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using TestFiles::ReadLog;

int Detect(const char* extensions, bool compiles = true, bool* asked = nullptr)
{
    GL::ExtensionRegistry registry("2.0", extensions);
    return Korvo::RenderGL2::DetectDeviceType(registry, [&] {
        if (asked != nullptr)
            *asked = true;
        return compiles;
    });
}

} // namespace

TEST(DeviceDetection, ExtensionRowsAndTheTestShader)
{
    const std::string nv = "GL_NV_register_combiners ", ati = "GL_ATI_fragment_shader ";
    const struct {
        std::string extensions;
        int type;
    } rows[] = {
        {nv + "GL_EXT_geometry_shader4 GL_NV_transform_feedback ", Korvo::DEVICE_G8X},
        {nv + "GL_EXT_geometry_shader4 GL_EXT_transform_feedback ", Korvo::DEVICE_G8X},
        // Geometry shaders without transform feedback fit no known chip.
        {nv + "GL_EXT_geometry_shader4 GL_NV_vertex_program3 GL_NV_fragment_program2 "
              "GL_NV_primitive_restart ", Korvo::DEVICE_UNKNOWN},
        {nv + "GL_NV_primitive_restart GL_NV_vertex_program3 GL_NV_fragment_program2 "
              "GL_NV_vertex_program2 GL_NV_fragment_program ", Korvo::DEVICE_NV4X_G7X},
        {nv + "GL_NV_primitive_restart GL_NV_vertex_program3 GL_NV_vertex_program2 "
              "GL_NV_fragment_program ", Korvo::DEVICE_NV3X},
        {nv + "GL_NV_primitive_restart GL_NV_vertex_program2 ", Korvo::DEVICE_UNKNOWN},
        {nv + "GL_NV_register_combiners2 GL_NV_texture_shader GL_NV_texture_shader2 ",
         Korvo::DEVICE_NV2X},
        {nv + "GL_NV_register_combiners2 GL_NV_texture_shader ", Korvo::DEVICE_UNKNOWN},
        {ati + "GL_EXT_geometry_shader4 GL_ATI_texture_compression_3dc ", Korvo::DEVICE_R600},
        {ati, Korvo::DEVICE_UNKNOWN},
        // NVIDIA is asked first; anything else is unknown.
        {nv + ati + "GL_ATI_texture_compression_3dc ", Korvo::DEVICE_UNKNOWN},
        {"GL_ARB_fragment_shader GL_ARB_vertex_shader ", Korvo::DEVICE_UNKNOWN},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Detect(row.extensions.c_str()), row.type) << row.extensions;

    // Only the R500 row needs the test shader to compile.
    bool asked = false;
    EXPECT_EQ(Detect((ati + "GL_ATI_texture_compression_3dc ").c_str(), true, &asked),
              Korvo::DEVICE_R500);
    EXPECT_TRUE(asked);
    EXPECT_EQ(Detect((ati + "GL_ATI_texture_compression_3dc ").c_str(), false),
              Korvo::DEVICE_R400);
    asked = false;
    Detect((ati + "GL_EXT_geometry_shader4 GL_ATI_texture_compression_3dc ").c_str(), true, &asked);
    EXPECT_FALSE(asked);
    EXPECT_STREQ(Korvo::RenderGL2::GetDeviceTypeName(Korvo::DEVICE_G7X), "NVIDIA G7X\n");
}

namespace {

// The style without the visibility bit, which showing the window adds.
unsigned long Style(Platform::HWND window)
{
    return static_cast<unsigned long>(Platform::GetWindowLongA(window, Platform::GWL_STYLE)) &
           ~static_cast<unsigned long>(Platform::WS_VISIBLE);
}

} // namespace

TEST(RenderGL2, NoWindowNoDeviceContext)
{
    try {
        Korvo::RenderGL2 render(nullptr);
        FAIL() << "a render system without a window";
    } catch (const Sys::FatalException& e) {
        EXPECT_EQ(e.GetMessageText(), "Failed to get DC.");
    }
    EXPECT_FALSE(GL::Extensions || GL::Driver || GL::Caps || GL::Device);
}

TEST(RenderGL2, BringsUpLogsAndTearsDownOnLlvmpipe)
{
    const ::Test::GLTestWindow testWindow;
    const Platform::HWND window = testWindow.Get();
    ASSERT_NE(window, nullptr);

    r_GL_CatchErrors.value = true;
    r_Screen_Full.value = false;
    r_Screen_Width.value = 320;
    r_Screen_Height.value = 240;
    r_GL_Renderer.value = "";
    {
        Sys::Ptr<Korvo::IRender> render(new Korvo::RenderGL2(window));
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        // llvmpipe lists the ATI fragment-shader and 3Dc names and compiles the test shader.
        EXPECT_EQ(Korvo::DeviceType, Korvo::DEVICE_R500);
        ASSERT_TRUE(GL::Extensions && GL::Extensions->WGL && GL::Driver && GL::Caps && GL::Device);
        EXPECT_EQ(r_GL_Renderer.value, GL::Driver->Renderer);

        Korvo::IRender::Size size;
        render->GetWindowSize(size);
        EXPECT_TRUE(size.Width == 320 && size.Height == 240) << size.Width << "x" << size.Height;

        // A framed window centred on the desktop; at the desktop's size, a bare pop-up.
        EXPECT_EQ(Style(window), 0x06CA0000ul);
        Korvo::DisplayMode desktop;
        render->GetDisplay()->GetCurrentMode(desktop);
        render->SetWindowSize(Korvo::IRender::Size{desktop.Width, desktop.Height});
        EXPECT_EQ(Style(window), 0x86000000ul);
        render->SetWindowSize(Korvo::IRender::Size{320, 240});

        GL::Device->SetFrameBuffer(nullptr);
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_TRUE(viewport[2] == 320 && viewport[3] == 240) << viewport[2] << "x" << viewport[3];
    }
    EXPECT_FALSE(GL::Extensions || GL::Driver || GL::Caps || GL::Device);

    // The successful bring-up is the last one in the log.
    const std::string whole = ReadLog();
    const std::string log = whole.substr(whole.rfind("\n----- Render System -----\n"));
    const char* const sections[] = {
        "\n----- Render System -----\n\n", "Initialize DirectDraw.\nSuccessfully.\n",
        "\nInitialize OpenGL.\nSuccessfully.\n", "Renderer device type: ATI R500 (or higher)\n",
        "\nWindow pixel format description:\n\n", "\nRenderer device and OpenGL version:\n\n",
        "GL_RENDERER: llvmpipe", "\nOpenGL extensions (", "\nWGL extensions (",
        "\nFramebuffer caps:\n\n", "\nTexture caps:\n\n", "\nShader caps:\n\n",
        "GL_MAX_VERTEX_ATTRIBS: 16\n", "\nVertex Array caps:\n\n", "\nQuery caps:\n\n"};
    size_t at = 0;
    for (const char* section : sections) {
        const size_t found = log.find(section, at);
        EXPECT_NE(found, std::string::npos) << "missing or out of order: " << section;
        if (found != std::string::npos)
            at = found;
    }
    EXPECT_EQ(log.find("ERROR"), std::string::npos) << log;
}

namespace {

// The probe's report of one bring-up in a fresh process whose Mesa driver reads `settings`
// (environment assignments) as its version and extension overrides.
std::string ProbeBringUp(const std::string& settings)
{
    std::system("mkdir -p probe");
    const std::string command =
        "cd probe && env " + settings + " '" KORVO_BRINGUP_PROBE "' 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof(buffer), pipe) != nullptr)
            output += buffer;
        pclose(pipe);
    }
    return output;
}

} // namespace

// The refusals on a real context: llvmpipe made to look like an older driver. The NVIDIA
// names are unknown to Mesa, which then lists them as given.
TEST(RenderGL2, RefusesDriversThatAreTooOldAndEmptiesTheGlobals)
{
    const std::string nvidia =
        "+GL_NV_register_combiners +GL_NV_primitive_restart -GL_ATI_fragment_shader ";
    struct Case {
        std::string settings;
        std::string outcome;
    };
    const Case cases[] = {
        {"MESA_GL_VERSION_OVERRIDE=1.5",
         "refused fatal\nThis program requires graphics card with OpenGL 2.0 support.\n"
         "globals empty\n"},
        {"MESA_EXTENSION_OVERRIDE=-GL_ATI_texture_compression_3dc",
         "refused fatal\nUnknown graphics card detected.\n\nProbably you have very old graphics "
         "card. This program requires graphics card with OpenGL 2.0 and Shader Model 3.0 "
         "support.\nglobals empty\n"},
        {"MESA_EXTENSION_OVERRIDE='" + nvidia + "+GL_NV_vertex_program2 +GL_NV_fragment_program'",
         "refused fatal\nOld graphics card detected.\n\nSorry, but for NVIDIA graphics cards "
         "this program requires at least NV4X chip.\nglobals empty\n"},
        {"MESA_EXTENSION_OVERRIDE='" + nvidia + "+GL_NV_vertex_program3 +GL_NV_fragment_program2'",
         "accepted NVIDIA NV4X/G7X\nglobals empty\n"},
        {"MESA_EXTENSION_OVERRIDE=", "accepted ATI R500 (or higher)\nglobals empty\n"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.settings);
        EXPECT_EQ(ProbeBringUp(test.settings), test.outcome);
    }
}
