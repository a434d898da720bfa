#pragma once

#include <string>
#include <vector>

namespace IO {

// Where the program's read-only data (shaders and models, paths starting with
// "MediaData/") is read from. Each file is looked for in this order:
//   1. the working folder: the path as it is;
//   2. the folder of the running program: a build folder holds MediaData/ next to the
//      programs it builds;
//   3. the installed data folder, found from the program's own location (bin/ ->
//      share/korvo/), so that an installation works wherever its prefix is.
// The first place holding the file wins. A file found nowhere keeps its path as given,
// so that the error names the file the user knows.
class DataFolder {
public:
    static std::string Find(const std::string& path);

    // The folders tried after the working folder, in order, each ending with "/".
    static const std::vector<std::string>& Fallbacks();
};

} // namespace IO
