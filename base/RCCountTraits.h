#pragma once

#include "LkCounter.h"

namespace Vo {

/// The four counting operations of a counter policy: a plain `int` (one thread only) or an atomic
/// `LkCounter<int>` (any thread). The counting bases and the pointer templates go through these so
/// that one template serves both policies.
template <class C> struct RCCountTraits;

template <> struct RCCountTraits<int> {
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
};

template <class I> struct RCCountTraits<LkCounter<I>> {
    static I load(const LkCounter<I> &c) noexcept { return c.load(); }
    static I increment(LkCounter<I> &c) noexcept { return c.increment(); }
    static I decrement(LkCounter<I> &c) noexcept { return c.decrement(); }
    static bool compareExchange(LkCounter<I> &c, I &expected, I desired) noexcept {
        return c.compareExchange(expected, desired);
    }
};

} // namespace Vo
