#pragma once

#include <cstdint>
#include <string>

// A variable as the configuration file shows it: the value as text.
struct CVarDesc {
    std::string name;
    int32_t type = 0;
    std::string valueText; // decimal for int, 0 or 1 for bool, the text itself for string
    uint32_t flags = 0;
    std::string description;
};
