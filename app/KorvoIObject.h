#pragma once

#include "app/IObject.h"
#include "app/Log.h"

namespace Korvo {

// Root of the engine's classes: names its class for exception texts and writes to the log.
class IObject : public Sys::IRTTIObject, public Sys::NonCopyable, public Sys::Log {
public:
    ~IObject() override = default;
};

} // namespace Korvo
