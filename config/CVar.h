#pragma once

#include "config/ICVar.h"

#include <string>

// A configuration variable of type bool, int, float or std::string. Program code reads
// `value` directly; only loading the configuration file writes it through SetFromString.
template <class T>
class CVar : public ICVar {
public:
    // An int or float variable; values read from the file are clamped into
    // minValue..maxValue when minValue < maxValue.
    CVar(const char* name, T defaultValue, T minValue, T maxValue, uint32_t flags,
         const char* description = "");
    // A variable without a range (bool and string variables).
    CVar(const char* name, T defaultValue, uint32_t flags, const char* description = "");
    ~CVar() override;

    const std::string& GetName() const override { return name; }
    int32_t GetType() const override { return type; }
    uint32_t GetFlags() const override { return flags; }
    void GetDesc(CVarDesc& desc) const override;
    bool SetFromString(const std::string& text) override;
    void Reset() override { value = defaultValue; }

    std::string name;
    T value;
    T* valuePtr;
    int32_t type;
    T defaultValue;
    T minValue;
    T maxValue;
    uint32_t flags;
    std::string description;
};

extern template class CVar<bool>;
extern template class CVar<int>;
extern template class CVar<float>;
extern template class CVar<std::string>;
