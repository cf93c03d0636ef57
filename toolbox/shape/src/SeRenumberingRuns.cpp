#include "SeRenumberingRuns.h"

#include "SeShapeItem.h"
#include "SeShapeItems.h"
#include "SeShapeParts.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <numeric>

namespace Vo {

namespace {

using Renumbering = SeRenumberingRuns::Renumbering;

// Adds to every position from p on, and reads one position's sum, in O(log n) each.
class SuffixAdds {
public:
    explicit SuffixAdds(std::size_t size) : tree(size + 1, 0), plain(size + 1, 0) {}

    void add(std::size_t p, std::int64_t amount) {
        plain[p] += amount;
        for (std::size_t i = p + 1; i < tree.size(); i += i & (0 - i)) {
            tree[i] += amount;
        }
    }
    std::int64_t at(std::size_t p) const {
        std::int64_t sum = 0;
        for (std::size_t i = p + 1; i > 0; i -= i & (0 - i)) {
            sum += tree[i];
        }
        return sum;
    }
    // The sums of every position in order, in one pass.
    Vector<std::int64_t> all() const {
        Vector<std::int64_t> sums(plain.size() - 1);
        std::partial_sum(plain.begin(), plain.end() - 1, sums.begin());
        return sums;
    }

private:
    Vector<std::int64_t> tree;
    Vector<std::int64_t> plain;
};

// Below this many reports on one item, renumbering report by report (one pass over the indices
// each) costs less than sorting the indices once.
bool worthComposing(std::size_t reports, std::size_t indices) {
    std::size_t log2 = 1;
    while ((std::size_t(1) << log2) < indices + 2) {
        ++log2;
    }
    return reports > 4 * log2;
}

// Whether every run can be composed: no negative report, no index pushed past INT_MAX.
bool composable(const std::deque<Renumbering> &log, const Vector<std::size_t> &matching,
                const SeShapeParts &parts) {
    std::int64_t largest = -1;
    for (const Vector<int> *indices : {&parts.getPoints(), &parts.getHandles()}) {
        if (!indices->empty()) {
            largest = std::max<std::int64_t>(largest,
                                             *std::max_element(indices->begin(), indices->end()));
        }
    }
    std::int64_t insertions = 0;
    for (std::size_t i : matching) {
        if (log[i].index < 0) {
            return false;
        }
        insertions += log[i].added ? 1 : 0;
    }
    return largest + insertions <= INT_MAX;
}

// The indices of one kind after the reports of that kind, run by run of insertions or removals.
Vector<int> renumberKind(Vector<int> indices, const std::deque<Renumbering> &log,
                         const Vector<std::size_t> &matching, bool points) {
    Vector<int> run;
    bool added = false;
    const auto flush = [&] {
        if (!run.empty()) {
            indices = SeRenumberingRuns::composed(indices, run, added);
            run.clear();
        }
    };
    for (std::size_t i : matching) {
        const Renumbering &report = log[i];
        if (report.points != points) {
            continue;
        }
        if (report.added != added) {
            flush();
            added = report.added;
        }
        run.push_back(report.index);
    }
    flush();
    return indices;
}

RCShdPtr<SeShapeParts> partsWith(const Vector<int> &points, const Vector<int> &handles) {
    const RCShdPtr<SeShapeParts> parts(new SeShapeParts);
    const auto largest = [](const Vector<int> &indices) {
        return indices.empty() ? 0 : std::max(0, *std::max_element(indices.begin(), indices.end()));
    };
    parts->reservePoints(static_cast<int>(points.size()), largest(points));
    parts->reserveHandles(static_cast<int>(handles.size()), largest(handles));
    for (int index : points) {
        parts->appendPoint(index);
    }
    for (int index : handles) {
        parts->appendHandle(index);
    }
    return parts;
}

} // namespace

Vector<int> SeRenumberingRuns::composed(const Vector<int> &indices, const Vector<int> &ats,
                                        bool added) {
    const std::size_t count = indices.size();
    Vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return indices[a] < indices[b]; });
    // In sorted order each index's value is its start plus what the reports added from its place
    // on. The values stay sorted: a removed index (a ghost) drops to one below the report's place,
    // so a later search for that place finds the live index after it.
    Vector<std::int64_t> start(count);
    for (std::size_t i = 0; i < count; ++i) {
        start[i] = indices[order[i]];
    }
    SuffixAdds moves(count);
    Vector<char> ghost(count, 0);
    for (int at : ats) {
        std::size_t lo = 0;
        std::size_t hi = count;
        while (lo < hi) {
            const std::size_t mid = lo + (hi - lo) / 2;
            if (start[mid] + moves.at(mid) < at) {
                lo = mid + 1;
            } else {
                hi = mid;
            }
        }
        if (lo == count) {
            continue;
        }
        if (!added && ghost[lo] == 0 && start[lo] + moves.at(lo) == at) {
            ghost[lo] = 1;
        }
        moves.add(lo, added ? 1 : -1);
    }
    const Vector<std::int64_t> sums = moves.all();
    Vector<std::size_t> rank(count);
    for (std::size_t i = 0; i < count; ++i) {
        rank[order[i]] = i;
    }
    Vector<int> result;
    result.reserve(count);
    for (std::size_t place = 0; place < count; ++place) {
        const std::size_t r = rank[place];
        if (ghost[r] == 0) {
            result.push_back(static_cast<int>(start[r] + sums[r]));
        }
    }
    return result;
}

RCShdPtr<SnItem const> SeRenumberingRuns::apply(const RCShdPtr<SnItem const> &item,
                                                const std::deque<Renumbering> &log,
                                                std::size_t first, std::size_t last) {
    const auto *shapeItem = rcFastCast<const SeShapeItem>(item.get());
    if (shapeItem == nullptr || !item->hasParts()) {
        return item;
    }
    Vector<std::size_t> matching;
    for (std::size_t i = first; i < last; ++i) {
        if (log[i].shape == shapeItem->getData()) {
            matching.push_back(i);
        }
    }
    const RCShdPtr<SeShapeParts const> parts = SeShapeItems::partsOf(*item);
    const std::size_t indices = parts->getPoints().size() + parts->getHandles().size();
    if (!worthComposing(matching.size(), indices) || !composable(log, matching, *parts)) {
        RCShdPtr<SnItem const> renumbered = item;
        for (std::size_t i : matching) {
            renumbered = SeShapeSelector::renumberedItem(renumbered, log[i]);
        }
        return renumbered;
    }
    const RCShdPtr<SnItem const> renumbered =
        SeShapeItems::make(partsWith(renumberKind(parts->getPoints(), log, matching, true),
                                     renumberKind(parts->getHandles(), log, matching, false)),
                           shapeItem->getData());
    return item->isEqual(*renumbered) ? item : renumbered;
}

} // namespace Vo
