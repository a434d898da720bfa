#pragma once

#include "app/IPtr.h"
#include "app/RefCounterStat.h"

#include <cstddef>
#include <type_traits>

namespace Sys {

// Reference-counted owner of a shared object. Created from a fresh `new` and never
// deleted by hand; copies, also between related element types, share one count.
template <class T>
class Ptr : public IPtr<T, RefCounterStat<T>> {
public:
    using ElementType = T;

    Ptr() = default;
    Ptr(std::nullptr_t) {}

    explicit Ptr(T* object) { this->counter.Take(object); }

    Ptr(const Ptr& other) { this->counter.Assign(other.counter); }

    template <class U, class = std::enable_if_t<std::is_convertible<U*, T*>::value>>
    Ptr(const Ptr<U>& other)
    {
        this->counter.p = other.counter.p;
        this->counter.count = other.counter.count;
        if (this->counter.count != nullptr)
            ++*this->counter.count;
    }

    ~Ptr() override { this->counter.Release(); }

    Ptr& operator=(const Ptr& source)
    {
        if (this == &source)
            return *this;
        T*& guard = RefCounterStat<T>::Guard();
        guard = source.counter.p;
        this->counter.Release();
        guard = nullptr;
        this->counter.Assign(source.counter);
        return *this;
    }

    template <class U, class = std::enable_if_t<std::is_convertible<U*, T*>::value>>
    Ptr& operator=(const Ptr<U>& source)
    {
        return *this = Ptr(source);
    }

    Ptr& operator=(std::nullptr_t) { return *this = Ptr(); }

    // Takes a freshly created object, as assigning a temporary Ptr made from it.
    Ptr& operator=(T* object) { return *this = Ptr(object); }

    T* operator->() const { return this->counter.Get(); }
    T& operator*() const { return *this->counter.Get(); }
    T* Get() const { return this->counter.Get(); }

    bool operator==(const Ptr& other) const { return this->counter.Equals(other.counter); }
    bool operator!=(const Ptr& other) const { return !(*this == other); }
    bool IsEmpty() const { return this->counter.p == nullptr; }
    explicit operator bool() const { return this->counter.p != nullptr; }

    // One release of this pointer's reference (see RefCounterStat::Release).
    void Release() { this->counter.Release(); }

    // Releases until the pointer is empty, destroying the object whatever other
    // references remain. Used by the shutdown sequence on the global pointers.
    void ReleaseAll()
    {
        while (this->counter.p != nullptr)
            this->counter.Release();
    }

    // Shares the count of a pointer to a related type (static or checked down-cast).
    template <class U>
    static Ptr StaticFrom(const Ptr<U>& other)
    {
        Ptr result;
        result.counter.p = static_cast<T*>(other.counter.p);
        result.counter.count = other.counter.count;
        if (result.counter.count != nullptr)
            ++*result.counter.count;
        return result;
    }

    template <class U>
    static Ptr DynamicFrom(const Ptr<U>& other)
    {
        Ptr result;
        T* object = dynamic_cast<T*>(other.counter.p);
        if (object == nullptr)
            return result;
        result.counter.p = object;
        result.counter.count = other.counter.count;
        ++*result.counter.count;
        return result;
    }
};

} // namespace Sys
