#include "tests/gl/GLFixture.h"

#include "config/CVars.h"
#include "gl/CapsDesc.h"
#include "gl/DriverDesc.h"
#include "gl/ExtensionRegistry.h"
#include "tests/support/GLTestContext.h"

#include <GL/glew.h>

#include <memory>

Platform::HDC GLFixture::dc = nullptr;
Platform::HGLRC GLFixture::context = nullptr;

static std::unique_ptr<::Test::GLTestContext> g_Context;

void GLFixture::SetUpTestSuite()
{
    g_Context = std::make_unique<::Test::GLTestContext>();
    ASSERT_TRUE(g_Context->IsReady()) << g_Context->Error();
    dc = g_Context->GetDC();
    context = g_Context->GetRC();

    r_GL_CatchErrors.value = true;
    GL::Extensions = Sys::Ptr<GL::ExtensionRegistry>(new GL::ExtensionRegistry());
    GL::Extensions->WGL = Sys::Ptr<GL::ExtensionRegistryWGL>(new GL::ExtensionRegistryWGL());
    GL::Driver = Sys::Ptr<GL::DriverDesc>(new GL::DriverDesc());
    GL::Caps = Sys::Ptr<GL::CapsDesc>(new GL::CapsDesc());
}

void GLFixture::TearDownTestSuite()
{
    GL::Caps = nullptr;
    GL::Driver = nullptr;
    GL::Extensions = nullptr;
    g_Context.reset();
    context = nullptr;
    dc = nullptr;
}

void GLFixture::SetUp()
{
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "an earlier test left an error";
}

void GLFixture::TearDown()
{
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "the test left a GL error";
}
