#pragma once

#include <string>
#include <vector>

namespace Capture {

// Writes RGBA8 pixels, rows from the bottom as GL reads them, as an RGB PNG file (alpha is
// dropped); false when the file cannot be written.
bool WritePng(const std::string& path, int width, int height,
              const std::vector<unsigned char>& rgba);

} // namespace Capture
