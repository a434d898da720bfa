// Brings the render system up once and prints "accepted <device type name>" or "refused
// fatal|other\n<message>", then whether the GL globals were emptied: a test runs it in a
// fresh process under Mesa's version and extension overrides, which are read once.

#include "app/FatalException.h"
#include "config/CVars.h"
#include "gl/CapsDesc.h"
#include "gl/DriverDesc.h"
#include "gl/RenderDevice_Release.h"
#include "world/RenderGL2.h"

#include <cstdio>

namespace {

Platform::LRESULT Procedure(Platform::HWND w, Platform::UINT m, Platform::WPARAM wp,
                            Platform::LPARAM lp)
{
    return Platform::DefWindowProcA(w, m, wp, lp);
}

bool GlobalsEmpty()
{
    return !GL::Extensions && !GL::Driver && !GL::Caps && !GL::Device;
}

} // namespace

int main()
{
    Platform::WNDCLASSA windowClass;
    windowClass.style = Platform::CS_OWNDC;
    windowClass.lpfnWndProc = Procedure;
    windowClass.lpszClassName = "KorvoProbe";
    if (Platform::RegisterClassA(&windowClass) == 0)
        return 2;
    Platform::HWND window = Platform::CreateWindowExA(0, "KorvoProbe", "Korvo", Platform::WS_POPUP,
                                                      0, 0, 100, 100, nullptr, nullptr, nullptr,
                                                      nullptr);
    if (window == nullptr)
        return 3;

    r_GL_CatchErrors.value = true;
    r_Screen_Full.value = false;
    r_Screen_Width.value = 160;
    r_Screen_Height.value = 120;
    try {
        Korvo::RenderGL2 render(window);
        std::printf("accepted %s", Korvo::RenderGL2::GetDeviceTypeName(render.GetDeviceType()));
    } catch (const Sys::FatalException& e) {
        std::printf("refused fatal\n%s\n", e.GetMessageText().c_str());
    } catch (const Sys::Exception& e) {
        std::printf("refused other\n%s\n", e.GetMessageText().c_str());
    }
    std::printf("globals %s\n", GlobalsEmpty() ? "empty" : "left");
    Platform::DestroyWindow(window);
    Platform::UnregisterClassA("KorvoProbe", nullptr);
    return 0;
}
