#include "SessionDecimal.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>

namespace VoSession {

namespace {

// Decimal exponents (of 0.d1d2... x 10^E) beyond which every number overflows or rounds to zero:
// the largest double is below 10^309, half the smallest one above 10^-324.
constexpr long long overflowExponent = 310;
constexpr long long underflowExponent = -330;
// Where an exponent's value stops growing: far beyond both, and far from overflowing itself.
constexpr long long exponentCap = 1000000000000LL;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// True when [first, last) is word in any case; word is in lower case.
bool equalsFolded(const char *first, const char *last, const char *word) {
    for (; first != last && *word != '\0'; ++first, ++word) {
        const char lower =
            *first >= 'A' && *first <= 'Z' ? static_cast<char>(*first - 'A' + 'a') : *first;
        if (lower != *word) {
            return false;
        }
    }
    return first == last && *word == '\0';
}

// "(...)" of letters, digits and underscores, as a NaN's payload may follow it.
bool isNanPayload(const char *first, const char *last) {
    if (last - first < 2 || *first != '(' || last[-1] != ')') {
        return false;
    }
    for (const char *at = first + 1; at != last - 1; ++at) {
        const char c = *at;
        if (!isDigit(c) && !(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && c != '_') {
            return false;
        }
    }
    return true;
}

} // namespace

bool SessionDecimal::read(const char *first, const char *last, double &value) {
    const bool negative = first != last && *first == '-';
    const char *const start = negative ? first + 1 : first;
    if (readSpecial(start, last, negative, value)) {
        return true;
    }
    Digits digits;
    const char *at = readDigits(start, last, digits, false);
    std::ptrdiff_t digitCount = at - start;
    if (at != last && *at == '.') {
        const char *const fraction = at + 1;
        at = readDigits(fraction, last, digits, true);
        digitCount += at - fraction;
    }
    long long exponent = 0;
    if (digitCount == 0 || (at != last && (*at == 'e' || *at == 'E') &&
                            (at = readExponent(at + 1, last, exponent)) == nullptr)) {
        return false;
    }
    return at == last && convert(digits, exponent, negative, value);
}

bool SessionDecimal::readSpecial(const char *first, const char *last, bool negative,
                                 double &value) {
    double special = 0;
    if (equalsFolded(first, last, "inf") || equalsFolded(first, last, "infinity")) {
        special = std::numeric_limits<double>::infinity();
    } else if (last - first >= 3 && equalsFolded(first, first + 3, "nan") &&
               (last - first == 3 || isNanPayload(first + 3, last))) {
        special = std::numeric_limits<double>::quiet_NaN();
    } else {
        return false;
    }
    value = std::copysign(special, negative ? -1.0 : 1.0);
    return true;
}

const char *SessionDecimal::readDigits(const char *at, const char *last, Digits &digits,
                                       bool afterPoint) {
    for (; at != last && isDigit(*at); ++at) {
        if (digits.count == 0 && *at == '0') {
            digits.scale -= afterPoint ? 1 : 0; // a zero that only places the point
        } else if (digits.count < keptDigits) {
            digits.kept[digits.count++] = *at;
            digits.scale -= afterPoint ? 1 : 0;
        } else {
            digits.scale += afterPoint ? 0 : 1;
            digits.cutNonzero = digits.cutNonzero || *at != '0';
        }
    }
    return at;
}

const char *SessionDecimal::readExponent(const char *at, const char *last, long long &exponent) {
    const bool negative = at != last && *at == '-';
    if (at != last && (*at == '-' || *at == '+')) {
        ++at;
    }
    const char *const digitsStart = at;
    long long magnitude = 0;
    for (; at != last && isDigit(*at); ++at) {
        magnitude = magnitude < exponentCap ? magnitude * 10 + (*at - '0') : magnitude;
    }
    exponent = negative ? -magnitude : magnitude;
    return at == digitsStart ? nullptr : at;
}

bool SessionDecimal::convert(const Digits &digits, long long exponent, bool negative,
                             double &value) {
    if (digits.count == 0) { // only zeros
        value = negative ? -0.0 : 0.0;
        return true;
    }
    const long long leading = static_cast<long long>(digits.count) + digits.scale + exponent;
    if (leading > overflowExponent || leading < underflowExponent) {
        return false;
    }
    // The kept digits as an integer with an exponent, then a 1 for the digits cut off: no decimal
    // point, so that the C library reads it alike in every locale. Rounded once, to nearest.
    char text[keptDigits + 32];
    std::size_t length = digits.count;
    std::copy(digits.kept, digits.kept + length, text);
    long long power = digits.scale + exponent;
    if (digits.cutNonzero) {
        text[length++] = '1';
        --power;
    }
    text[length++] = 'e';
    const std::to_chars_result written =
        std::to_chars(text + length, text + sizeof text - 1, power);
    *written.ptr = '\0';
    const double magnitude = std::strtod(text, nullptr);
    if (std::isinf(magnitude) || magnitude == 0) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

// Not a number and the infinities are written by this class's words: libraries spell a NaN's sign
// differently ("-nan", "-nan(ind)").
std::string SessionDecimal::write(double value) {
#if VOSESSION_FLOAT_TO_CHARS
    if (std::isfinite(value)) {
        char text[32]; // the longest, "-2.2250738585072014e-308", takes 24
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    }
#endif
    return writePortable(value);
}

std::string SessionDecimal::writePortable(double value) {
    if (!std::isfinite(value) || value == 0) {
        const char *const word = std::isnan(value) ? "nan" : std::isinf(value) ? "inf" : "0";
        return (std::signbit(value) ? "-" : "") + std::string(word);
    }
    const Shortest number = shortest(std::fabs(value));
    const int count = static_cast<int>(number.digits.size());
    const int exponent = number.exponent;
    const std::string exponentDigits = std::to_string(std::abs(exponent));
    std::string scientific = number.digits.substr(0, 1);
    if (count > 1) {
        scientific += "." + number.digits.substr(1);
    }
    scientific += std::string(exponent < 0 ? "e-" : "e+") + (exponentDigits.size() < 2 ? "0" : "") +
                  exponentDigits;
    std::string fixed;
    if (exponent < 0) {
        fixed = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + number.digits;
    } else if (count > exponent + 1) {
        fixed = number.digits.substr(0, exponent + 1) + "." + number.digits.substr(exponent + 1);
    } else { // an integer: its exact digits, not the shortest ones padded with zeros
        char integer[400];
        std::snprintf(integer, sizeof integer, "%.0f", std::fabs(value));
        fixed = integer;
    }
    const bool isFixed = fixed.size() <= scientific.size();
    return (value < 0 ? "-" : "") + (isFixed ? fixed : scientific);
}

// Whether some p-digit decimal reads back to the value only grows with p (append a zero), and
// seventeen digits always do: the fewest are found by halving [1, 17].
SessionDecimal::Shortest SessionDecimal::shortest(double value) {
    int fewest = 1;
    int most = 17;
    Shortest found = candidateOf(value, most);
    while (fewest < most) {
        const int middle = (fewest + most) / 2;
        Shortest candidate = candidateOf(value, middle);
        if (valueOf(candidate) == value) {
            found = std::move(candidate);
            most = middle;
        } else {
            fewest = middle + 1;
        }
    }
    while (found.digits.size() > 1 && found.digits.back() == '0') {
        found.digits.pop_back();
    }
    return found;
}

// printf rounds to the nearest p digits. Those may miss the value's interval below it where the
// next p digits up still hit it: at a power of two the interval reaches half as far below as above.
// Never the other way round, so a nearest above the value that misses is no candidate either.
SessionDecimal::Shortest SessionDecimal::candidateOf(double value, int precision) {
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", precision - 1, value);
    const char *const exponent = std::strchr(text, 'e');
    Shortest candidate;
    for (const char *at = text; at != exponent; ++at) {
        if (isDigit(*at)) { // the point is the locale's
            candidate.digits += *at;
        }
    }
    candidate.exponent = std::atoi(exponent + 1);
    if (valueOf(candidate) < value) {
        stepUp(candidate);
    }
    return candidate;
}

void SessionDecimal::stepUp(Shortest &candidate) {
    std::string &digits = candidate.digits;
    std::size_t at = digits.size();
    while (at-- > 0) {
        if (digits[at] != '9') {
            ++digits[at];
            return;
        }
        digits[at] = '0';
    }
    digits.insert(digits.begin(), '1'); // 99..9 became 00..0: 10..0, one place up
    digits.pop_back();
    ++candidate.exponent;
}

double SessionDecimal::valueOf(const Shortest &candidate) {
    const int last = candidate.exponent - static_cast<int>(candidate.digits.size()) + 1;
    return std::strtod((candidate.digits + "e" + std::to_string(last)).c_str(), nullptr);
}

} // namespace VoSession
