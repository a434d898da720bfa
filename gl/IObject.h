#pragma once

#include "app/IObject.h"
#include "app/Log.h"

namespace GL {

// Root of the GL layer's classes: names its class for exception texts and writes to the log.
class IObject : public Sys::IRTTIObject, public Sys::NonCopyable, public Sys::Log {
public:
    ~IObject() override = default;
};

// Root of the texture classes, which have no class-name query of their own.
class Object : public Sys::NonCopyable, public Sys::Log {
public:
    ~Object() override = default;
};

} // namespace GL
