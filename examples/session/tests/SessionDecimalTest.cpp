// The scene's numbers: the writer's shortest forms, the same text as to_chars; exact round trips;
// the nearest double (ties to even) however long the digits run; the refusals of the scene's
// grammar; and, where the standard library reads doubles itself, the same answer as its from_chars.

#include "SessionDecimal.h"

#include <gtest/gtest.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

using VoSession::SessionDecimal;
using Limits = std::numeric_limits<double>;

bool readWord(const std::string &word, double &value) {
    return SessionDecimal::read(word.data(), word.data() + word.size(), value);
}

std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double fromBits(std::uint64_t bits) {
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The writer's shortest form (to_chars's text, with or without to_chars itself) and printf's
// seventeen digits of the extremes, denormals, negative zero, the powers of two and random finite
// doubles read back to the same bits.
TEST(SessionDecimalTest, WrittenDoublesReadBackExactly) {
    std::vector<double> values{0.0,           -0.0,          Limits::max(),  -Limits::max(),
                               Limits::min(), Limits::denorm_min(), -Limits::denorm_min(),
                               0.1,           1.0 / 3,      2.2250738585072009e-308, 9007199254740993.0};
    // At a power of two the interval that reads back is lopsided: the nearest digits may miss it
    // where their neighbour on the wider side hits it.
    for (int exponent = -1074; exponent <= 1023; ++exponent) {
        values.push_back(std::ldexp(1.0, exponent));
    }
    std::mt19937_64 random(20261208);
    while (values.size() < 22000) {
        const double value = fromBits(random());
        values.push_back(std::isfinite(value) ? value : 1.5);
    }
    for (const double value : values) {
        std::array<char, 64> text{};
        const std::to_chars_result end = std::to_chars(text.data(), text.data() + 64, value);
        const std::string shortest(text.data(), end.ptr);
        double back = 1;
        ASSERT_TRUE(readWord(shortest, back)) << shortest;
        ASSERT_EQ(bitsOf(back), bitsOf(value)) << shortest;
        std::snprintf(text.data(), text.size(), "%.17g", value);
        ASSERT_TRUE(readWord(text.data(), back) && bitsOf(back) == bitsOf(value)) << text.data();
        const std::string written = SessionDecimal::write(value);
        ASSERT_EQ(written, shortest);
        ASSERT_TRUE(readWord(written, back) && bitsOf(back) == bitsOf(value)) << written;
        ASSERT_EQ(SessionDecimal::writePortable(value), shortest) << "without to_chars";
    }
}

// Fixed or scientific, whichever is shorter, fixed on a tie; an integer written fixed with its
// exact digits; the sign of zero and of NaN.
TEST(SessionDecimalTest, WritesTheShortestForm) {
    const std::pair<double, const char *> cases[] = {
        {0.0, "0"},
        {-0.0, "-0"},
        {0.1, "0.1"},
        {-2.5, "-2.5"},
        {100, "100"},
        {0.001, "0.001"},
        {1e-7, "1e-07"},
        {1e22, "1e+22"},
        {5e-324, "5e-324"},
        {123456789012345680000.0, "123456789012345683968"},
        {Limits::max(), "1.7976931348623157e+308"},
        {Limits::infinity(), "inf"},
        {-Limits::quiet_NaN(), "-nan"}};
    for (const auto &[value, expected] : cases) {
        EXPECT_EQ(SessionDecimal::write(value), expected);
        EXPECT_EQ(SessionDecimal::writePortable(value), expected) << "without to_chars";
    }
}

// Numbers of every form, to the double nearest to them: halfway ties go to the even double, and
// one digit far beyond those kept decides a near tie.
TEST(SessionDecimalTest, ReadsTheNearestDouble) {
    const std::string tie = "9007199254740993"; // 2^53 + 1, halfway between two doubles
    const std::string zeros(900, '0');
    const std::pair<std::string, double> cases[] = {
        {"5.", 5},
        {".5", 0.5},
        {"-12.5E-1", -1.25},
        {"00012e+2", 1200},
        {"0.000e999999999999999999999", 0},
        {tie, 9007199254740992.0},
        {tie + "." + zeros + "1", 9007199254740994.0},
        {tie + zeros + "1e-901", 9007199254740994.0},
        {tie + "." + zeros, 9007199254740992.0},
        {"1.7976931348623158e308", Limits::max()},
        {"2.4703282292062328e-324", Limits::denorm_min()},
        {"0." + zeros + "1e901", 1},
        {"INFINITY", Limits::infinity()},
        {"-inf", -Limits::infinity()}};
    for (const auto &[word, expected] : cases) {
        double value = 0;
        ASSERT_TRUE(readWord(word, value)) << word.substr(0, 40);
        EXPECT_EQ(bitsOf(value), bitsOf(expected)) << word.substr(0, 40);
    }
    double value = 0;
    ASSERT_TRUE(readWord("-0", value));
    EXPECT_TRUE(value == 0 && std::signbit(value));
    for (const char *word : {"nan", "NaN(a_1)", "-nan()", "nan(zZ09_az)"}) {
        ASSERT_TRUE(readWord(word, value)) << word;
        EXPECT_TRUE(std::isnan(value)) << word;
    }
}

// Whatever is not one whole number, and numbers beyond the doubles; value stays as it was.
TEST(SessionDecimalTest, RefusesWhatIsNotOneNumberOfTheDoubles) {
    for (const char *word :
         {"", "-", ".", "-.", "1e", "1e+", "e5", "0x1p3", "1,5", " 1", "1 ", "+1", "--1", "1..2",
          "1.2.3", "nan(", "nan(a-b)", "infinit", "infinityy", "1e400", "-1e309",
          "1.7976931348623159e308", "1e-400", "2.4703282292062327e-324", "1d5", "\xd9\xa1"}) {
        double value = 7;
        EXPECT_FALSE(readWord(word, value)) << word;
        EXPECT_EQ(value, 7) << word;
    }
}

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
// Random words of the grammar's characters and random doubles at random precisions, some with a
// character changed: read alike by from_chars, refused alike, to the same bits.
TEST(SessionDecimalTest, AgreesWithTheStandardLibrarysReader) {
    const std::string alphabet = "0123456789.eE+-xpinfatyINFATY()_ ,";
    std::mt19937_64 random(8121);
    std::array<char, 1200> text{};
    for (int round = 0; round < 300000; ++round) {
        std::string word;
        if (round % 3 == 0) {
            const double value = fromBits(random());
            std::snprintf(text.data(), text.size(), "%.*e", int(random() % 900), value);
            word = text.data();
            if (random() % 2 == 0) {
                word[random() % word.size()] = alphabet[random() % alphabet.size()];
            }
        } else {
            for (int length = int(random() % 12); length > 0; --length) {
                word += alphabet[random() % alphabet.size()];
            }
        }
        const char *const first = word.data();
        const char *const last = first + word.size();
        double expected = 1;
        double value = 1;
        const std::from_chars_result parsed = std::from_chars(first, last, expected);
        const bool standard = parsed.ec == std::errc() && parsed.ptr == last;
        ASSERT_EQ(SessionDecimal::read(first, last, value), standard) << word;
        if (standard && !std::isnan(expected)) {
            ASSERT_EQ(bitsOf(value), bitsOf(expected)) << word;
        }
    }
}
#endif

} // namespace
