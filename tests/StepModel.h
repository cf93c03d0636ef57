#pragma once

namespace VoTest {

// The plain loop a handle's position is documented to follow, for the tests and the validators'
// fuzzer to compare the validators with: one single-precision step of the length at a time,
// subtracting while at or past the length, then adding while below 0. Owns nothing.
struct StepModel {
    // Brings position into range by those steps; whether their number is odd.
    static bool reduce(float &position, float length) {
        long long steps = 0;
        for (; position >= length; ++steps) {
            position -= length;
        }
        for (; position < 0.0f; ++steps) {
            position += length;
        }
        return steps % 2 != 0;
    }
};

} // namespace VoTest
