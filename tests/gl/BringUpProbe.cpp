// Brings the render system up once on a window of its own and prints the outcome, so that a
// test can run the bring-up in a fresh process under driver settings of its choice (Mesa
// reads its version and extension overrides once per process):
//   accepted <device type name>
//   refused fatal (or: refused other)
//   <message>
// followed by "globals empty" or "globals left" for the extension registry, the driver and
// caps descriptions and the render device after the attempt.

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
