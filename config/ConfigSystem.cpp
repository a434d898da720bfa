#include "config/ConfigSystem.h"

#include "app/DeveloperException.h"
#include "config/Lexer.h"
#include "io/TextFile.h"

#include <cstdio>
#include <ctime>

namespace {

// A variable's group is its name up to the last "_"; a name without one has none.
bool GetGroup(const std::string& name, std::string& group)
{
    const size_t last = name.rfind('_');
    if (last == std::string::npos)
        return false;
    group = name.substr(0, last);
    return true;
}

} // namespace

ConfigSystem& ConfigSystem::Instance()
{
    static ConfigSystem instance;
    return instance;
}

const char* ConfigSystem::FileName()
{
    return "sys_Config.conf";
}

void ConfigSystem::Register(ICVar* cvar)
{
    if (cvar == nullptr)
        throw Sys::DeveloperException(Sys::Where("ConfigSystem"),
                                      Sys::DeveloperException::ERR_INVALID_RAW_POINTER,
                                      "Invalid <CVar> parameter.");
    variables[cvar->GetName()] = cvar;
}

void ConfigSystem::Unregister(ICVar* cvar)
{
    if (cvar == nullptr)
        return;
    const auto found = variables.find(cvar->GetName());
    if (found != variables.end() && found->second == cvar)
        variables.erase(found);
}

void ConfigSystem::Load()
{
    IO::TextFile file(FileName(), IO::TextFile::ModeRead);
    const Utils::Lexer lexer;
    std::vector<Sys::Ptr<Utils::Token>> tokens;
    while (!file.IsEOF()) {
        lexer.Tokenize(file.ReadString(), tokens);
        // type name = value; the keyword is not compared with the variable's own type.
        if (tokens.size() != 4 || !tokens[0]->IsType() || tokens[2]->GetText() != "=")
            continue;
        if (ICVar* cvar = Find(tokens[1]->GetText()))
            cvar->SetFromString(tokens[3]->GetText());
    }
}

void ConfigSystem::Save()
{
    IO::TextFile file(FileName(), IO::TextFile::ModeWrite);
    file.WriteString("// Welcome to Korvo config file.\n");
    const std::time_t now = std::time(nullptr);
    const char* when = std::ctime(&now);
    file.PrintFormat("// Date of last modification : %s\n\n", when != nullptr ? when : "\n");

    std::string group;
    bool first = true;
    CVarDesc desc;
    for (const auto& entry : variables) {
        entry.second->GetDesc(desc);
        std::string nameGroup;
        if (GetGroup(desc.name, nameGroup)) {
            if (!first && nameGroup != group)
                file.WriteString("\n");
            group = nameGroup;
        }
        first = false;

        const char* keyword = ICVar::GetTypeKeyword(desc.type);
        char line[1024];
        const bool quoted = desc.type == ICVar::TypeString;
        const char* format = quoted ? "%-11s %-27s = \"%s\"\n" : "%-11s %-27s = %s\n";
        const int length = std::snprintf(line, sizeof(line), format,
                                         keyword != nullptr ? keyword : "", desc.name.c_str(),
                                         desc.valueText.c_str());
        if (length >= static_cast<int>(sizeof(line))) {
            // Keep a cut line well-formed, so the next variable still starts its own line.
            char* end = line + sizeof(line) - 1;
            *--end = '\n';
            if (quoted)
                *--end = '"';
        }
        file.WriteString(line);
    }
}

void ConfigSystem::GetVariables(uint32_t flagMask, std::vector<ICVar*>& list) const
{
    for (const auto& entry : variables)
        if ((entry.second->GetFlags() & flagMask) != 0)
            list.push_back(entry.second);
}

ICVar* ConfigSystem::Find(const std::string& name) const
{
    const auto found = variables.find(name);
    return found != variables.end() ? found->second : nullptr;
}
