#include "platform/Platform.h"

#include <sys/resource.h>

namespace Platform {

// High priority asks the scheduler for a better nice value. Ordinary users may not
// raise their priority; that refusal is not an error for the program.
BOOL SetPriorityClass(DWORD priorityClass)
{
    int nice = 0;
    if (priorityClass == HIGH_PRIORITY_CLASS)
        nice = -5;
    else if (priorityClass != NORMAL_PRIORITY_CLASS) {
        SetLastError(ERROR_INVALID_DATA);
        return FALSE_;
    }
    setpriority(PRIO_PROCESS, 0, nice);
    return TRUE_;
}

} // namespace Platform
