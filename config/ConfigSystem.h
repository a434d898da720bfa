#pragma once

#include "config/IConfigSystem.h"

#include <map>

// The process-wide registry. It is created by the first variable that registers (during
// static initialisation) and destroyed at program exit, after the variables. It does not
// own the variables.
class ConfigSystem : public IConfigSystem {
public:
    static ConfigSystem& Instance();

    // "sys_Config.conf", in the working directory.
    static const char* FileName();

    ~ConfigSystem() override = default;

    void Register(ICVar* cvar) override;
    // Reads the file; every line that holds words but sets nothing, and every value
    // clamped into its range, is logged as a warning with the reason. Only a regular
    // file is read: anything else is refused like a missing one.
    void Load() override;
    // Sets a variable after the file was read, as the command line's --set does: an
    // unknown name or a value that does not parse throws. The value is saved like any.
    void Override(const std::string& name, const std::string& value);
    // Besides writing the file, logs a warning for every variable whose value the program
    // changed since Load, with the reason.
    void Save() override;
    void GetVariables(uint32_t flagMask, std::vector<ICVar*>& list) const override;
    ICVar* Find(const std::string& name) const override;

    // Removes the variable if it is the one registered under its name (variables that
    // die before the program ends, such as locals in tests).
    void Unregister(ICVar* cvar);

private:
    ConfigSystem() = default;

    // std::string compares bytes as unsigned chars: "Z" < "_" < "a".
    std::map<std::string, ICVar*> variables;
    // The values as Load and Override left them; empty before the file was read.
    std::map<std::string, std::string> loaded;

    // Sets name from value for the line or option named by place; warning says why not,
    // or that the value was clamped (empty otherwise).
    bool Assign(const std::string& place, const std::string& name, const std::string& value,
                std::string& warning);
};
