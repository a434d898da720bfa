#pragma once

// Small file helpers for tests that check what the program wrote.

#include "app/Exception.h"

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

// The message of the Sys::Exception that `action` throws, or "" if it throws none.
template <class Action>
std::string Thrown(Action action)
{
    try {
        action();
    } catch (const Sys::Exception& e) {
        return e.GetMessageText();
    }
    return std::string();
}

} // namespace TestFiles
