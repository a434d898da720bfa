#pragma once

#include "config/CVar.h"

#include <string>

// The program's settings, in the order they are built and registered. Code reads them
// directly: `r_Screen_Width.value`. r_GL_Renderer is filled in by the render system.
extern CVar<int> demo_ID;
extern CVar<bool> demo_FirstLightSource;
extern CVar<bool> demo_SecondLightSource;
extern CVar<bool> gui_English;
extern CVar<bool> r_GL_CatchErrors;
extern CVar<bool> r_GL_DepthBoundsTest;
extern CVar<bool> r_GL_DepthClamp;
extern CVar<bool> r_GL_EarlyTricks;
extern CVar<bool> r_GL_FramebufferObject;
extern CVar<std::string> r_GL_Renderer;
extern CVar<bool> r_GL_ScissorTest;
extern CVar<bool> r_GL_SeparateStencil;
extern CVar<int> r_Screen_BitPerPixel;
extern CVar<bool> r_Screen_Full;
extern CVar<int> r_Screen_Height;
extern CVar<int> r_Screen_Samples;
extern CVar<bool> r_Screen_VSync;
extern CVar<int> r_Screen_Width;
extern CVar<bool> r_Shadow_Cast;
extern CVar<bool> r_Shadow_Downsample;
extern CVar<bool> r_Shadow_PenumbraWedges;
extern CVar<bool> r_Shadow_PostFilter;
extern CVar<bool> r_Shadow_ClearSelfShadowing;
extern CVar<bool> r_Shadow_StencilOp;
extern CVar<bool> r_Shadow_CountInFront;
extern CVar<int> r_Shadow_WedgeCount;
