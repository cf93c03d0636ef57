#pragma once

#include <new>

namespace VoTest {

// The test binary's global allocator: TestAllocator.cpp replaces operator new and delete (every
// form) with malloc and free, and counts the allocations of the thread that armed it; when armed
// at n it throws std::bad_alloc (a nothrow form gives null) at the nth one, as memory running out
// midway would. Disarmed, an allocation costs one test of a flag more than malloc. The state is
// per thread, so no other thread ever fails.
class TestAllocator {
public:
    TestAllocator() = delete;

    // Starts counting from 0; the nth allocation from now fails, and no other. 0 never fails.
    static void arm(long nth) noexcept;
    // Stops counting; the count stays, so a run's allocations can be read after it.
    static void disarm() noexcept;
    // Allocations counted since the last arm.
    static long allocations() noexcept;

    // Runs operation with the nth allocation failing; whether it raised std::bad_alloc.
    template <class Operation> static bool raisesAt(long nth, Operation &&operation) {
        arm(nth);
        try {
            operation();
        } catch (const std::bad_alloc &) {
            disarm();
            return true;
        }
        disarm();
        return false;
    }
};

} // namespace VoTest
