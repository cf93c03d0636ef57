#pragma once

#include "LkCounter.h"

namespace Vo {

/// The four counting operations of a counter policy: a plain `int` (one thread only) or an atomic
/// `LkCounter<int>` (any thread). The counting bases and the pointer templates go through these so
/// that one template serves both policies.
template <class C> struct RCCountTraits;

/// A plain int count, for objects of one thread.
template <> struct RCCountTraits<int> {
    ///@{
    /// Read, step and compare-and-swap the count; the steps return the value after the change.
    static int load(const int &c) noexcept { return c; }
    static int increment(int &c) noexcept { return ++c; }
    static int decrement(int &c) noexcept { return --c; }
    static bool compareExchange(int &c, int &expected, int desired) noexcept {
        if (c != expected) {
            expected = c;
            return false;
        }
        c = desired;
        return true;
    }
    ///@}
};

/// An atomic count (LkCounter), for objects shared across threads.
template <class I> struct RCCountTraits<LkCounter<I>> {
    ///@{
    /// Read, step and compare-and-swap the count atomically; the steps return the value after the
    /// change.
    static I load(const LkCounter<I> &c) noexcept { return c.load(); }
    static I increment(LkCounter<I> &c) noexcept { return c.increment(); }
    static I decrement(LkCounter<I> &c) noexcept { return c.decrement(); }
    static bool compareExchange(LkCounter<I> &c, I &expected, I desired) noexcept {
        return c.compareExchange(expected, desired);
    }
    ///@}
};

} // namespace Vo
