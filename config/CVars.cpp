#include "config/CVars.h"

#include "app/InitOrder.h"

// Built at the KORVO_INIT_CVARS stage: after the global scene pointer has opened the log,
// before the GL globals, whichever object file the linker places first. Within this file
// they are built, and so registered, in the order written here.

#define CVAR_STAGE KORVO_INIT_ORDER(KORVO_INIT_CVARS)

namespace {
constexpr uint32_t Demo = ICVar::FlagArchive | ICVar::FlagDemo;
constexpr uint32_t Gui = ICVar::FlagArchive | ICVar::FlagGui;
constexpr uint32_t Render = ICVar::FlagArchive | ICVar::FlagRender;
} // namespace

CVar<int> demo_ID CVAR_STAGE("demo_ID", 0, 0, 1, Demo);
CVar<bool> demo_FirstLightSource CVAR_STAGE("demo_FirstLightSource", true, Demo);
CVar<bool> demo_SecondLightSource CVAR_STAGE("demo_SecondLightSource", true, Demo);
CVar<bool> gui_English CVAR_STAGE("gui_English", false, Gui);
CVar<bool> r_GL_CatchErrors CVAR_STAGE("r_GL_CatchErrors", true, Render);
CVar<bool> r_GL_DepthBoundsTest CVAR_STAGE("r_GL_DepthBoundsTest", true, Render);
CVar<bool> r_GL_DepthClamp CVAR_STAGE("r_GL_DepthClamp", true, Render);
CVar<bool> r_GL_EarlyTricks CVAR_STAGE("r_GL_EarlyTricks", false, Render);
CVar<bool> r_GL_FramebufferObject CVAR_STAGE("r_GL_FramebufferObject", false, Render);
CVar<std::string> r_GL_Renderer CVAR_STAGE("r_GL_Renderer", "Unknown", Render);
CVar<bool> r_GL_ScissorTest CVAR_STAGE("r_GL_ScissorTest", true, Render);
CVar<bool> r_GL_SeparateStencil CVAR_STAGE("r_GL_SeparateStencil", true, Render);
CVar<int> r_Screen_BitPerPixel CVAR_STAGE("r_Screen_BitPerPixel", 32, 16, 32, Render);
CVar<bool> r_Screen_Full CVAR_STAGE("r_Screen_Full", false, Render);
CVar<int> r_Screen_Height CVAR_STAGE("r_Screen_Height", 480, 384, 768, Render);
CVar<int> r_Screen_Samples CVAR_STAGE("r_Screen_Samples", 0, 0, 8, Render);
CVar<bool> r_Screen_VSync CVAR_STAGE("r_Screen_VSync", false, Render);
CVar<int> r_Screen_Width CVAR_STAGE("r_Screen_Width", 640, 512, 1024, Render);
CVar<bool> r_Shadow_Cast CVAR_STAGE("r_Shadow_Cast", true, Render);
CVar<bool> r_Shadow_Downsample CVAR_STAGE("r_Shadow_Downsample", false, Render);
CVar<bool> r_Shadow_PenumbraWedges CVAR_STAGE("r_Shadow_PenumbraWedges", true, Render);
CVar<bool> r_Shadow_PostFilter CVAR_STAGE("r_Shadow_PostFilter", false, Render);
CVar<bool> r_Shadow_ClearSelfShadowing CVAR_STAGE("r_Shadow_ClearSelfShadowing", true, Render);
CVar<bool> r_Shadow_StencilOp CVAR_STAGE("r_Shadow_StencilOp", true, Render);
CVar<bool> r_Shadow_CountInFront CVAR_STAGE("r_Shadow_CountInFront", true, Render);
CVar<int> r_Shadow_WedgeCount CVAR_STAGE("r_Shadow_WedgeCount", 20, 1, 99999, Render);
