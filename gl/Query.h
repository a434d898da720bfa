#pragma once

#include "gl/IObject.h"

#include <GL/glew.h>

namespace GL {

// An occlusion query object; the render device renders conditionally on its result.
class Query : public IObject {
public:
    Query();
    ~Query() override;

    std::string GetTypeName() const override { return "GL::Query"; }
    GLuint GetHandle() const { return handle; }

private:
    GLuint handle = 0;
};

} // namespace GL
