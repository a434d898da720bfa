#include "config/Token.h"

#include "app/Exception.h"
#include "config/ICVar.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace Utils {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool StartsNumber(char c) { return IsDigit(c) || c == '+' || c == '-'; }

// A sign alone, or with nothing but a point after it, is no number.
bool HasDigit(const std::string& text)
{
    for (char c : text)
        if (IsDigit(c))
            return true;
    return false;
}

} // namespace

Token::Token(const std::string& text) : text(text)
{
    if (text.empty())
        throw Sys::Exception("Token::Token : Invalid <Str> parameter.");
}

bool Token::IsType() const
{
    for (int32_t type = ICVar::TypeBool; type <= ICVar::TypeString; ++type)
        if (text == ICVar::GetTypeKeyword(type))
            return true;
    return false;
}

bool Token::IsInteger() const
{
    if (!StartsNumber(text[0]) || !HasDigit(text))
        return false;
    for (size_t i = 1; i < text.size(); ++i)
        if (!IsDigit(text[i]))
            return false;
    return true;
}

bool Token::IsFloat() const
{
    if (!StartsNumber(text[0]) || !HasDigit(text))
        return false;
    bool point = false;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] == '.' && !point)
            point = true;
        else if (!IsDigit(text[i]))
            return false;
    }
    return true;
}

bool Token::ToBool() const
{
    return ToInt() != 0;
}

int Token::ToInt() const
{
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

float Token::ToFloat() const
{
    return static_cast<float>(std::atof(text.c_str()));
}

} // namespace Utils
