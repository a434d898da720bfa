#pragma once

#include "app/Log.h"

#include <cstdint>

namespace Sys {

// Process-wide allocation and deallocation counters of Sys::Ptr, reported at shutdown
// as a leak check. The counters only grow.
class RefStatistic : public Log {
public:
    static void Report();

    static int32_t GetAllocations();
    static int32_t GetDeallocations();

protected:
    static void CountAllocation();
    static void CountDeallocation();
};

} // namespace Sys
