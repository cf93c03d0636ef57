#pragma once

#include "base/RCExUtil.h"

#include <typeinfo>

namespace VoTest {

// The test application's fault switch: one countdown shared by its shapes, editing sides,
// controller and shape iterators, which count every call the library makes into them and, when
// armed, raise at the chosen one, as an application failing midway would. The fault is
// RCExNullPtr naming `VoTest::TestFaults*`, a name nothing else raises. Disarmed, the counting
// changes no behaviour. Editor's thread only: the count is not atomic.
class TestFaults {
public:
    TestFaults() = delete;

    // Restarts the count; the nth counted call from now raises, and no other. 0 never raises.
    static void arm(long nth) noexcept {
        counted = 0;
        failAt = nth;
    }
    // No call raises from now; the count goes on, so a run's calls can be read after it.
    static void disarm() noexcept { failAt = 0; }
    // Counted calls since the last arm or disarm.
    static long calls() noexcept { return counted; }

    // Counts one call; raises RCExNullPtr naming `VoTest::TestFaults*` when it is the armed one.
    static void count() {
        if (++counted == failAt) {
            Vo::RCExUtil::throwExNullPtr(typeid(TestFaults *).name());
        }
    }

private:
    static inline long counted = 0;
    static inline long failAt = 0;
};

} // namespace VoTest
