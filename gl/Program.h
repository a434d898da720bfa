#pragma once

#include "gl/IProgram.h"
#include "gl/IShader.h"

#include <functional>
#include <map>
#include <string_view>

namespace GL {

// A program object with a table of uniform locations by name. Linking fills the table
// with the active uniforms; names asked for later (one member of one element of a
// structure array, say) enter it on first use.
class Program : public IProgram {
public:
    Program();
    ~Program() override;

    std::string GetTypeName() const override { return "GL::Program"; }

    // Before Link(). The program keeps no reference to the shader.
    void AttachShader(Sys::Ptr<const IShader> shader);
    void BindAttribute(const std::string& name, int index);

    GLuint GetHandle() const override { return handle; }
    void Link() override;
    std::string GetInfoLog() const override;
    void Validate() const override;
    void SetUniformArray(std::string_view name, int count, int dimension,
                         const int* values) const override;
    void SetUniformArray(std::string_view name, int count, int dimension,
                         const float* values) const override;
    void SetUniformBuffer(std::string_view name,
                          Sys::Ptr<const IVertexBufferObject> buffer) const override;
    void SetUniformMatrix4(std::string_view name, const float* m) const override;
    void SetUniformMatrix3(std::string_view name, const float* m) const override;
    void SetUniformMatrix2(std::string_view name, const float* m) const override;
    void SetUniform4i(std::string_view name, const int* v) const override;
    void SetUniform3i(std::string_view name, const int* v) const override;
    void SetUniform2i(std::string_view name, const int* v) const override;
    void SetUniform4f(std::string_view name, const float* v) const override;
    void SetUniform3f(std::string_view name, const float* v) const override;
    void SetUniform2f(std::string_view name, const float* v) const override;
    void SetUniform1i(std::string_view name, int value) const override;
    void SetUniform1f(std::string_view name, float value) const override;
    void SetUniformBool(std::string_view name, bool value) const override;
    void Bind() const override;
    void Unbind() const override;

    using UniformTable = std::map<std::string, int, std::less<>>;

    // The location of `name`, -1 when the program has no such uniform. The driver is asked
    // once per name: the answer, -1 included, stays in the table until the next link.
    int GetUniformLocation(std::string_view name) const;
    const UniformTable& GetUniformTable() const { return uniforms; }

private:
    GLuint handle = 0;
    // Filled lazily from const setters: the table is a cache of the driver's answers.
    mutable UniformTable uniforms;
};

} // namespace GL
