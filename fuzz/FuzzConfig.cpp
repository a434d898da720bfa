// Arbitrary bytes through the configuration lexer and through ConfigSystem::Load from a
// real file. Whatever the file holds, every variable stays inside its range, and what
// Save writes loads back to the same numbers.

#include "config/CVars.h"
#include "config/ConfigSystem.h"
#include "config/Lexer.h"

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::string g_Folder;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<ICVar*> AllVariables()
{
    std::vector<ICVar*> list;
    ConfigSystem::Instance().GetVariables(~0u, list);
    return list;
}

// The numbers of every int and bool variable, as the file shows them.
std::vector<std::string> Numbers()
{
    std::vector<std::string> numbers;
    CVarDesc desc;
    for (ICVar* cvar : AllVariables())
        if (cvar->GetType() != ICVar::TypeString) {
            cvar->GetDesc(desc);
            numbers.push_back(desc.valueText);
        }
    return numbers;
}

void CheckRanges()
{
    for (ICVar* cvar : AllVariables()) {
        if (cvar->GetType() != ICVar::TypeInt)
            continue;
        const auto* v = static_cast<const CVar<int>*>(cvar);
        Check(v->value >= v->minValue && v->value <= v->maxValue);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Every input writes files: work in a folder of its own, in memory where there is
    // such a file system, and remove it at exit.
    for (const char* base : {"/dev/shm", "/tmp"}) {
        std::string folder = std::string(base) + "/korvo-fuzz-config-XXXXXX";
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
    const std::string text(reinterpret_cast<const char*>(data), size);

    std::vector<Sys::Ptr<Utils::Token>> tokens;
    Utils::Lexer().Tokenize(text, tokens);
    for (const auto& token : tokens)
        Check(!token->GetText().empty());

    std::FILE* file = std::fopen(ConfigSystem::FileName(), "wb");
    Check(file != nullptr);
    std::fwrite(data, 1, size, file);
    std::fclose(file);

    ConfigSystem& config = ConfigSystem::Instance();
    Check(config.Find("demo_ID") == &demo_ID);
    config.Load();
    CheckRanges();
    Check(AllVariables().size() == 26);

    const std::vector<std::string> loaded = Numbers();
    config.Save();
    for (ICVar* cvar : AllVariables())
        cvar->Reset();
    config.Load();
    Check(Numbers() == loaded);

    for (ICVar* cvar : AllVariables())
        cvar->Reset();
    return 0;
}
