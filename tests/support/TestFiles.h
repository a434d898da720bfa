#pragma once

// Small file helpers for tests that check what the program wrote (the log among them).

#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

namespace TestFiles {

inline void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

inline std::string ReadLog()
{
    return Read("sys_Log.log");
}

// True if `text` begins with a time in the standard ctime form ("Sun Dec  6 03:04:10 2026")
// followed by its line break.
inline bool StartsWithCtime(const std::string& text)
{
    std::tm time{};
    const char* end = strptime(text.c_str(), "%a %b %d %H:%M:%S %Y", &time);
    return end == text.c_str() + 24 && *end == '\n';
}

// How many times `part` occurs in `text`.
inline int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace TestFiles
