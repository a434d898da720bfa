#include "config/ConfigSystem.h"

#include "app/DeveloperException.h"
#include "app/Exception.h"
#include "app/Log.h"
#include "config/Lexer.h"
#include "config/Token.h"
#include "io/TextFile.h"

#include <sys/stat.h>

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

// Why the program itself changes a variable while it runs, for the warning written when the
// changed value is saved.
const char* RewriteReason(const std::string& name)
{
    static const struct {
        const char* Name;
        const char* Reason;
    } reasons[] = {
        {"r_GL_Renderer", "the render system records the driver's renderer name"},
        {"r_GL_DepthClamp", "the driver has no depth clamping (GL_NV_depth_clamp)"},
        {"r_GL_DepthBoundsTest", "the driver has no depth-bounds test (GL_EXT_depth_bounds_test)"},
        {"r_Shadow_StencilOp",
         "the renderer decides where shadow volumes are counted: the hard-shadow renderer "
         "always in the stencil buffer, the soft-shadow one in the alpha channel on R400 to "
         "R600 chips"},
    };
    for (const auto& entry : reasons)
        if (name == entry.Name)
            return entry.Reason;
    return "the program changed it while it ran";
}

// The text a line held, without its line break, for a warning.
std::string Shown(std::string line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return line;
}


// A FIFO or a device as the configuration would block start-up or never end; only a
// regular file is read.
void RefuseIrregular(const char* fileName, bool forWriting)
{
    struct stat info;
    if (stat(fileName, &info) != 0) {
        if (forWriting)
            return;   // created by the write
        throw Sys::Exception("Unable to open file \"%s\"", fileName);
    }
    // Writing into a device is left to the device (a full disk answers with an error);
    // a FIFO would wait for a reader that never comes.
    const bool refused = forWriting ? S_ISFIFO(info.st_mode) || S_ISSOCK(info.st_mode) ||
                                          S_ISDIR(info.st_mode)
                                    : !S_ISREG(info.st_mode);
    if (refused)
        throw Sys::Exception("Unable to open file \"%s\"", fileName);
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
    RefuseIrregular(FileName(), false);
    IO::TextFile file(FileName(), IO::TextFile::ModeRead);
    const Utils::Lexer lexer;
    std::vector<Sys::Ptr<Utils::Token>> tokens;
    // Something that is no configuration at all would fill the log line by line.
    constexpr int MaxWarnings = 50;
    int warnings = 0;
    std::string warning;
    for (int number = 1; !file.IsEOF(); ++number) {
        const std::string line = file.ReadString();
        lexer.Tokenize(line, tokens);
        // Blank lines and comments hold nothing to report.
        if (tokens.empty())
            continue;
        const std::string place = std::string(FileName()) + ", line " + std::to_string(number);
        // type name = value; the keyword is not compared with the variable's own type.
        if (tokens.size() != 4 || !tokens[0]->IsType() || tokens[2]->GetText() != "=")
            warning = place + " ignored: not of the form \"type name = value\": " + Shown(line);
        else
            Assign(place, tokens[1]->GetText(), tokens[3]->GetText(), warning);
        if (!warning.empty() && ++warnings <= MaxWarnings)
            Sys::Log::Message(Sys::Log::Warning, "%s\n", warning.c_str());
    }
    if (warnings > MaxWarnings)
        Sys::Log::Message(Sys::Log::Warning, "%s: %d more lines ignored or changed.\n",
                          FileName(), warnings - MaxWarnings);
    // What the variables hold now is what the user chose; anything that differs at the end
    // was changed by the program.
    loaded.clear();
    CVarDesc desc;
    for (const auto& entry : variables) {
        entry.second->GetDesc(desc);
        loaded[entry.first] = desc.valueText;
    }
}

bool ConfigSystem::Assign(const std::string& place, const std::string& name,
                          const std::string& value, std::string& warning)
{
    warning.clear();
    ICVar* cvar = Find(name);
    if (cvar == nullptr) {
        warning = place + " ignored: unknown variable \"" + name + "\".";
        return false;
    }
    if (value.empty() || !cvar->SetFromString(value)) {
        warning = place + " ignored: \"" + value + "\" is no " +
                  ICVar::GetTypeKeyword(cvar->GetType()) + " value; " + name +
                  " keeps its value.";
        return false;
    }
    // Integers outside the variable's range were clamped into it.
    if (cvar->GetType() == ICVar::TypeInt) {
        CVarDesc desc;
        cvar->GetDesc(desc);
        if (desc.valueText != std::to_string(Utils::Token(value).ToInt()))
            warning = place + ": " + name + " = " + value + " is out of range; " +
                      desc.valueText + " is used.";
    }
    return true;
}

void ConfigSystem::Override(const std::string& name, const std::string& value)
{
    if (Find(name) == nullptr)
        throw Sys::Exception("Unknown variable \"%s\" in --set %s=%s.", name.c_str(),
                             name.c_str(), value.c_str());
    std::string warning;
    if (!Assign("--set", name, value, warning))
        throw Sys::Exception("Invalid value \"%s\" for %s in --set.", value.c_str(),
                             name.c_str());
    if (!warning.empty())
        Sys::Log::Message(Sys::Log::Warning, "%s\n", warning.c_str());
    CVarDesc desc;
    Find(name)->GetDesc(desc);
    loaded[name] = desc.valueText;
}

void ConfigSystem::Save()
{
    CVarDesc changed;
    for (const auto& entry : variables) {
        const auto before = loaded.find(entry.first);
        if (before == loaded.end())
            continue;
        entry.second->GetDesc(changed);
        if (changed.valueText != before->second)
            Sys::Log::Message(Sys::Log::Warning, "%s changed from \"%s\" to \"%s\": %s.\n",
                              entry.first.c_str(), before->second.c_str(),
                              changed.valueText.c_str(), RewriteReason(entry.first));
    }

    RefuseIrregular(FileName(), true);
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
