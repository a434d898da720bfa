#include "config/CVar.h"

#include "config/ConfigSystem.h"
#include "config/Token.h"

#include <cstdio>

const char* ICVar::GetTypeKeyword(int32_t type)
{
    static const char* const keywords[] = {"bool", "int", "float", "string"};
    if (type < 0 || type > 3)
        return nullptr;
    return keywords[type];
}

namespace {

template <class T> constexpr int32_t TypeOf();
template <> constexpr int32_t TypeOf<bool>() { return ICVar::TypeBool; }
template <> constexpr int32_t TypeOf<int>() { return ICVar::TypeInt; }
template <> constexpr int32_t TypeOf<float>() { return ICVar::TypeFloat; }
template <> constexpr int32_t TypeOf<std::string>() { return ICVar::TypeString; }

std::string ValueText(bool value) { return value ? "1" : "0"; }
std::string ValueText(int value) { return std::to_string(value); }
std::string ValueText(const std::string& value) { return value; }
std::string ValueText(float value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%g", static_cast<double>(value));
    return buffer;
}

template <class T>
T Clamp(T value, T minValue, T maxValue)
{
    if (!(minValue < maxValue))
        return value;
    if (value < minValue)
        return minValue;
    if (value > maxValue)
        return maxValue;
    return value;
}

// Each returns false when the text is not valid for the type.
bool Parse(const Utils::Token& token, bool& result)
{
    const std::string& text = token.GetText();
    if (text.size() != 1 || (text[0] != '0' && text[0] != '1'))
        return false;
    result = text[0] == '1';
    return true;
}

bool Parse(const Utils::Token& token, int& result)
{
    if (!token.IsInteger())
        return false;
    result = token.ToInt();
    return true;
}

bool Parse(const Utils::Token& token, float& result)
{
    if (!token.IsFloat())
        return false;
    result = token.ToFloat();
    return true;
}

bool Parse(const Utils::Token& token, std::string& result)
{
    result = token.GetText();
    return true;
}

} // namespace

template <class T>
CVar<T>::CVar(const char* name, T defaultValue, T minValue, T maxValue, uint32_t flags,
              const char* description)
    : name(name), value(defaultValue), valuePtr(&value), type(TypeOf<T>()),
      defaultValue(defaultValue), minValue(minValue), maxValue(maxValue), flags(flags),
      description(description != nullptr ? description : "")
{
    ConfigSystem::Instance().Register(this);
}

template <class T>
CVar<T>::CVar(const char* name, T defaultValue, uint32_t flags, const char* description)
    : CVar(name, defaultValue, defaultValue, defaultValue, flags, description)
{
}

template <class T>
CVar<T>::~CVar()
{
    ConfigSystem::Instance().Unregister(this);
}

template <class T>
void CVar<T>::GetDesc(CVarDesc& desc) const
{
    desc.name = name;
    desc.type = type;
    desc.valueText = ValueText(value);
    desc.flags = flags;
    desc.description = description;
}

template <class T>
bool CVar<T>::SetFromString(const std::string& text)
{
    // An empty text makes the token throw, as it does for any empty word.
    const Utils::Token token(text);
    T parsed;
    if (!Parse(token, parsed))
        return false;
    *valuePtr = Clamp(parsed, minValue, maxValue);
    return true;
}

template class CVar<bool>;
template class CVar<int>;
template class CVar<float>;
template class CVar<std::string>;
