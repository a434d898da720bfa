#pragma once

#include "app/IObject.h"
#include "config/ICVar.h"

#include <cstdint>
#include <string>
#include <vector>

// The registry of configuration variables and its file.
class IConfigSystem : public Sys::NonCopyable {
public:
    ~IConfigSystem() override = default;

    // Enters the variable under its name; a later variable of the same name replaces
    // the earlier one.
    virtual void Register(ICVar* cvar) = 0;
    // Reads the configuration file; throws "Unable to open file \"%s\"" when it cannot.
    virtual void Load() = 0;
    // Rewrites the configuration file with every variable, grouped and aligned.
    virtual void Save() = 0;
    // Appends every variable sharing a bit with flagMask, in name order.
    virtual void GetVariables(uint32_t flagMask, std::vector<ICVar*>& list) const = 0;
    // The variable of exactly this name, or null.
    virtual ICVar* Find(const std::string& name) const = 0;
};
