#include "host/selection/SnSelectionChangeHint.h"

#include <utility>

namespace Vo {

SnSelectionChangeHint::SnSelectionChangeHint(const ObSubject<Sn> *changed) noexcept
    : SnSelectionChangeHint(changed, 0, 0) {}

SnSelectionChangeHint::SnSelectionChangeHint(const ObSubject<Sn> *changed, std::uint64_t before,
                                             std::uint64_t after) noexcept
    : subject(changed), revisionBefore(before), revisionAfter(after), position(-1) {}

SnSelectionChangeHint::SnSelectionChangeHint(const ObSubject<Sn> *changed, std::uint64_t before,
                                             std::uint64_t after, int at, ItemList gone,
                                             ItemList come) noexcept
    : subject(changed), revisionBefore(before), revisionAfter(after), position(at),
      removed(std::move(gone)), added(std::move(come)) {}

SnSelectionChangeHint::~SnSelectionChangeHint() noexcept = default;

void SnSelectionChangeHint::lendAdded(SnItemRun run, ItemList gone) noexcept {
    removed = std::move(gone);
    lentAdded = run;
    lent = true;
}

SnSelectionChangeHint::ItemList SnSelectionChangeHint::takeBackRemoved() noexcept {
    return std::move(removed);
}

void SnSelectionChangeHint::keepAdded() {
    if (lent) {
        added.assign(lentAdded.begin(), lentAdded.end());
        lent = false;
    }
}

} // namespace Vo
