// Arbitrary bytes read back with IO::TextFile::ReadString the way the program's readers
// loop over a file: no piece is longer than 8191 characters, only the last piece may lack
// a line break, and without zero bytes the pieces put together are the file again.

#include "io/TextFile.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string g_Folder;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every input writes files: work in a folder of its own, in memory where there is
    // such a file system, and remove it at exit.
    for (const char* base : {"/dev/shm", "/tmp"}) {
        std::string folder = std::string(base) + "/korvo-fuzz-textfile-XXXXXX";
        if (mkdtemp(&folder[0]) != nullptr && chdir(folder.c_str()) == 0) {
            g_Folder = folder;
            std::atexit([] { std::filesystem::remove_all(g_Folder); });
            return 0;
        }
    }
    std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::FILE* out = std::fopen("input.txt", "wb");
    Check(out != nullptr);
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    IO::TextFile file("input.txt", IO::TextFile::ModeRead);
    Check(file.GetSize() == static_cast<int32_t>(size));
    // A zero byte cuts the piece it is in short; the checks below hold for text.
    const bool text = std::memchr(data, 0, size) == nullptr;
    std::string whole;
    bool ended = false;
    while (!file.IsEOF()) {
        Check(!ended);
        const std::string piece = file.ReadString();
        Check(piece.size() <= IO::TextFile::LineBufferSize - 1);
        const bool full = piece.size() == IO::TextFile::LineBufferSize - 1;
        if (text && !full && (piece.empty() || piece.back() != '\n'))
            ended = true;
        whole += piece;
    }
    if (text)
        Check(whole == std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
