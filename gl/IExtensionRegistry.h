#pragma once

#include "gl/IObject.h"

#include <set>
#include <string>

namespace GL {

// What a driver's extension string offers, cut into names once at construction.
class IExtensionRegistry : public IObject {
public:
    ~IExtensionRegistry() override = default;

    // True when `name` is in Extensions; a name holding a blank is a caller's mistake.
    bool IsSupported(const std::string& name) const;

    // Cuts `text` at each blank. Characters after the last blank form no name, and two
    // blanks in a row give the empty name: driver strings end with a blank.
    static void Tokenise(const char* text, std::set<std::string>& names);

    const char* VersionString = nullptr;
    const char* ExtensionString = nullptr;
    std::set<std::string> Extensions;
};

} // namespace GL
