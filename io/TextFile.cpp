#include "io/TextFile.h"

#include "app/DeveloperException.h"
#include "app/Exception.h"

#include <cstdarg>

namespace IO {

namespace {

// One line buffer for every text file: lines are read one at a time on one thread.
char g_LineBuffer[TextFile::LineBufferSize];

const char* StreamMode(TextFile::OpenMode mode)
{
    switch (mode) {
    case TextFile::ModeRead: return "r";
    case TextFile::ModeWrite: return "w";
    case TextFile::ModeReadWrite: return "w+";
    case TextFile::ModeAppend: return "a";
    }
    throw Sys::DeveloperException(Sys::Where("IO::TextFile"),
                                  Sys::DeveloperException::ERR_INVALID_ENUM,
                                  "Unknown <Mode> parameter.");
}

} // namespace

TextFile::TextFile(const std::string& path, OpenMode mode) : File(path, StreamMode(mode))
{
    // Written text goes out line by line, so a full disk shows up at the write that
    // hit it instead of silently at close.
    if (mode != ModeRead)
        std::setvbuf(stream, nullptr, _IOLBF, BUFSIZ);
}

std::string TextFile::ReadString()
{
    if (std::feof(stream))
        throw Sys::Exception("End of file.");
    if (std::fgets(g_LineBuffer, LineBufferSize, stream) == nullptr) {
        if (std::ferror(stream))
            throw Sys::Exception("Unable to read string.");
        return std::string();
    }
    return std::string(g_LineBuffer);
}

void TextFile::WriteString(const std::string& text)
{
    if (text.empty())
        return;
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size() || std::ferror(stream))
        throw Sys::Exception("End of file.");
}

int TextFile::PrintFormat(const char* format, ...)
{
    // Kept for the whole run: formatted output never reaches the size of a frame's work.
    static char buffer[FormatBufferSize] = {};
    va_list args;
    va_start(args, format);
    const int formatted = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (formatted < 0)
        throw Sys::Exception("An error occur at IO::TextFile::PrintFormat.");
    const int length = formatted < FormatBufferSize ? formatted : FormatBufferSize - 1;
    if (static_cast<int>(std::fwrite(buffer, 1, length, stream)) != length ||
        std::ferror(stream))
        throw Sys::Exception("End of file.");
    return length;
}

} // namespace IO
