#pragma once

#include "VoBaseExport.h"

#include <atomic>

namespace Vo {

/// A counter whose every change is one atomic read-modify-write with full (sequentially consistent)
/// ordering. Thread safety: any number of threads may change one counter at once; no lock is taken.
template <class I> class VO_BASE_API LkCounter {
public:
    /// An atomic count.
    /// \param initial the count's first value
    constexpr explicit LkCounter(I initial = 0) noexcept : value(initial) {}
    LkCounter(const LkCounter &) = delete;
    LkCounter &operator=(const LkCounter &) = delete;

    ///@{
    /// The count's value; increment and decrement return the value after the change. Sequentially
    /// consistent.
    I load() const noexcept { return value.load(std::memory_order_seq_cst); }
    I increment() noexcept { return value.fetch_add(1, std::memory_order_seq_cst) + 1; }
    I decrement() noexcept { return value.fetch_sub(1, std::memory_order_seq_cst) - 1; }
    ///@}
    /// Stores `desired` when the count holds `expected`; weak, so it may fail spuriously and
    /// callers retry in a loop. On failure `expected` receives the current value, so a caller can
    /// retry without reloading.
    /// \param expected the value looked for
    /// \param desired the value stored on success
    bool compareExchange(I &expected, I desired) noexcept {
        return value.compare_exchange_weak(expected, desired, std::memory_order_seq_cst);
    }

private:
    std::atomic<I> value;
};

} // namespace Vo
