#include "tools/capture/CaptureSetup.h"

#include "app/Exception.h"
#include "config/CVars.h"
#include "config/ConfigSystem.h"
#include "gl/TextureRectangle.h"

#include <GL/glew.h>

namespace Capture {

namespace {

Platform::LRESULT Procedure(Platform::HWND w, Platform::UINT m, Platform::WPARAM wp,
                            Platform::LPARAM lp)
{
    return Platform::DefWindowProcA(w, m, wp, lp);
}

} // namespace

void ApplySettings(const std::string& settings)
{
    for (size_t at = 0; at < settings.size();) {
        size_t end = settings.find(',', at);
        if (end == std::string::npos)
            end = settings.size();
        const std::string item = settings.substr(at, end - at);
        const size_t equals = item.find('=');
        ICVar* variable = equals == std::string::npos
                              ? nullptr
                              : ConfigSystem::Instance().Find(item.substr(0, equals));
        if (variable == nullptr)
            throw Sys::Exception("Unknown setting <%s>.", item.c_str());
        if (!variable->SetFromString(item.substr(equals + 1)))
            throw Sys::Exception("Invalid value in setting <%s>.", item.c_str());
        at = end + 1;
    }
}

Platform::HWND OpenWindow(const char* title)
{
    Platform::WNDCLASSA windowClass;
    windowClass.style = Platform::CS_OWNDC;
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = "Korvo";
    Platform::RegisterClassA(&windowClass);
    return Platform::CreateWindowExA(0, "Korvo", title, Platform::WS_POPUP, 0, 0,
                                     r_Screen_Width.value, r_Screen_Height.value, nullptr,
                                     nullptr, nullptr, nullptr);
}

std::vector<unsigned char> ReadTexture(const GL::TextureRectangle& texture)
{
    std::vector<unsigned char> rgba(static_cast<size_t>(texture.GetWidth()) *
                                    texture.GetHeight() * 4);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, texture.GetHandle());
    glGetTexImage(GL_TEXTURE_RECTANGLE_ARB, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);
    return rgba;
}

} // namespace Capture
