#pragma once

#include <cstddef>
#include <string>

namespace VoSession {

// The scene's decimal numbers, alike on every standard library and in every locale (the point is
// '.'). Reads a decimal number ("-12.5e-3", ".5", "7."), "inf", "infinity" or "nan" (any case,
// "nan(...)" too), with an optional '-' and nothing around it, to the double nearest to it (ties
// to even); writes a double in the fewest digits that read back to it. Holds nothing.
class SessionDecimal {
public:
    SessionDecimal() = delete;

    // The shortest form of value that reads back to it, the nearest to it of those, in fixed or
    // scientific notation, whichever is shorter (fixed on a tie): "0.1", "-0", "1e+22", "5e-324",
    // "inf", "-nan". The same text as libstdc++'s std::to_chars(first, last, value): that
    // function for finite values where the standard library has it (VOSESSION_FLOAT_TO_CHARS,
    // about 50 ns a number), else writePortable; NaN and the infinities always by writePortable.
    static std::string write(double value);
    // The same text by printf's digits and strtod's reading alone, for a standard library without
    // a floating to_chars: a search of the fewest digits that read back (about 2.4 us a number).
    static std::string writePortable(double value);

    // The whole of [first, last) as one number; false when it is not one, or when it lies beyond
    // the doubles (overflows, or is not zero but rounds to zero). value is set only on success.
    static bool read(const char *first, const char *last, double &value);

private:
    // The shortest digits of a positive finite value, without trailing zeros: the value is
    // d.ddd x 10^exponent.
    struct Shortest {
        std::string digits;
        int exponent = 0;
    };

    static Shortest shortest(double value);
    // The nearest precision-digit decimal to value, or the next one up when that one lies below
    // the value: the one of them that may read back to it.
    static Shortest candidateOf(double value, int precision);
    // The next p-digit decimal up (one more in the last digit), carrying.
    static void stepUp(Shortest &candidate);
    // What the digits read back to (no point in them: the same in every locale).
    static double valueOf(const Shortest &candidate);
    // Significant digits kept: every double and every midpoint between two doubles is exact in
    // fewer, so the digits after them count only by whether one of them is not zero.
    static constexpr std::size_t keptDigits = 780;

    // The decimal's digits, without the point and the zeros that lead them.
    struct Digits {
        char kept[keptDigits];
        std::size_t count = 0;
        long long scale = 0;     // the number is the kept digits' integer times 10^scale
        bool cutNonzero = false; // a digit after the kept ones is not zero
    };

    static bool readSpecial(const char *first, const char *last, bool negative, double &value);
    static const char *readDigits(const char *at, const char *last, Digits &digits,
                                  bool afterPoint);
    static const char *readExponent(const char *at, const char *last, long long &exponent);
    static bool convert(const Digits &digits, long long exponent, bool negative, double &value);
};

} // namespace VoSession
