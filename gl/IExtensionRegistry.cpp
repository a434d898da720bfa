#include "gl/IExtensionRegistry.h"

#include "app/DeveloperException.h"

namespace GL {

bool IExtensionRegistry::IsSupported(const std::string& name) const
{
    if (name.find(' ') != std::string::npos)
        throw Sys::DeveloperException(
            Sys::DeveloperException::ERR_INVALID_PARAMETER,
            "Failed to query OpenGL extension. Invalid extension name: <%s>.", name.c_str());
    return Extensions.count(name) != 0;
}

void IExtensionRegistry::Tokenise(const char* text, std::set<std::string>& names)
{
    if (text == nullptr)
        return;
    const char* start = text;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == ' ') {
            names.insert(std::string(start, p));
            start = p + 1;
        }
    }
}

} // namespace GL
