#include "world/RenderGL2.h"

#include "app/FatalException.h"
#include "config/CVars.h"
#include "gl/CapsDesc.h"
#include "gl/DriverDesc.h"
#include "gl/ErrorCheck.h"
#include "gl/FragmentShader.h"
#include "gl/RenderDevice_Release.h"
#include "gl/WindowContext.h"

#include <GL/glew.h>

namespace Korvo {

int DeviceType = DEVICE_UNKNOWN;

// A dynamic branch and a loop on a texture value: R500 and later chips compile it, R400
// chips do not. Nothing else tells the two apart from their extension strings.
const char* const RenderGL2::TestShaderSource =
    "uniform sampler2D u_Tex;\n"
    "\n"
    "void main()\n"
    "{\n"
    "    float s = texture2D( u_Tex, gl_FragCoord.xy ).r;\n"
    "    float c = 0.0;\n"
    "\n"
    "    if (s > 0.0)\n"
    "    {\n"
    "        for (int i = 0; i < 4; ++i)\n"
    "            c = c + s * float( i );\n"
    "    }\n"
    "\n"
    "    gl_FragColor = vec4( c, c, c, 0.0 );\n"
    "}\n";

const char* RenderGL2::GetDeviceTypeName(int type)
{
    switch (type) {
    case DEVICE_NV2X: return "NVIDIA NV2X\n";
    case DEVICE_NV3X: return "NVIDIA NV3X\n";
    case DEVICE_NV4X_G7X: return "NVIDIA NV4X/G7X\n";
    case DEVICE_G7X: return "NVIDIA G7X\n";
    case DEVICE_G8X: return "NVIDIA G8X (or higher)\n";
    case DEVICE_R400: return "ATI R400\n";
    case DEVICE_R500: return "ATI R500 (or higher)\n";
    case DEVICE_R600: return "ATI R600 (or higher)\n";
    default: return "Unknown\n";
    }
}

int RenderGL2::DetectDeviceType(const GL::ExtensionRegistry& e,
                                const std::function<bool()>& compilesTestShader)
{
    if (e.GL_NV_register_combiners) {
        if (e.GL_EXT_geometry_shader4)
            return e.GL_NV_transform_feedback || e.GL_EXT_transform_feedback ? DEVICE_G8X
                                                                             : DEVICE_UNKNOWN;
        if (e.GL_NV_primitive_restart) {
            if (e.GL_NV_vertex_program3 && e.GL_NV_fragment_program2)
                return DEVICE_NV4X_G7X;
            if (e.GL_NV_vertex_program2 && e.GL_NV_fragment_program)
                return DEVICE_NV3X;
            return DEVICE_UNKNOWN;
        }
        return e.GL_NV_register_combiners2 && e.GL_NV_texture_shader && e.GL_NV_texture_shader2
                   ? DEVICE_NV2X
                   : DEVICE_UNKNOWN;
    }
    if (e.GL_ATI_fragment_shader) {
        if (e.GL_EXT_geometry_shader4)
            return DEVICE_R600;
        if (e.GL_ATI_texture_compression_3dc)
            return compilesTestShader() ? DEVICE_R500 : DEVICE_R400;
        return DEVICE_UNKNOWN;
    }
    return DEVICE_UNKNOWN;
}

bool RenderGL2::CompileTestShader()
{
    try {
        Sys::Ptr<const GL::IShader> shader(new GL::FragmentShader(TestShaderSource));
        return true;
    } catch (...) {
        return false;
    }
}

RenderGL2::RenderGL2(Platform::HWND window) : window(window)
{
    try {
        BringUp();
    } catch (...) {
        // The destructor will not run: give back what the bring-up took so far.
        GL::Device = nullptr;
        frameBuffer = nullptr;
        display = nullptr;
        RestoreSamples();
        if (deviceContext != nullptr)
            Platform::ReleaseDC(window, deviceContext);
        deviceContext = nullptr;
        throw;
    }
}

void RenderGL2::ReleaseDescriptions()
{
    GL::Extensions = nullptr;
    GL::Driver = nullptr;
    GL::Caps = nullptr;
}

void RenderGL2::BringUp()
{
    Print("\n----- Render System -----\n\n");

    deviceContext = Platform::GetDC(window);
    if (deviceContext == nullptr)
        throw Sys::FatalException("Failed to get DC.");

    Print("Initialize DirectDraw.\n");
    DisplayMode requested;
    requested.Width = r_Screen_Width.value;
    requested.Height = r_Screen_Height.value;
    requested.BitsPerPixel = r_Screen_BitPerPixel.value;
    requested.RefreshRate = 0;
    display = Sys::Ptr<IDisplay>(new Display(requested, window, r_Screen_Full.value));
    Print("Successfully.\n");

    width = r_Screen_Width.value;
    height = r_Screen_Height.value;
    if (!r_Screen_Full.value) {
        SetWindowSize(Size{width, height});
    } else {
        while (Platform::ShowCursor(Platform::FALSE_) >= 0) {
        }
    }

    Print("\nInitialize OpenGL.\n");
    GL::PixelFormatDesc desc;
    desc.DoubleBuffer = true;
    desc.Stereo = false;
    desc.PixelType = 1;
    desc.Acceleration = 0;
    if (r_Screen_Full.value) {
        desc.ColorBits = r_Screen_BitPerPixel.value;
    } else {
        DisplayMode desktop;
        display->GetCurrentMode(desktop);
        desc.ColorBits = desktop.BitsPerPixel;
    }
    if (desc.ColorBits == 32) {
        desc.RedBits = desc.GreenBits = desc.BlueBits = desc.AlphaBits = 8;
    } else {
        desc.RedBits = 5;
        desc.GreenBits = 6;
        desc.BlueBits = 5;
        desc.AlphaBits = 0;
    }
    // No depth or stencil here: all 3D rendering goes to off-screen targets.
    Sys::Ptr<GL::IContext> context(new GL::WindowContext(desc, window));

    Platform::PIXELFORMATDESCRIPTOR pfd;
    Platform::DescribePixelFormat(context->GetDC(), context->GetPixelFormat(),
                                  sizeof(Platform::PIXELFORMATDESCRIPTOR), &pfd);
    if (pfd.dwFlags & Platform::PFD_GENERIC_FORMAT)
        throw Sys::FatalException("No OpenGL 3D-acceleration detected.\n\nTry to install latest "
                                  "video drivers with OpenGL 2.0 support for your graphics card.");
    if (pfd.dwFlags & Platform::PFD_GENERIC_ACCELERATED)
        throw Sys::FatalException(
            "No OpenGL ICD driver detected.\n\nProbably you have very old graphics card.\nThis "
            "program requires graphics card with OpenGL 2.0 and Shader Model 3.0 support.");

    frameBuffer = Sys::Ptr<GL::FrameBuffer>(
        new GL::FrameBuffer(context, r_Screen_Width.value, r_Screen_Height.value));

    if (glewInit() != GLEW_OK)
        throw Sys::FatalException("Failed to initialize OpenGL entry points.");
    // GLEW probes entry points by querying the driver, which may flag an error.
    GL::DrainErrors();

    GL::Extensions = Sys::Ptr<GL::ExtensionRegistry>(new GL::ExtensionRegistry());
    GL::Extensions->WGL = Sys::Ptr<GL::ExtensionRegistryWGL>(new GL::ExtensionRegistryWGL());
    GL::Driver = Sys::Ptr<GL::DriverDesc>(new GL::DriverDesc());
    GL::Caps = Sys::Ptr<GL::CapsDesc>(new GL::CapsDesc());
    LimitSamples();

    display->SetVSync(r_Screen_VSync.value);

    if (!GL::Extensions->GL_VERSION_2_0) {
        ReleaseDescriptions();
        throw Sys::FatalException("This program requires graphics card with OpenGL 2.0 support.");
    }
    Print("Successfully.\n");
    r_GL_Renderer.value = GL::Driver->Renderer;

    Print("\n");
    Print("Detect renderer device type.\n");
    deviceType = DetectDeviceType(*GL::Extensions, CompileTestShader);
    DeviceType = deviceType;
    Print("Renderer device type: ");
    Print(GetDeviceTypeName(deviceType));

    const char* refusal = nullptr;
    switch (deviceType) {
    case DEVICE_UNKNOWN:
        refusal = "Unknown graphics card detected.\n\nProbably you have very old graphics card. "
                  "This program requires graphics card with OpenGL 2.0 and Shader Model 3.0 "
                  "support.";
        break;
    case DEVICE_NV2X:
    case DEVICE_NV3X:
        refusal = "Old graphics card detected.\n\nSorry, but for NVIDIA graphics cards this "
                  "program requires at least NV4X chip.";
        break;
    case DEVICE_R400:
        refusal = "Old graphics card detected.\n\nSorry, but for ATI/AMD graphics cards this "
                  "program requires at least R500 chip.";
        break;
    default: break;
    }
    if (refusal != nullptr) {
        ReleaseDescriptions();
        throw Sys::FatalException("%s", refusal);
    }

    GL::Device = Sys::Ptr<GL::IRenderDevice>(new GL::RenderDevice_Release(frameBuffer));
    LogDescription();
}

void RenderGL2::LimitSamples()
{
    const int offered = GL::Caps->MaxSamples;
    if (r_Screen_Samples.value <= offered)
        return;
    Message(Sys::Log::Warning,
            "r_Screen_Samples is %d, but the driver offers at most %d samples "
            "(GL_MAX_SAMPLES); %d are used.\n",
            r_Screen_Samples.value, offered, offered);
    userSamples = r_Screen_Samples.value;
    r_Screen_Samples.value = offered;
}

// The configuration file keeps what the user asked for, not what this driver allowed.
void RenderGL2::RestoreSamples()
{
    if (userSamples >= 0)
        r_Screen_Samples.value = userSamples;
    userSamples = -1;
}

RenderGL2::~RenderGL2()
{
    RestoreSamples();
    display = nullptr;
    ReleaseDescriptions();
    GL::Device = nullptr;
    frameBuffer = nullptr;
    if (deviceContext != nullptr)
        Platform::ReleaseDC(window, deviceContext);
    Platform::ShowWindow(window, Platform::SW_HIDE);
}

void RenderGL2::SetWindowSize(const Size& size)
{
    DisplayMode desktop;
    display->GetCurrentMode(desktop);
    Platform::DWORD style;
    int x = 0;
    int y = 0;
    int windowWidth = size.Width;
    int windowHeight = size.Height;
    if (size.Width == desktop.Width && size.Height == desktop.Height) {
        style = Platform::WS_POPUP | Platform::WS_CLIPSIBLINGS | Platform::WS_CLIPCHILDREN;
    } else {
        const Platform::DWORD framed = Platform::WS_OVERLAPPED | Platform::WS_CAPTION |
                                       Platform::WS_SYSMENU | Platform::WS_MINIMIZEBOX;
        Platform::RECT rect;
        rect.right = size.Width;
        rect.bottom = size.Height;
        Platform::AdjustWindowRect(&rect, framed, Platform::FALSE_);
        windowWidth = rect.right - rect.left;
        windowHeight = rect.bottom - rect.top;
        x = (desktop.Width - size.Width) / 2;
        y = (desktop.Height - size.Height) / 2;
        style = framed | Platform::WS_CLIPSIBLINGS | Platform::WS_CLIPCHILDREN;
    }
    Platform::SetWindowLongA(window, Platform::GWL_STYLE, static_cast<long>(style));
    Platform::SetWindowPos(window, Platform::HWND_TOP, x, y, windowWidth, windowHeight,
                           Platform::SWP_SHOWWINDOW);
    width = size.Width;
    height = size.Height;
}

void RenderGL2::GetWindowSize(Size& size) const
{
    size.Width = width;
    size.Height = height;
}

void RenderGL2::LogDescription() const
{
    const GL::PixelFormatDesc pf = frameBuffer->GetContext()->GetPixelFormatDesc();
    static const char* const pixelTypes[] = {"WGL_TYPE_COLORINDEX\n", "WGL_TYPE_RGBA\n",
                                             "WGL_TYPE_RGBA_FLOAT\n"};
    static const char* const accelerations[] = {
        "WGL_NO_ACCELERATION\n", "WGL_GENERIC_ACCELERATION\n", "WGL_FULL_ACCELERATION\n"};
    Print("\nWindow pixel format description:\n\n");
    PrintFormat("WGL_DOUBLE_BUFFER: %d\n", pf.DoubleBuffer ? 1 : 0);
    PrintFormat("WGL_STEREO: %d\n", pf.Stereo ? 1 : 0);
    Print("WGL_PIXEL_TYPE: ");
    if (pf.PixelType >= 0 && pf.PixelType <= 2)
        Print(pixelTypes[pf.PixelType]);
    Print("WGL_ACCELERATION: ");
    if (pf.Acceleration >= 0 && pf.Acceleration <= 2)
        Print(accelerations[pf.Acceleration]);
    PrintFormat("WGL_COLOR_BITS: %d\n", pf.ColorBits);
    PrintFormat("WGL_RED_BITS: %d\n", pf.RedBits);
    PrintFormat("WGL_GREEN_BITS: %d\n", pf.GreenBits);
    PrintFormat("WGL_BLUE_BITS: %d\n", pf.BlueBits);
    PrintFormat("WGL_ALPHA_BITS: %d\n", pf.AlphaBits);
    PrintFormat("WGL_DEPTH_BITS: %d\n", pf.DepthBits);
    PrintFormat("WGL_STENCIL_BITS: %d\n", pf.StencilBits);
    PrintFormat("WGL_ACCUM_RED_BITS: %d\n", pf.AccumRedBits);
    PrintFormat("WGL_ACCUM_GREEN_BITS: %d\n", pf.AccumGreenBits);
    PrintFormat("WGL_ACCUM_BLUE_BITS: %d\n", pf.AccumBlueBits);
    PrintFormat("WGL_ACCUM_ALPHA_BITS: %d\n", pf.AccumAlphaBits);
    PrintFormat("WGL_AUX_BUFFERS: %d\n", pf.AuxBuffers);
    PrintFormat("WGL_SAMPLE_BUFFERS: %d\n", pf.SampleBuffers);
    PrintFormat("WGL_SAMPLES: %d\n", pf.Samples);

    const GL::DriverDesc& d = *GL::Driver;
    Print("\nRenderer device and OpenGL version:\n\n");
    PrintFormat("GL_VENDOR: %s\n", d.Vendor.c_str());
    PrintFormat("GL_RENDERER: %s\n", d.Renderer.c_str());
    PrintFormat("GL_VERSION: %s\n", d.Version.String.c_str());
    PrintFormat("GL_SHADING_LANGUAGE_VERSION: %s\n", d.ShadingLanguageVersion.String.c_str());
    PrintFormat("GLU_VERSION: %s\n", d.GLUVersion.String.c_str());

    PrintFormat("\nOpenGL extensions (%d):\n\n", static_cast<int>(GL::Extensions->Extensions.size()));
    for (const std::string& name : GL::Extensions->Extensions)
        PrintFormat("%s\n", name.c_str());
    PrintFormat("\nWGL extensions (%d):\n\n",
                static_cast<int>(GL::Extensions->WGL->Extensions.size()));
    for (const std::string& name : GL::Extensions->WGL->Extensions)
        PrintFormat("%s\n", name.c_str());

    const GL::CapsDesc& c = *GL::Caps;
    Print("\nFramebuffer caps:\n\n");
    PrintFormat("GL_MAX_DRAW_BUFFERS: %d\n", c.MaxDrawBuffers);
    PrintFormat("GL_MAX_COLOR_ATTACHMENTS: %d\n", c.MaxColorAttachments);
    if (c.MaxSamples > 0)
        PrintFormat("GL_MAX_SAMPLES: %d\n", c.MaxSamples);
    PrintFormat("GL_MAX_RENDERBUFFER_SIZE: %d\n", c.MaxRenderbufferSize);
    PrintFormat("GL_MAX_VIEWPORT_DIMS: %d x %d\n", c.MaxViewportDims[0], c.MaxViewportDims[1]);
    Print("\nTexture caps:\n\n");
    PrintFormat("GL_MAX_TEXTURE_SIZE: %d\n", c.MaxTextureSize);
    PrintFormat("GL_MAX_RECTANGLE_TEXTURE_SIZE: %d\n", c.MaxRectangleTextureSize);
    PrintFormat("GL_MAX_3D_TEXTURE_SIZE: %d\n", c.Max3DTextureSize);
    PrintFormat("GL_MAX_CUBE_MAP_TEXTURE_SIZE: %d\n", c.MaxCubeMapTextureSize);
    PrintFormat("GL_MAX_TEXTURE_MAX_ANISOTROPY: %1.1f\n", c.MaxTextureMaxAnisotropy);
    Print("\nShader caps:\n\n");
    PrintFormat("GL_MAX_VARYING_COMPONENTS: %d\n", c.MaxVaryingComponents);
    PrintFormat("GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS: %d\n", c.MaxCombinedTextureImageUnits);
    PrintFormat("GL_MAX_BINDABLE_UNIFORM_SIZE: %d\n", c.MaxBindableUniformSize);
    PrintFormat("GL_MAX_VERTEX_VARYING_COMPONENTS: %d\n", c.MaxVertexVaryingComponents);
    PrintFormat("GL_MAX_VERTEX_UNIFORM_COMPONENTS: %d\n", c.MaxVertexUniformComponents);
    PrintFormat("GL_MAX_VERTEX_BINDABLE_UNIFORMS: %d\n", c.MaxVertexBindableUniforms);
    PrintFormat("GL_MAX_VERTEX_TEXTURE_IMAGE_UNITS: %d\n", c.MaxVertexTextureImageUnits);
    PrintFormat("GL_MAX_VERTEX_ATTRIBS: %d\n", c.MaxVertexAttribs);
    PrintFormat("GL_MAX_GEOMETRY_VARYING_COMPONENTS: %d\n", c.MaxGeometryVaryingComponents);
    PrintFormat("GL_MAX_GEOMETRY_UNIFORM_COMPONENTS: %d\n", c.MaxGeometryUniformComponents);
    PrintFormat("GL_MAX_GEOMETRY_BINDABLE_UNIFORMS: %d\n", c.MaxGeometryBindableUniforms);
    PrintFormat("GL_MAX_GEOMETRY_TEXTURE_IMAGE_UNITS: %d\n", c.MaxGeometryTextureImageUnits);
    PrintFormat("GL_MAX_GEOMETRY_OUTPUT_VERTICES: %d\n", c.MaxGeometryOutputVertices);
    PrintFormat("GL_MAX_GEOMETRY_TOTAL_OUTPUT_COMPONENTS: %d\n",
                c.MaxGeometryTotalOutputComponents);
    PrintFormat("GL_MAX_FRAGMENT_UNIFORM_COMPONENTS: %d\n", c.MaxFragmentUniformComponents);
    PrintFormat("GL_MAX_FRAGMENT_BINDABLE_UNIFORMS: %d\n", c.MaxFragmentBindableUniforms);
    PrintFormat("GL_MAX_TEXTURE_COORDS: %d\n", c.MaxTextureCoords);
    PrintFormat("GL_MAX_TEXTURE_IMAGE_UNITS: %d\n", c.MaxTextureImageUnits);
    if (GL::Extensions->GL_NV_transform_feedback) {
        Print("\nNVIDIA Transform feedback caps:\n\n");
        PrintFormat("GL_MAX_TRANSFORM_FEEDBACK_INTERLEAVED_ATTRIBS_NV: %d\n",
                    c.MaxTransformFeedbackInterleavedAttribs);
        PrintFormat("GL_MAX_TRANSFORM_FEEDBACK_SEPARATE_ATTRIBS_NV: %d\n",
                    c.MaxTransformFeedbackSeparateAttribs);
        PrintFormat("GL_MAX_TRANSFORM_FEEDBACK_SEPARATE_COMPONENTS_NV: %d\n",
                    c.MaxTransformFeedbackSeparateComponents);
    }
    Print("\nVertex Array caps:\n\n");
    PrintFormat("GL_MAX_ELEMENTS_VERTICES: %d\n", c.MaxElementsVertices);
    PrintFormat("GL_MAX_ELEMENTS_INDICES: %d\n", c.MaxElementsIndices);
    Print("\nQuery caps:\n\n");
    PrintFormat("GL_QUERY_COUNTER_BITS: %d\n", c.QueryCounterBits);
}

} // namespace Korvo
