#pragma once

#include <string>

namespace Sys {

// Root of the class tree: anything owned through Sys::Ptr is destroyed through this.
class IObject {
public:
    virtual ~IObject() = default;
};

// Objects that own handles or large buffers are never copied.
class NonCopyable : public IObject {
public:
    NonCopyable() = default;
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;
};

// Names its own class ("Korvo::RenderGL2") for exception texts and the log.
class IRTTIObject : public IObject {
public:
    virtual std::string GetTypeName() const = 0;
};

} // namespace Sys
