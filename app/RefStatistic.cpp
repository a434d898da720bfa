#include "app/RefStatistic.h"

namespace Sys {

namespace {
int32_t g_Allocations = 0;
int32_t g_Deallocations = 0;
} // namespace

void RefStatistic::CountAllocation() { ++g_Allocations; }
void RefStatistic::CountDeallocation() { ++g_Deallocations; }
int32_t RefStatistic::GetAllocations() { return g_Allocations; }
int32_t RefStatistic::GetDeallocations() { return g_Deallocations; }

void RefStatistic::Report()
{
    Print("\n----- Pointer usage statistic -----\n\n");
    PrintFormat("Num allocations: %d\n", g_Allocations);
    PrintFormat("Num deallocations: %d. ", g_Deallocations);
    if (g_Allocations == g_Deallocations)
        Print("Found no memory leaks.");
    else if (g_Allocations > g_Deallocations)
        Message(Warning, "Found memory leaks!");
    else
        Message(Warning, "Found wrong memory usage!");
}

} // namespace Sys
