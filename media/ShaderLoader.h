#pragma once

#include "app/IObject.h"
#include "app/Ptr.h"
#include "gl/IShader.h"

#include <map>
#include <string>

namespace Media {

// Reads GLSL sources below "MediaData/" and compiles each distinct source once. A source
// loaded with a definition gets "#define <definition>" injected where the preprocessor
// accepts it: after the "#version" line when there is one, else at the very top.
class ShaderLoader : public Sys::IRTTIObject, public Sys::NonCopyable {
public:
    ShaderLoader() = default;
    ~ShaderLoader() override = default;

    std::string GetTypeName() const override { return "Media::ShaderLoader"; }

    Sys::Ptr<const GL::IShader> LoadVertexShader(const std::string& path,
                                                 const std::string& define);
    Sys::Ptr<const GL::IShader> LoadFragmentShader(const std::string& path,
                                                   const std::string& define);

    // The source with `define` injected; unchanged when "#version" ends the text.
    static std::string InjectDefine(const std::string& source, const std::string& define);

    // How many shaders were compiled so far (each cache hit saves one).
    int GetCompileCount() const { return compileCount; }

private:
    using Cache = std::map<std::string, Sys::Ptr<const GL::IShader>>;

    Sys::Ptr<const GL::IShader> Load(GLenum target, const std::string& path,
                                     const std::string& define, Cache& byPath, Cache& byText);
    static std::string ReadSource(const std::string& fullPath);

    Cache vertexByPath;
    Cache vertexByText;
    Cache fragmentByPath;
    Cache fragmentByText;
    int compileCount = 0;
};

} // namespace Media

// The process-wide loader, made by static initialisation and released at shutdown.
extern Sys::Ptr<Media::ShaderLoader> g_ShaderLoader;
