#include "config/Lexer.h"

namespace Utils {

namespace {

// The line is handled as a C string: a zero byte ends it like the end of the text.
bool IsSeparator(char c)
{
    return c != '\0' && static_cast<signed char>(c) < 33;
}

// Takes the next word starting at `pos`; an empty word ends the line.
std::string NextWord(const char* text, size_t& pos)
{
    while (IsSeparator(text[pos]))
        ++pos;
    if (text[pos] == '\0')
        return std::string();

    if (text[pos] == '/' && text[pos + 1] == '/') {
        while (text[pos] != '\0' && text[pos] != '\n')
            ++pos;
        return std::string();
    }

    if (text[pos] == '"') {
        const size_t start = ++pos;
        while (text[pos] != '\0' && text[pos] != '\n' && text[pos] != '"')
            ++pos;
        std::string word(text + start, pos - start);
        if (text[pos] == '"')
            ++pos;
        return word;
    }

    const size_t start = pos;
    while (text[pos] != '\0' && !IsSeparator(text[pos]))
        ++pos;
    return std::string(text + start, pos - start);
}

} // namespace

void Lexer::Tokenize(const std::string& line, std::vector<Sys::Ptr<Token>>& tokens) const
{
    tokens.clear();
    const char* text = line.c_str();
    size_t pos = 0;
    for (;;) {
        while (text[pos] != '\n' && IsSeparator(text[pos]))
            ++pos;
        if (text[pos] == '\n' || text[pos] == '\0')
            return;
        std::string word = NextWord(text, pos);
        if (word.empty())
            return;
        tokens.push_back(Sys::Ptr<Token>(new Token(word)));
    }
}

} // namespace Utils
