#pragma once

#include "app/IObject.h"

#include <cstdint>

namespace Sys {

// The shared part of a counted pointer: the object and its separately allocated count.
template <class T>
class IRefCounter : public IObject {
public:
    ~IRefCounter() override = default;

    virtual void Assign(const IRefCounter& other) = 0;
    virtual void Release() = 0;
    virtual bool Equals(const IRefCounter& other) const { return p == other.p; }
    virtual T* Get() const { return p; }

    T* p = nullptr;
    int32_t* count = nullptr;
};

} // namespace Sys
