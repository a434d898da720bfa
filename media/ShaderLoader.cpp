#include "media/ShaderLoader.h"

#include "app/Exception.h"
#include "app/InitOrder.h"
#include "gl/FragmentShader.h"
#include "gl/VertexShader.h"
#include "io/DataFolder.h"
#include "io/TextFile.h"

Sys::Ptr<Media::ShaderLoader> g_ShaderLoader KORVO_INIT_ORDER(KORVO_INIT_LOADERS)(
    new Media::ShaderLoader());

namespace Media {

std::string ShaderLoader::ReadSource(const std::string& fullPath)
{
    IO::TextFile file(fullPath, IO::TextFile::ModeRead);
    std::string source;
    while (!file.IsEOF())
        source += file.ReadString();
    return source;
}

std::string ShaderLoader::InjectDefine(const std::string& source, const std::string& define)
{
    const size_t version = source.find("#version");
    if (version == std::string::npos)
        return "#define " + define + "\n\n" + source;
    const size_t lineEnd = source.find('\n', version);
    if (lineEnd == std::string::npos)
        return source;
    return source.substr(0, lineEnd + 1) + "\n#define " + define + "\n" +
           source.substr(lineEnd + 1);
}

Sys::Ptr<const GL::IShader> ShaderLoader::Load(GLenum target, const std::string& path,
                                               const std::string& define, Cache& byPath,
                                               Cache& byText)
{
    const std::string fullPath = IO::DataFolder::Find("MediaData/" + path);
    if (define.empty()) {
        const auto cached = byPath.find(fullPath);
        if (cached != byPath.end())
            return cached->second;
    }
    std::string source = ReadSource(fullPath);
    if (source.empty())
        throw Sys::Exception("Shader string is empty.");

    Cache& cache = define.empty() ? byPath : byText;
    std::string key = fullPath;
    if (!define.empty()) {
        source = InjectDefine(source, define);
        const auto cached = byText.find(source);
        if (cached != byText.end())
            return cached->second;
        key = source;
    }
    Sys::Ptr<const GL::IShader> shader;
    if (target == GL_VERTEX_SHADER)
        shader = Sys::Ptr<const GL::IShader>(new GL::VertexShader(source));
    else
        shader = Sys::Ptr<const GL::IShader>(new GL::FragmentShader(source));
    ++compileCount;
    cache[key] = shader;
    return shader;
}

Sys::Ptr<const GL::IShader> ShaderLoader::LoadVertexShader(const std::string& path,
                                                           const std::string& define)
{
    return Load(GL_VERTEX_SHADER, path, define, vertexByPath, vertexByText);
}

Sys::Ptr<const GL::IShader> ShaderLoader::LoadFragmentShader(const std::string& path,
                                                             const std::string& define)
{
    return Load(GL_FRAGMENT_SHADER, path, define, fragmentByPath, fragmentByText);
}

} // namespace Media
