// Brings the render system up once and prints "accepted <device type name>" or "refused
// fatal|other\n<message>", then whether the GL globals were emptied: a test runs it in a
// fresh process under Mesa's version and extension overrides, which are read once.

#include "app/FatalException.h"
#include "config/CVars.h"
#include "gl/CapsDesc.h"
#include "gl/DriverDesc.h"
#include "gl/RenderDevice_Release.h"
#include "world/RenderGL2.h"
#include "tests/support/GLTestContext.h"

#include <cstdio>

int main()
{
    const ::Test::GLTestWindow window;
    if (window.Get() == nullptr)
        return 2;

    r_GL_CatchErrors.value = true;
    r_Screen_Full.value = false;
    r_Screen_Width.value = 160;
    r_Screen_Height.value = 120;
    try {
        Korvo::RenderGL2 render(window.Get());
        std::printf("accepted %s", Korvo::RenderGL2::GetDeviceTypeName(render.GetDeviceType()));
    } catch (const Sys::FatalException& e) {
        std::printf("refused fatal\n%s\n", e.GetMessageText().c_str());
    } catch (const Sys::Exception& e) {
        std::printf("refused other\n%s\n", e.GetMessageText().c_str());
    }
    std::printf("globals %s\n", GL::Extensions || GL::Driver || GL::Caps || GL::Device ? "left" : "empty");
    return 0;
}
