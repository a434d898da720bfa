#pragma once

#include "app/KorvoIObject.h"
#include "app/Ptr.h"
#include "gl/Display.h"

namespace Korvo {

// The render system: the display and the window the scene is drawn into.
class IRender : public Korvo::IObject {
public:
    struct Size {
        int Width = 0;
        int Height = 0;
    };

    ~IRender() override = default;

    // Styles, places and shows the window for a client area of `size`.
    virtual void SetWindowSize(const Size& size) = 0;
    virtual void GetWindowSize(Size& size) const = 0;
    // Frame hooks; the OpenGL render system needs neither.
    virtual void BeginScene() = 0;
    virtual void EndScene() = 0;

    const Sys::Ptr<IDisplay>& GetDisplay() const { return display; }

protected:
    Sys::Ptr<IDisplay> display;
    int width = 0;
    int height = 0;
};

} // namespace Korvo
