#pragma once

#include "gl/IProgram.h"
#include "gl/IShader.h"

#include <map>

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
    void SetUniformArray(const std::string& name, int count, int dimension,
                         const int* values) const override;
    void SetUniformArray(const std::string& name, int count, int dimension,
                         const float* values) const override;
    void SetUniformBuffer(const std::string& name,
                          Sys::Ptr<const IVertexBufferObject> buffer) const override;
    void SetUniformMatrix4(const std::string& name, const float* m) const override;
    void SetUniformMatrix3(const std::string& name, const float* m) const override;
    void SetUniformMatrix2(const std::string& name, const float* m) const override;
    void SetUniform4i(const std::string& name, const int* v) const override;
    void SetUniform3i(const std::string& name, const int* v) const override;
    void SetUniform2i(const std::string& name, const int* v) const override;
    void SetUniform4f(const std::string& name, const float* v) const override;
    void SetUniform3f(const std::string& name, const float* v) const override;
    void SetUniform2f(const std::string& name, const float* v) const override;
    void SetUniform1i(const std::string& name, int value) const override;
    void SetUniform1f(const std::string& name, float value) const override;
    void SetUniformBool(const std::string& name, bool value) const override;
    void Bind() const override;
    void Unbind() const override;

    // The location of `name`, -1 (not remembered) when the program has no such uniform.
    int GetUniformLocation(const std::string& name) const;
    const std::map<std::string, int>& GetUniformTable() const { return uniforms; }

private:
    GLuint handle = 0;
    // Filled lazily from const setters: the table is a cache of the driver's answers.
    mutable std::map<std::string, int> uniforms;
};

} // namespace GL
