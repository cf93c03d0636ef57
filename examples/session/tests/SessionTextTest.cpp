#include "SessionText.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

namespace {

using VoSession::SessionText;

// Every length class of UTF-8 at its edges: the smallest and largest lead bytes, the bounds of the
// second byte that keep out overlong forms, surrogates and code points beyond U+10FFFF, and
// sequences cut short or broken in their last byte.
TEST(SessionTextTest, Utf8LengthAcceptsEveryValidFormAndNoInvalidOne) {
    struct Case {
        std::string bytes;
        std::size_t length;
    };
    const std::vector<Case> cases = {
        {"A", 1},
        {"", 0},
        {"\x80", 0},             // a stray continuation byte
        {"\xC0\x80", 0},         // overlong NUL
        {"\xC1\xBF", 0},         // overlong
        {"\xC2\x80", 2},         // U+0080, valid though a control character
        {"\xDF\xBF", 2},         // U+07FF
        {"\xC2\x41", 0},         // no continuation byte
        {"\xC2", 0},             // cut short
        {"\xE0\xA0\x80", 3},     // U+0800
        {"\xE0\x9F\xBF", 0},     // overlong
        {"\xE1\x80\x80", 3},     // U+1000
        {"\xED\x9F\xBF", 3},     // U+D7FF, the last before the surrogates
        {"\xED\xA0\x80", 0},     // a surrogate
        {"\xEF\xBF\xBF", 3},     // U+FFFF
        {"\xE1\x80\x41", 0},     // broken in its third byte
        {"\xE1\x80", 0},         // cut short
        {"\xF0\x90\x80\x80", 4}, // U+10000
        {"\xF0\x8F\xBF\xBF", 0}, // overlong
        {"\xF1\x80\x80\x80", 4},
        {"\xF4\x8F\xBF\xBF", 4}, // U+10FFFF
        {"\xF4\x90\x80\x80", 0}, // beyond U+10FFFF
        {"\xF5\x80\x80\x80", 0},
        {"\xF1\x80\x80\x41", 0}, // broken in its fourth byte
        {"\xFF", 0},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(SessionText::utf8Length(c.bytes, 0), c.length) << SessionText::escape(c.bytes);
    }
    EXPECT_EQ(SessionText::utf8Length("a\xC3\xA9", 1), 2u);
}

// Printable is valid UTF-8 without C0 controls, DEL or C1 controls; the rest is escaped byte by
// byte, and the refusal of a name quotes it escaped.
TEST(SessionTextTest, PrintableTextHasNoControlCharacterAndTheRestIsEscaped) {
    EXPECT_TRUE(SessionText::isPrintable(""));
    EXPECT_TRUE(SessionText::isPrintable(" ~caf\xC3\xA9 \xC2\xA0\xF0\x9F\x99\x82"));
    const std::vector<std::string> unprintable = {"\x1f",     "\x7f",  std::string(1, '\0'),
                                                  "\xC2\x9F", "a\x80", "\xED\xA0\x80"};
    for (const std::string &bad : unprintable) {
        EXPECT_FALSE(SessionText::isPrintable(bad)) << SessionText::escape(bad);
    }
    EXPECT_EQ(SessionText::escape("a\\b\x1b[2J\xC2\x80\xC3\xA9"),
              "a\\\\b\\x1b[2J\\xc2\\x80\xC3\xA9");
    EXPECT_EQ(SessionText::quote("say \"hi\""), "\"say \\\"hi\\\"\"");
    EXPECT_EQ(SessionText::quoteStart("h\xC3\xA9llo", 2), "\"h\"...");
    EXPECT_EQ(SessionText::quoteStart("h\xC3\xA9", 3), "\"h\xC3\xA9\"");

    EXPECT_EQ(SessionText::unprintableProblem("file name", "kept.selection"), "");
    EXPECT_EQ(SessionText::unprintableProblem("file name", std::string("3\0x", 3)),
              "file name \"3\\x00x\" holds a control character or is not UTF-8 (expected "
              "printable UTF-8)");
}

TEST(SessionTextTest, WordsSplitAtEveryBlankAndStopAtAComment) {
    EXPECT_EQ(SessionText::splitWords(" a\tb\rc\vd\fe  f # g h"),
              (std::vector<std::string>{"a", "b", "c", "d", "e", "f"}));
    EXPECT_EQ(SessionText::trim("\v\t x y \f\r"), "x y");
    EXPECT_TRUE(SessionText::isComment("  # a comment"));
    EXPECT_FALSE(SessionText::isComment("x # a comment"));
    EXPECT_FALSE(SessionText::isComment("   "));
}

} // namespace
