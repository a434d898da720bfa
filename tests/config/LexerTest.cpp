#include "config/Lexer.h"
#include "tests/support/ErrorOf.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Words(const std::string& line)
{
    std::vector<Sys::Ptr<Utils::Token>> tokens;
    Utils::Lexer().Tokenize(line, tokens);
    std::vector<std::string> words;
    for (const auto& token : tokens)
        words.push_back(token->GetText());
    return words;
}

using W = std::vector<std::string>;

} // namespace

// What the configuration tests do not reach through whole files.
TEST(Lexer, WordsQuotesAndLineEnds)
{
    EXPECT_EQ(Words("\tint\tx\r\n"), (W{"int", "x"}));
    EXPECT_EQ(Words("a//b c"), (W{"a//b", "c"}));  // "/" is ordinary inside a word
    EXPECT_EQ(Words("\x80\xFF"), W{});               // every byte from 128 up separates
    EXPECT_EQ(Words("a b\nc d"), (W{"a", "b"}));
    EXPECT_EQ(Words("\nabc"), W{});
    EXPECT_EQ(Words("   "), W{});
    EXPECT_EQ(Words("int demo_ID = 1 // one"), (W{"int", "demo_ID", "=", "1"}));
    EXPECT_EQ(Words("string r_GL_Renderer = \"\" tail"), (W{"string", "r_GL_Renderer", "="}));
    EXPECT_EQ(Words("\"a b\"c"), (W{"a b", "c"}));  // a word may follow the closing quote
    // An unclosed quote runs to the end of the line, not past it.
    EXPECT_EQ(Words("x \"open to end\nnext"), (W{"x", "open to end"}));
    EXPECT_EQ(Words("x \"open"), (W{"x", "open"}));
}

TEST(Token, ClassifiesAndConvertsItsText)
{
    using Utils::Token;
    EXPECT_TRUE(Token("string").IsType());
    EXPECT_FALSE(Token("Int").IsType());
    EXPECT_TRUE(Token("-5").IsInteger());
    EXPECT_FALSE(Token("5-").IsInteger());
    EXPECT_EQ(Token("99999999999").ToInt(), INT_MAX);
    EXPECT_EQ(Token("-99999999999").ToInt(), INT_MIN);
    EXPECT_EQ(ErrorOf([] { Token token(""); }), "Token::Token : Invalid <Str> parameter.");
}
