#pragma once

#include "app/Exception.h"

#include <string>

// The text of the Sys::Exception that f raises, or "no failure".
template <class F>
std::string ErrorOf(F f)
{
    try {
        f();
    } catch (const Sys::Exception& e) {
        return e.GetMessageText();
    }
    return "no failure";
}
