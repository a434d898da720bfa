#pragma once

#include "app/IObject.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace IO {

// A file open from construction to destruction over a buffered standard stream. Every
// failure is a Sys::Exception with one of the fixed texts; there are no error codes.
class File : public Sys::NonCopyable {
public:
    ~File() override;

    // Size in bytes, or -1 when the position or the end cannot be found. The current
    // position is kept.
    virtual int32_t GetSize();
    // True once a read has hit the end of the file.
    virtual bool IsEOF();
    // Back to the start; clears the end-of-file and error indicators.
    virtual void Rewind();
    // Throws "Error at fflush()." when the stream cannot be flushed.
    virtual void Flush();

    // The path the file was opened with.
    const std::string& GetName() const { return name; }

protected:
    // Opens `path` with the standard stream mode; throws "Unable to open file \"%s\"".
    File(const std::string& path, const char* streamMode);

    std::string name;
    std::FILE* stream = nullptr;
};

} // namespace IO
