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

RCShdPtr<SnSelectionChangeHint>
SnSelectionChangeHint::ofSlices(const ObSubject<Sn> *changed, std::uint64_t before,
                                std::uint64_t after, int at, Slices gone, Slices come) {
    RCShdPtr<SnSelectionChangeHint> hint(new SnSelectionChangeHint(changed, before, after, at, {}, {}));
    hint->removedSlices = std::move(gone);
    hint->addedSlices = std::move(come);
    hint->unmade = true;
    return hint;
}

namespace {

SnSelectionChangeHint::ItemList itemsOf(const SnSelectionChangeHint::Slices &slices) {
    std::size_t count = 0;
    for (const SnItemSlice &slice : slices) {
        count += slice.size();
    }
    SnSelectionChangeHint::ItemList made;
    made.reserve(count);
    for (const SnItemSlice &slice : slices) {
        for (std::size_t i = 0; i < slice.size(); ++i) {
            made.push_back(slice.at(i));
        }
    }
    return made;
}

} // namespace

void SnSelectionChangeHint::makeSliced() const {
    if (!unmade) {
        return;
    }
    ItemList madeRemoved = itemsOf(removedSlices);
    ItemList madeAdded = itemsOf(addedSlices);
    removed.swap(madeRemoved);
    added.swap(madeAdded);
    removedSlices.clear();
    addedSlices.clear();
    unmade = false;
}

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
