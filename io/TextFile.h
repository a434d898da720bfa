#pragma once

#include "io/File.h"

namespace IO {

// A text file read line by line or written with formatted text.
class TextFile : public File {
public:
    enum OpenMode : int32_t {
        ModeRead = 0,      // "r"
        ModeWrite = 1,     // "w": created or truncated
        ModeReadWrite = 2, // "w+"
        ModeAppend = 3,    // "a"
    };

    // Lines read by ReadString never exceed this many characters, terminator included.
    static constexpr int LineBufferSize = 8192;
    static constexpr int FormatBufferSize = 4096;

    TextFile(const std::string& path, OpenMode mode);
    ~TextFile() override = default;

    // The next line with its line break, if it has one. A line longer than 8191
    // characters comes back in pieces. At the end of the file the first call returns
    // the empty string; a further call throws "End of file.".
    std::string ReadString();
    // Throws "End of file." when the text cannot be written.
    void WriteString(const std::string& text);
    // Formats into a 4096-character buffer (longer output is truncated) and writes it;
    // returns the number of characters written.
    int PrintFormat(const char* format, ...) __attribute__((format(printf, 2, 3)));
};

} // namespace IO
