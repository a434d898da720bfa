#pragma once

#include "platform/Platform.h"

#include <string>
#include <vector>

namespace GL {
class TextureRectangle;
}

// Set-up steps the off-screen tools share.
namespace Capture {

// Sets configuration variables by name from "name=value[,name=value...]"; throws
// Sys::Exception for an item without "=" or an unknown name.
void ApplySettings(const std::string& settings);

// A borderless window of r_Screen_Width x r_Screen_Height for the render system, or
// nullptr when the X display refuses one.
Platform::HWND OpenWindow(const char* title);

// The RGBA8 content of a rectangle texture, rows from the bottom.
std::vector<unsigned char> ReadTexture(const GL::TextureRectangle& texture);

} // namespace Capture
