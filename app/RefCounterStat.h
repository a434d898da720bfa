#pragma once

#include "app/IRefCounter.h"
#include "app/RefStatistic.h"

#include <type_traits>

namespace Sys {

// The shared count of one owned object. The count is its first member, so the counter's
// `count` pointer is the address of the whole block. The block also remembers how to
// destroy the object as it was created: the object is then destroyed correctly wherever
// the last release happens, also in code that sees only a forward declaration of the
// pointer's element type, and through pointers of a base type.
struct RefCountBlock {
    int32_t count;
    void (*destroy)(const void* object);
    const void* object;

    static RefCountBlock* Of(int32_t* count) { return reinterpret_cast<RefCountBlock*>(count); }
};
static_assert(std::is_standard_layout<RefCountBlock>::value,
              "the count must be the address of its block");

// The counter Sys::Ptr uses: shares the count, destroys the object with the last
// release and feeds the process-wide statistic.
template <class T>
class RefCounterStat : public IRefCounter<T>, public RefStatistic {
public:
    RefCounterStat() = default;
    RefCounterStat(const RefCounterStat&) = delete;
    RefCounterStat& operator=(const RefCounterStat&) = delete;

    // Takes a freshly created object into ownership (an empty counter only).
    void Take(T* object)
    {
        this->p = object;
        if (object != nullptr) {
            RefCountBlock* block = new RefCountBlock{1, &Destroy, object};
            this->count = &block->count;
            CountAllocation();
        }
    }

    ~RefCounterStat() override = default;

    void Assign(const IRefCounter<T>& other) override
    {
        this->p = other.p;
        this->count = other.count;
        if (this->count != nullptr)
            ++*this->count;
    }

    // A release that does not destroy leaves p and count as they are: the pointer is
    // destroyed or reassigned right afterwards, or released again until it empties.
    void Release() override
    {
        if (this->p == nullptr)
            return;
        --*this->count;
        if (*this->count == 0 && this->p != Guard()) {
            RefCountBlock* block = RefCountBlock::Of(this->count);
            block->destroy(block->object);
            delete block;
            this->p = nullptr;
            this->count = nullptr;
            CountDeallocation();
        }
    }

    bool Equals(const IRefCounter<T>& other) const override { return this->p == other.p; }
    T* Get() const override { return this->p; }

    // Destroys an object of this element type; instantiated where the object is taken into
    // ownership, so the type is complete there.
    static void Destroy(const void* object) { delete static_cast<const T*>(object); }

    // Address of the object an assignment in progress is about to share.
    static T*& Guard()
    {
        static T* guard = nullptr;
        return guard;
    }
};

} // namespace Sys
