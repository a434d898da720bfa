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
    void Load() override;
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
};
