#include "SeShapePartsVersion.h"

#include <utility>
#include <vector>

namespace Vo {

SeShapePartsVersion::SeShapePartsVersion(IndexSet points, IndexSet handles) noexcept
    : points(std::move(points)), handles(std::move(handles)) {}

SeShapePartsVersion::~SeShapePartsVersion() {
    Pointer next = std::move(base);
    while (next != nullptr && next.use_count() == 1) {
        Pointer after = std::move(next->base);
        next = std::move(after); // the last holder lets go of a version that now leans on none
    }
}

SeShapePartsVersion &SeShapePartsVersion::settle(const Pointer &version) {
    if (version->base == nullptr) {
        return *version;
    }
    if (version->base->base == nullptr) { // the common case: one step away
        turn(version);
        return *version;
    }
    std::vector<Pointer> path{version};
    while (path.back()->base->base != nullptr) {
        path.push_back(path.back()->base);
    }
    for (auto on = path.rbegin(); on != path.rend(); ++on) {
        turn(*on);
    }
    return *version;
}

SeShapePartsVersion::Pointer SeShapePartsVersion::insert(const Pointer &from, bool points,
                                                         int index) {
    SeShapePartsVersion &root = settle(from);
    const IndexSet &set = points ? root.points : root.handles;
    return lead(from, Step{Step::Kind::insert, points, true, index, set->getParts().size()});
}

// The index's place in the order: its rank's when the rank names it, else searched from the back,
// where the index leaving most often is (one of the last selected).
std::size_t SeShapePartsVersion::placeOf(const Vector<int> &order, int index, int rank) noexcept {
    const bool known = rank > 0 && static_cast<std::size_t>(rank) <= order.size() &&
                       order[static_cast<std::size_t>(rank) - 1] == index;
    return known ? static_cast<std::size_t>(rank) - 1
                 : SnIndexScan::findLast(order.data(), order.data() + order.size(), index);
}

SeShapePartsVersion::Pointer SeShapePartsVersion::remove(const Pointer &from, bool points,
                                                         int index, int rank) {
    SeShapePartsVersion &root = settle(from);
    const Vector<int> &order = (points ? root.points : root.handles)->getParts();
    return lead(from, Step{Step::Kind::remove, points, true, index, placeOf(order, index, rank)});
}

SeShapePartsVersion::Pointer SeShapePartsVersion::renumber(const Pointer &from, bool points, int at,
                                                           bool added, int rank) {
    SeShapePartsVersion &root = settle(from);
    const Vector<int> &order = (points ? root.points : root.handles)->getParts();
    std::size_t place = kNowhere;
    if (!added && (points ? root.points : root.handles)->hasPart(at)) {
        place = placeOf(order, at, rank);
    }
    return lead(from, Step{added ? Step::Kind::renumberUp : Step::Kind::renumberDown, points, true,
                           at, place});
}

std::size_t SeShapePartsVersion::countPoints(const Pointer &version) {
    return count(version, true);
}

std::size_t SeShapePartsVersion::countHandles(const Pointer &version) {
    return count(version, false);
}

bool SeShapePartsVersion::isNextTo(const Pointer &one, const Pointer &other, bool &equal) noexcept {
    const SeShapePartsVersion *leaning = one->base == other   ? one.get()
                                         : other->base == one ? other.get()
                                                              : nullptr;
    if (leaning == nullptr) {
        return false;
    }
    equal = !leaning->step.changes;
    return true;
}

SeShapePartsVersion::Step SeShapePartsVersion::opposite(Step step) noexcept {
    switch (step.kind) {
    case Step::Kind::insert:
        step.kind = Step::Kind::remove;
        break;
    case Step::Kind::remove:
        step.kind = Step::Kind::insert;
        break;
    case Step::Kind::renumberUp:
        step.kind = Step::Kind::renumberDown;
        break;
    case Step::Kind::renumberDown:
        step.kind = Step::Kind::renumberUp;
        break;
    }
    return step;
}

SeShapePartsVersion::Pointer SeShapePartsVersion::lead(const Pointer &from, Step step) {
    Pointer made = std::make_shared<SeShapePartsVersion>(IndexSet(), IndexSet());
    step.changes = from->apply(step);
    made->points = std::move(from->points);
    made->handles = std::move(from->handles);
    from->base = made;
    from->step = opposite(step);
    return made;
}

void SeShapePartsVersion::turn(const Pointer &version) {
    const Pointer root = version->base;
    root->apply(version->step);
    version->points = std::move(root->points);
    version->handles = std::move(root->handles);
    root->step = opposite(version->step);
    root->base = version;
    version->base.reset();
}

// Walks to the root, counting each step's index in or out on the way.
std::size_t SeShapePartsVersion::count(const Pointer &version, bool points) {
    std::ptrdiff_t change = 0;
    const SeShapePartsVersion *on = version.get();
    for (; on->base != nullptr; on = on->base.get()) {
        const Step &step = on->step;
        if (step.points != points) {
            continue;
        }
        // From the base's count to this one's.
        switch (step.kind) {
        case Step::Kind::insert:
            ++change;
            break;
        case Step::Kind::remove:
            --change;
            break;
        case Step::Kind::renumberUp:
            change += step.position != kNowhere ? 1 : 0;
            break;
        case Step::Kind::renumberDown:
            change -= step.position != kNowhere ? 1 : 0;
            break;
        }
    }
    const IndexSet &set = points ? on->points : on->handles;
    return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(set->getParts().size()) + change);
}

bool SeShapePartsVersion::apply(const Step &change) {
    SnPartsBasic<int> &set = *(change.points ? points : handles);
    switch (change.kind) {
    case Step::Kind::insert:
        set.insertAt(change.position, change.index);
        return true;
    case Step::Kind::remove:
        set.removeAt(change.position); // found when the step was made: no second search
        return true;
    case Step::Kind::renumberDown:
        return set.renumber(change.index, false);
    case Step::Kind::renumberUp:
        break;
    }
    const bool moved = set.renumber(change.index, true);
    if (change.position == kNowhere) {
        return moved;
    }
    try {
        set.insertAt(change.position, change.index); // the element's index comes back
    } catch (...) {
        set.renumber(change.index, false);
        throw;
    }
    return true;
}

} // namespace Vo
