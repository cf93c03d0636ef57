#include "base/RCSWEnds.h"

#include <atomic>

namespace Vo {

namespace {

std::atomic<std::uint64_t> &ends() noexcept {
    static std::atomic<std::uint64_t> count{0};
    return count;
}

} // namespace

std::uint64_t RCSWEnds::get() noexcept { return ends().load(std::memory_order_acquire); }

void RCSWEnds::add() noexcept { ends().fetch_add(1, std::memory_order_acq_rel); }

} // namespace Vo
