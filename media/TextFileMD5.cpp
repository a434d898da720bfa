#include "media/TextFileMD5.h"

#include "app/Exception.h"
#include "io/TextFile.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace Media {

namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// The scanner behind both ScanRecord and ScanText. text must be zero-terminated at end.
// Values go to temporaries first so that a failed attempt changes nothing.
bool ScanAt(const char* text, size_t& pos, const char* format,
            std::vector<TextFileMD5::Field>& fields, size_t& firstToken)
{
    struct Value {
        long i = 0;
        float f = 0;
        std::string s;
    };
    std::vector<Value> values(fields.size());
    size_t field = 0;
    size_t p = pos;
    firstToken = std::string::npos;
    auto skipSpace = [&]() {
        while (text[p] != '\0' && IsSpace(text[p]))
            ++p;
        if (firstToken == std::string::npos && text[p] != '\0')
            firstToken = p;
    };

    for (const char* f = format; *f != '\0'; ++f) {
        if (IsSpace(*f)) {
            skipSpace();
            continue;
        }
        if (*f != '%') {
            if (firstToken == std::string::npos)
                firstToken = p;
            if (text[p] != *f)
                return false;
            ++p;
            continue;
        }
        ++f;
        if (field >= fields.size())
            return false;
        skipSpace();
        if (text[p] == '\0')
            return false;
        const TextFileMD5::Field& out = fields[field];
        if (*f == 'd') {
            if (out.Type != TextFileMD5::Field::Int)
                return false;
            char* end = nullptr;
            errno = 0;
            const long v = std::strtol(text + p, &end, 10);
            if (end == text + p || errno == ERANGE || v < INT_MIN || v > INT_MAX)
                return false;
            values[field].i = v;
            p = end - text;
        } else if (*f == 'f') {
            if (out.Type != TextFileMD5::Field::Float)
                return false;
            char* end = nullptr;
            const float v = std::strtof(text + p, &end);
            if (end == text + p)
                return false;
            values[field].f = v;
            p = end - text;
        } else if (*f == 's') {
            if (out.Type != TextFileMD5::Field::Word)
                return false;
            const size_t start = p;
            while (text[p] != '\0' && !IsSpace(text[p]))
                ++p;
            values[field].s.assign(text + start, p - start);
        } else {
            return false;
        }
        ++field;
    }
    if (field != fields.size())
        return false;
    for (size_t i = 0; i < fields.size(); ++i) {
        switch (fields[i].Type) {
        case TextFileMD5::Field::Int:
            *fields[i].IntValue = static_cast<int>(values[i].i);
            break;
        case TextFileMD5::Field::Float:
            *fields[i].FloatValue = values[i].f;
            break;
        case TextFileMD5::Field::Word:
            *fields[i].WordValue = std::move(values[i].s);
            break;
        }
    }
    pos = p;
    return true;
}

} // namespace

bool ScanText(const std::string& text, const char* format,
              std::vector<TextFileMD5::Field> fields)
{
    size_t pos = 0, first = 0;
    return ScanAt(text.c_str(), pos, format, fields, first);
}

TextFileMD5::TextFileMD5(std::string text) : text(std::move(text))
{
    // The scanner stops at a zero byte; one inside the file ends the text there.
    const size_t zero = this->text.find('\0');
    if (zero != std::string::npos)
        this->text.resize(zero);
}

TextFileMD5 TextFileMD5::Open(const std::string& fileName)
{
    // The whole file is read through the engine's text file, line by line, and the
    // records are then scanned from memory.
    IO::TextFile file(fileName, IO::TextFile::ModeRead);
    std::string content;
    while (!file.IsEOF())
        content += file.ReadString();
    return TextFileMD5(std::move(content));
}

bool TextFileMD5::NextLine()
{
    if (pos >= text.size())
        return false;
    const size_t end = text.find('\n', pos);
    if (end == std::string::npos) {
        line = text.substr(pos);
        pos = text.size();
    } else {
        line = text.substr(pos, end + 1 - pos);
        pos = end + 1;
    }
    return true;
}

std::string TextFileMD5::FirstWord(const std::string& s, size_t& rest)
{
    size_t i = 0;
    while (i < s.size() && IsSpace(s[i]))
        ++i;
    const size_t start = i;
    while (i < s.size() && !IsSpace(s[i]))
        ++i;
    rest = i;
    return s.substr(start, i - start);
}

int TextFileMD5::ReadInteger(const std::string& Keyword)
{
    while (NextLine()) {
        size_t rest;
        if (FirstWord(line, rest) != Keyword)
            continue;
        int value = 0;
        if (ScanText(line.substr(rest), "%d", {&value}))
            return value;
    }
    throw Sys::Exception("Media.TextFileMD5 : Unable to read integer \"%s\"", Keyword.c_str());
}

std::string TextFileMD5::ReadString(const std::string& Keyword)
{
    while (NextLine()) {
        // Exporters write unset values as "", which is a value like any other: taking the
        // next quoted text instead would read a name further down as this value.
        const size_t open = line.find('"');
        if (open == std::string::npos)
            continue;
        const size_t close = line.find('"', open + 1);
        if (close == std::string::npos)
            continue;
        if (close - open - 1 > MaxQuoted)
            throw Sys::Exception("Media.TextFileMD5 : String \"%s\" is longer than %zu characters",
                                 Keyword.c_str(), MaxQuoted);
        return line.substr(open + 1, close - open - 1);
    }
    throw Sys::Exception("Media.TextFileMD5 : Unable to read string \"%s\"", Keyword.c_str());
}

void TextFileMD5::SeekChunk(const std::string& Keyword)
{
    bool found = false;
    while (NextLine()) {
        size_t rest;
        if (!found && FirstWord(line, rest) == Keyword)
            found = true;
        if (found && line.find('{') != std::string::npos)
            return;
    }
    throw Sys::Exception("Media.TextFileMD5 : Unable to seek to chunk \"%s\"", Keyword.c_str());
}

void TextFileMD5::SeekFrame(int Index)
{
    bool found = false;
    while (NextLine()) {
        size_t rest;
        int value = 0;
        if (!found && FirstWord(line, rest) == "frame" &&
            ScanText(line.substr(rest), "%d", {&value}) && value == Index)
            found = true;
        if (found && line.find('{') != std::string::npos)
            return;
    }
    throw Sys::Exception("Media.TextFileMD5 : Unable to seek to frame index %d", Index);
}

bool TextFileMD5::Attempt(const char* format, std::vector<Field>& fields, size_t& firstToken)
{
    return ScanAt(text.c_str(), pos, format, fields, firstToken);
}

bool TextFileMD5::ScanOnce(const char* format, std::vector<Field> fields)
{
    size_t first;
    return Attempt(format, fields, first);
}

bool TextFileMD5::ScanRecord(const char* format, std::vector<Field> fields)
{
    while (pos < text.size()) {
        size_t first;
        if (Attempt(format, fields, first))
            return true;
        if (first == std::string::npos)
            return false;
        // Try again from the line after the one where this attempt met its first text;
        // blank lines before it were passed over by the attempt already.
        const size_t end = text.find('\n', first);
        pos = end == std::string::npos ? text.size() : end + 1;
    }
    return false;
}

} // namespace Media
