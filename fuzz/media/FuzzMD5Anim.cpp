// Arbitrary text as an MD5 animation file: it either becomes an animation that can be
// played, or fails with a Sys::Exception.

#include "app/Exception.h"
#include "media/ModelLoaderMD5.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        Media::TextFileMD5 file(std::string(reinterpret_cast<const char*>(data), size));
        Sys::Ptr<Korvo::ISkeletalAnimation> animation = Media::ModelLoaderMD5::ParseAnimation(file);
        for (float step : {0.01f, 0.5f, 3.0f}) {
            animation->Advance(step);
            const float phase = animation->GetPhase();
            if (!(phase >= 0.0f && phase <= 1.0f))
                std::abort();
        }
    } catch (const Sys::Exception&) {
    }
    return 0;
}
