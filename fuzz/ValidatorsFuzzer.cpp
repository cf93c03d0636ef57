// Differential fuzzer of the gradient-handle validators: any float bit patterns and counts must
// come back promptly and in the documented ranges, and wherever plain single-precision steps of
// the curve length are short, bit for bit as those steps give them, offset included.

#include "SeShapeParts.h"

#include "StepModel.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using Vo::SeShapeParts;

// Beyond this many single steps the reference would be slow; the library reduces such positions
// in one go, so they are checked against the ranges only.
constexpr double kMaxReferenceSteps = 10000.0;

void check(bool holds, const char *what) {
    if (!holds) {
        std::fprintf(stderr, "validator result wrong: %s\n", what);
        std::abort();
    }
}

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatOf(const std::uint8_t *data) {
    float value = 0.0f;
    std::memcpy(&value, data, sizeof value);
    return value;
}

bool sameBits(float a, float b) { return bitsOf(a) == bitsOf(b); }

bool referenceApplies(float position, float length) {
    return std::isfinite(position) &&
           std::fabs(static_cast<double>(position)) / length < kMaxReferenceSteps;
}

void referenceClosed(float &position, int count) {
    if (count < 2) {
        position = 0.0f;
        return;
    }
    const auto length = static_cast<float>(count);
    VoTest::StepModel::reduce(position, length);
    if (position >= length) { // a tiny negative position rounded up to the length: the start
        position = 0.0f;
    }
}

void referencePosition(float &offset, float &position, int count, bool closed, bool keepSign) {
    if (count < 2) {
        position = 0.0f;
        return;
    }
    if (closed) {
        referenceClosed(position, count);
        if (!keepSign) {
            offset = 0.0f - offset;
        }
        return;
    }
    const auto length = static_cast<float>(count - 1);
    if (VoTest::StepModel::reduce(position, length)) {
        position = length - position;
        offset = 0.0f - offset;
    }
}

void referenceOpened(float &offset, float &position, int count) {
    if (count < 1) {
        position = 0.0f;
        return;
    }
    const auto length = static_cast<float>(count);
    if (VoTest::StepModel::reduce(position, length)) {
        position -= length;
    }
    if (offset < 0.0f) {
        offset = 0.0f - offset;
        position = 0.0f - position;
    }
}

// The documented result for a position that is not finite: NaN stays with no step, an infinity
// becomes 0 with an even step count.
void checkNonFinite(float input, float position, const char *what) {
    check(std::isnan(input) ? std::isnan(position) : position == 0.0f, what);
}

void checkClosed(float input, int count) {
    float position = input;
    SeShapeParts::validateGradientHandleClosedCurve(position, count);
    if (count < 2) {
        check(sameBits(position, 0.0f), "closed: short curve gives +0");
        return;
    }
    const auto length = static_cast<float>(count);
    if (!std::isfinite(input)) {
        checkNonFinite(input, position, "closed: non-finite position");
        return;
    }
    check(position >= 0.0f && position < length, "closed: position in [0, count)");
    if (referenceApplies(input, length)) {
        float expected = input;
        referenceClosed(expected, count);
        check(sameBits(position, expected), "closed: single steps");
    }
}

void checkPosition(float inputOffset, float input, int count, bool closed, bool keepSign) {
    float offset = inputOffset;
    float position = input;
    SeShapeParts::validateGradientHandlePosition(offset, position, count, closed, keepSign);
    if (count < 2) {
        check(sameBits(position, 0.0f) && sameBits(offset, inputOffset),
              "position: short curve gives +0, offset unchanged");
        return;
    }
    const auto length = static_cast<float>(closed ? count : count - 1);
    if (!std::isfinite(input)) {
        checkNonFinite(input, position, "position: non-finite position");
        if (!closed) {
            check(sameBits(offset, inputOffset), "position: open, no step, offset unchanged");
        }
        return;
    }
    const bool inRange =
        closed ? position >= 0.0f && position < length : position >= 0.0f && position <= length;
    check(inRange, "position: closed [0, count), open [0, count - 1]");
    if (referenceApplies(input, length)) {
        float expectedOffset = inputOffset;
        float expected = input;
        referencePosition(expectedOffset, expected, count, closed, keepSign);
        check(sameBits(position, expected) && sameBits(offset, expectedOffset),
              "position: single steps");
    }
}

void checkOpened(float inputOffset, float input, int count) {
    float offset = inputOffset;
    float position = input;
    SeShapeParts::validateGradientHandleOpenedCurve(offset, position, count);
    if (count < 1) {
        check(sameBits(position, 0.0f) && sameBits(offset, inputOffset),
              "opened: short curve gives +0, offset unchanged");
        return;
    }
    check(std::isnan(offset) || offset >= 0.0f, "opened: offset never negative");
    const auto length = static_cast<float>(count);
    if (!std::isfinite(input)) {
        checkNonFinite(input, position, "opened: non-finite position");
        return;
    }
    // [-count, count) before a negative offset mirrors it.
    const bool inRange = inputOffset < 0.0f ? position > -length && position <= length
                                            : position >= -length && position < length;
    check(inRange, "opened: position in [-count, count), mirrored by a negative offset");
    if (referenceApplies(input, length)) {
        float expectedOffset = inputOffset;
        float expected = input;
        referenceOpened(expectedOffset, expected, count);
        check(sameBits(position, expected) && sameBits(offset, expectedOffset),
              "opened: single steps");
    }
}

// Raw counts reach the extremes of int; most inputs take a small count, where curves live.
int decodeCount(const std::uint8_t *data, std::uint8_t flags) {
    std::int32_t raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    return (flags & 4U) != 0 ? raw : static_cast<int>(static_cast<std::uint8_t>(raw) % 40) - 2;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    constexpr std::size_t kRecord = 13; // offset, position, count, flags
    for (std::size_t at = 0; at + kRecord <= size; at += kRecord) {
        const float offset = floatOf(data + at);
        const float position = floatOf(data + at + 4);
        const std::uint8_t flags = data[at + 12];
        const int count = decodeCount(data + at + 8, flags);
        checkClosed(position, count);
        checkPosition(offset, position, count, (flags & 1U) != 0, (flags & 2U) != 0);
        checkOpened(offset, position, count);
    }
    return 0;
}
