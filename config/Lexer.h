#pragma once

#include "app/IObject.h"
#include "app/Ptr.h"
#include "config/Token.h"

#include <string>
#include <vector>

namespace Utils {

// Splits a configuration line into words.
//
// Separators are the bytes below 33 read as signed chars: control characters, the blank
// and every byte from 128 up. A line feed ends the line. "//" at the start of a word
// starts a comment that runs to the end of the line. A word that starts with a double
// quote runs to the next double quote (or the end of the line) and keeps its blanks;
// an empty pair of quotes ends the line. Anything else, "=" and "/" included, is part of
// a word, so "name=value" is one word.
class Lexer : public Sys::IObject {
public:
    ~Lexer() override = default;

    // Replaces the contents of `tokens` with the words of `line`.
    void Tokenize(const std::string& line, std::vector<Sys::Ptr<Token>>& tokens) const;
};

} // namespace Utils
