#include "app/DeveloperException.h"
#include "app/CriticalException.h"
#include "app/IObject.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using TestFiles::ReadLog;

// Builds an exception and returns its message; the log must gain exactly its error entry.
template <class Build>
std::string MessageAndEntry(Build build)
{
    // The first Log of the process writes the banner; keep it out of the entries compared.
    Sys::Log opener;
    Sys::Log::Print("");
    const std::string before = ReadLog();
    const auto e = build();
    const std::string entry = ReadLog().substr(before.size());
    const std::string& message = e.GetMessageText();
    EXPECT_EQ(entry, message.empty() ? "" : "\n---\nERROR:\n\n" + message + "\n---\n");
    return message;
}

class Renderer : public Sys::IRTTIObject {
public:
    std::string GetTypeName() const override { return "Korvo::RenderGL2"; }
};

using DE = Sys::DeveloperException;

} // namespace

TEST(Exception, TextsOfEveryForm)
{
    const Renderer who;
    EXPECT_EQ(MessageAndEntry([] { return Sys::Exception("Bad %s %d.", "value", 3); }),
              "Bad value 3.");
    EXPECT_EQ(MessageAndEntry([&] { return Sys::Exception(who, "Failed."); }),
              "Korvo::RenderGL2\n\nFailed.");
    EXPECT_EQ(MessageAndEntry([] { return Sys::Exception(Sys::Where("GL::IShader"), "%s", "x"); }),
              "GL::IShader\n\nx");
    EXPECT_EQ(MessageAndEntry([] { return Sys::CriticalException("Mode %dx%d.", 640, 480); }),
              "Mode 640x480.");

    EXPECT_EQ(MessageAndEntry([] { return DE(DE::ERR_INVALID_CALL, nullptr); }),
              "ERR_INVALID_CALL");
    EXPECT_EQ(MessageAndEntry([] {
                  return DE(Sys::Where("GL::IRenderDevice"), DE::ERR_INVALID_PARAMETER,
                            "<FrameBuffer> should be primary windowed framebuffer.");
              }),
              "GL::IRenderDevice\n\nERR_INVALID_PARAMETER\n"
              "<FrameBuffer> should be primary windowed framebuffer.");
    EXPECT_EQ(MessageAndEntry([&] { return DE(who, DE::ERR_INVALID_ENUM, "Unknown <%s>.", "T"); }),
              "Korvo::RenderGL2\n\nERR_INVALID_ENUM\nUnknown <T>.");
    EXPECT_EQ(MessageAndEntry([&] { return DE(who, "Late call."); }),
              "Korvo::RenderGL2\n\n\nLate call.");
}

TEST(Exception, EmptyTextsAndCopiesLogNothing)
{
    EXPECT_EQ(MessageAndEntry([] { return Sys::Exception("%s", ""); }), "");
    EXPECT_EQ(MessageAndEntry([] { return DE(nullptr); }), "");

    const Sys::Exception original("Copied once.");
    const std::string before = ReadLog();
    const Sys::Exception copy(original);
    EXPECT_EQ(copy.GetMessageText(), "Copied once.");
    EXPECT_EQ(ReadLog(), before);

    // A percent sign in a built message is written as it stands.
    EXPECT_EQ(MessageAndEntry([] { return Sys::Exception("%s", "100%d"); }), "100%d");
    // Texts beyond the 4096-character buffer are cut.
    const std::string big(5000, 'e');
    EXPECT_EQ(MessageAndEntry([&] { return Sys::Exception("%s", big.c_str()); }).size(), 4095u);
}
