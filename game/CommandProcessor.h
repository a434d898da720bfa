#pragma once

#include "app/IObject.h"

// The process-wide command processor. It accepts no commands yet; start-up takes the
// instance so that it exists for the whole run, as the configuration registry does.
class CommandProcessor : public Sys::NonCopyable {
public:
    static CommandProcessor& Instance()
    {
        static CommandProcessor instance;
        return instance;
    }

private:
    CommandProcessor() = default;
};
