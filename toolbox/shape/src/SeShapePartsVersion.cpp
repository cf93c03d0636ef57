#include "SeShapePartsVersion.h"

#include <algorithm>
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
    return lead(from, Step{points, true, index, set->getParts().size()});
}

SeShapePartsVersion::Pointer SeShapePartsVersion::remove(const Pointer &from, bool points,
                                                         int index) {
    SeShapePartsVersion &root = settle(from);
    const Vector<int> &order = (points ? root.points : root.handles)->getParts();
    // From the back: the index leaving is most often one of the last selected.
    const auto found = std::find(order.rbegin(), order.rend(), index);
    return lead(from,
                Step{points, false, index, static_cast<std::size_t>(order.rend() - found) - 1});
}

SeShapePartsVersion::Step SeShapePartsVersion::opposite(Step step) noexcept {
    step.insert = !step.insert;
    return step;
}

SeShapePartsVersion::Pointer SeShapePartsVersion::lead(const Pointer &from, const Step &step) {
    Pointer made = std::make_shared<SeShapePartsVersion>(IndexSet(), IndexSet());
    from->apply(step);
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

void SeShapePartsVersion::apply(const Step &change) {
    SnPartsBasic<int> &set = *(change.points ? points : handles);
    if (change.insert) {
        set.insertAt(change.position, change.index);
    } else {
        set.remove(change.index);
    }
}

} // namespace Vo
