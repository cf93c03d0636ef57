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
    /// Read and step the count; the steps return the value after the change.
    /// \param c the count, held by a counting base or a counter block
    static int load(const int &c) noexcept { return c; }
    static int increment(int &c) noexcept { return ++c; }
    static int decrement(int &c) noexcept { return --c; }
    ///@}
    /// Compare-and-swap: stores `desired` when the count holds `expected`.
    /// \param c the count, held by a counting base or a counter block
    /// \param expected the value looked for; receives the count's value when it is another
    /// \param desired the value stored on success
    static bool compareExchange(int &c, int &expected, int desired) noexcept {
        if (c != expected) {
            expected = c;
            return false;
        }
        c = desired;
        return true;
    }
};

/// An atomic count (LkCounter), for objects shared across threads.
template <class I> struct RCCountTraits<LkCounter<I>> {
    ///@{
    /// Read and step the count atomically; the steps return the value after the change.
    /// \param c the count, held by a counting base or a counter block
    static I load(const LkCounter<I> &c) noexcept { return c.load(); }
    static I increment(LkCounter<I> &c) noexcept { return c.increment(); }
    static I decrement(LkCounter<I> &c) noexcept { return c.decrement(); }
    ///@}
    /// Atomic compare-and-swap: stores `desired` when the count holds `expected`; may fail
    /// spuriously, so callers retry in a loop.
    /// \param c the count, held by a counting base or a counter block
    /// \param expected the value looked for; receives the count's value on failure
    /// \param desired the value stored on success
    static bool compareExchange(LkCounter<I> &c, I &expected, I desired) noexcept {
        return c.compareExchange(expected, desired);
    }
};

} // namespace Vo
