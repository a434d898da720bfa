#pragma once

#include "app/Ptr.h"
#include "platform/Platform.h"

#include <gtest/gtest.h>

// The GL tests' window and context (tests/support/GLTestContext.h) shared by a suite, with
// the process-wide descriptions made from it, as the render system's bring-up leaves them.
// r_GL_CatchErrors is on, and every test must leave no GL error behind.
class GLFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;
    void TearDown() override;

    static Platform::HDC dc;
    static Platform::HGLRC context;
};
