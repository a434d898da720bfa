#pragma once

#include "app/IObject.h"

#include <string>

namespace Utils {

// One word of a configuration line; classifies and converts its text.
class Token : public Sys::IObject {
public:
    // Throws "Token::Token : Invalid <Str> parameter." for an empty text.
    explicit Token(const std::string& text);
    ~Token() override = default;

    // Exactly one of the type keywords "bool", "int", "float", "string".
    bool IsType() const;
    // A digit, "+" or "-", then digits only; at least one digit.
    bool IsInteger() const;
    // A digit, "+" or "-", then digits with at most one "."; at least one digit.
    bool IsFloat() const;

    // As atoi, not equal to 0.
    bool ToBool() const;
    // As atoi, except that values beyond the int range saturate instead of overflowing.
    int ToInt() const;
    // As atof, as a single-precision float.
    float ToFloat() const;

    const std::string& GetText() const { return text; }

private:
    std::string text;
};

} // namespace Utils
