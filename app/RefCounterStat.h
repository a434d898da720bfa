#pragma once

#include "app/IRefCounter.h"
#include "app/RefStatistic.h"

namespace Sys {

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
            this->count = new int32_t(1);
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
            delete this->p;
            delete this->count;
            this->p = nullptr;
            this->count = nullptr;
            CountDeallocation();
        }
    }

    bool Equals(const IRefCounter<T>& other) const override { return this->p == other.p; }
    T* Get() const override { return this->p; }

    // Address of the object an assignment in progress is about to share.
    static T*& Guard()
    {
        static T* guard = nullptr;
        return guard;
    }
};

} // namespace Sys
