#pragma once

namespace GL {

// A pixel format: both the request given to a context and the answer read back from it.
struct PixelFormatDesc {
    bool DoubleBuffer = false;
    bool Stereo = false;
    int PixelType = 1;     // 0 colour index, 1 RGBA, 2 RGBA floating point
    int Acceleration = 0;  // 0 none, 1 generic, 2 full
    int ColorBits = 0;
    int RedBits = 0, GreenBits = 0, BlueBits = 0, AlphaBits = 0;
    int DepthBits = 0, StencilBits = 0;
    int AccumRedBits = 0, AccumGreenBits = 0, AccumBlueBits = 0, AccumAlphaBits = 0;
    int AuxBuffers = 0;
    int SampleBuffers = 0;
    int Samples = 0;  // above 0 selects the extended pixel-format choice
};

} // namespace GL
