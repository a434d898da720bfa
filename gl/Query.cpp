#include "gl/Query.h"

namespace GL {

Query::Query()
{
    glGenQueries(1, &handle);
}

Query::~Query()
{
    if (handle != 0)
        glDeleteQueries(1, &handle);
}

} // namespace GL
