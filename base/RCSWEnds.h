#pragma once

#include "VoBaseExport.h"

#include <cstdint>

namespace Vo {

// Counts the weakly referenceable objects that have ended in this process. A reader that keeps
// something derived from weak pointers (which of them were alive) compares two readings: when the
// number is the same, none of those objects can have gone meanwhile. Any thread.
class VO_BASE_API RCSWEnds {
public:
    static std::uint64_t get() noexcept;
    // Called once by the counter block of each object that ends.
    static void add() noexcept;
};

} // namespace Vo
