#pragma once

#include "gl/FrameBuffer.h"
#include "gl/IRenderDevice.h"
#include "gl/RenderDevice_Release.h"
#include "tests/gl/GLFixture.h"
#include "tests/support/FixtureContext.h"

// The GL fixture with the process-wide render device drawing into a 256 x 256 frame
// buffer on the fixture's window; the device is dropped after each test.
class DeviceFixture : public GLFixture {
protected:
    void SetUp() override
    {
        GLFixture::SetUp();
        Sys::Ptr<GL::IContext> windowContext(new FixtureContext(dc, context));
        GL::Device = Sys::Ptr<GL::IRenderDevice>(new GL::RenderDevice_Release(
            Sys::Ptr<GL::IFrameBuffer>(new GL::FrameBuffer(windowContext, 256, 256))));
        // Earlier tests drew in the same context.
        GL::Device->ForgetState();
    }
    void TearDown() override
    {
        GL::Device = nullptr;
        GLFixture::TearDown();
    }
};
