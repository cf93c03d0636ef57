#include "SeChangeDelta.h"

#include <algorithm>

namespace Vo {

namespace {

bool same(const RCShdPtr<SnItem const> &a, const RCShdPtr<SnItem const> &b) {
    return a == b || a->isEqual(*b);
}

SnItemRun middle(SnItemRun run, std::size_t head, std::size_t tail) {
    return run.part(head, run.size() - head - tail);
}

} // namespace

bool SeChangeDelta::find(SnItemRun before, SnItemRun after, std::size_t limit) {
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && same(before[head], after[head])) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < shorter - head &&
           same(before[before.size() - 1 - tail], after[after.size() - 1 - tail])) {
        ++tail;
    }
    const SnItemRun gone = middle(before, head, tail);
    const SnItemRun come = middle(after, head, tail);
    const std::size_t spare =
        std::max(gone.size(), come.size()) - std::min(gone.size(), come.size());
    if (spare > limit) {
        return false;
    }
    const bool fewer = come.size() <= gone.size();
    if (fewer ? embed(gone, come, head, spare, removed) : embed(come, gone, head, spare, added)) {
        return true;
    }
    if (gone.size() + come.size() > limit) {
        return false;
    }
    removed.clear();
    added.clear();
    appendPlaces(removed, head, gone.size());
    appendPlaces(added, head, come.size());
    return true;
}

// The first match is taken for each item of the shorter run: if the shorter run is in the longer
// one at all, it is found so.
bool SeChangeDelta::embed(SnItemRun longer, SnItemRun shorter, std::size_t from, std::size_t spare,
                          Vector<int> &missing) {
    if (shorter.empty()) {
        appendPlaces(missing, from, longer.size());
        return true;
    }
    std::size_t next = 0;
    for (std::size_t place = 0; place < longer.size(); ++place) {
        if (next < shorter.size() && same(longer[place], shorter[next])) {
            ++next;
        } else if (missing.size() == spare) {
            return false;
        } else {
            missing.push_back(static_cast<int>(from + place));
        }
    }
    return true;
}

void SeChangeDelta::appendPlaces(Vector<int> &places, std::size_t from, std::size_t count) {
    places.reserve(places.size() + count);
    for (std::size_t i = 0; i < count; ++i) {
        places.push_back(static_cast<int>(from + i));
    }
}

} // namespace Vo
