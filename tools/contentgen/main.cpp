// Writes the demo's models: the static sets of both scenes as 3DS files and the walking
// character with its four walk cycles as MD5 files. The output depends on nothing but this
// program, so every build produces the same bytes.

#include "tools/contentgen/ContentWriter.h"
#include "tools/contentgen/MeshCheck.h"
#include "tools/contentgen/Scenes.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

namespace {

// Refuses content the shadow code could not take: a caster must be closed and small enough
// for the adjacency's fixed lists.
void CheckCasters(const Content::ModelFile& file)
{
    if (!file.CastsShadows)
        return;
    for (const Content::TriMesh& mesh : file.Objects) {
        const Content::ClosureReport report = Content::CheckClosed(mesh);
        if (!report.Closed())
            throw std::runtime_error(file.Path + ": " + mesh.Name + " is not closed (" +
                                     report.FirstProblem + ")");
        if (mesh.TriangleCount() > Content::MaxCasterTriangles)
            throw std::runtime_error(file.Path + ": " + mesh.Name + " is too large to cast");
    }
}

const char* const Usage =
    "Usage: korvo_contentgen [FOLDER]\n"
    "\n"
    "Writes the demo's models (3DS/ZORI, 3DS/DAZU and ZFat below FOLDER, default\n"
    "MediaData/Models) and prints their sizes.\n"
    "\n"
    "  --help   show this text\n"
    "\n"
    "Exit codes: 0 written, 1 failed, 2 wrong arguments.\n";

} // namespace

int main(int argc, char** argv)
{
    std::string folder = "MediaData/Models";
    bool named = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--help") {
            std::fputs(Usage, stdout);
            return 0;
        }
        // A folder name starting with "-" is almost surely a mistyped option.
        if (argument.empty() || argument[0] == '-' || named) {
            std::fprintf(stderr, "korvo_contentgen: unexpected argument <%s>\n\n%s",
                         argument.c_str(), Usage);
            return 2;
        }
        folder = argument;
        named = true;
    }
    try {
        for (const auto& set : {Content::BuildZoriSet(), Content::BuildDazuSet()}) {
            int total = 0;
            for (const Content::ModelFile& file : set) {
                CheckCasters(file);
                Content::WriteModelFile(folder, file);
                total += file.TriangleCount();
                std::printf("%-32s %2zu objects %6d triangles\n", file.Path.c_str(),
                            file.Objects.size(), file.TriangleCount());
            }
            std::printf("%-32s %16d triangles\n", "set total", total);
        }
        const Content::Character character;
        for (const Content::Character::Mesh& mesh : character.Meshes()) {
            const Content::ClosureReport report = Content::CheckClosed(mesh.Geometry);
            if (!report.Closed())
                throw std::runtime_error("character mesh " + mesh.Name + " is not closed (" +
                                         report.FirstProblem + ")");
            std::printf("%-32s %6d triangles\n", ("ZFat " + mesh.Name).c_str(),
                        mesh.Geometry.TriangleCount());
        }
        Content::WriteCharacter(folder, character, Content::CharacterWalks());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "korvo_contentgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
