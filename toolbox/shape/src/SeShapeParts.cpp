#include "SeShapeParts.h"

#include "SeShapePartsVersion.h"

#include <climits>
#include <cmath>

namespace Vo {

namespace {

// Below this magnitude every single step of an integral length is exact in single precision (all
// values on the way are multiples of their own unit in the last place), so an exact remainder
// gives the very same position and parity as the single steps would.
constexpr double kExactMagnitude = 16777216.0; // 2^24
// Beyond this many steps a single step may stop changing the value (or take too long): such a
// position is reduced exactly instead.
constexpr double kMaxSingleSteps = 1048576.0; // 2^20

// The remainder of the position by the length, computed exactly; true when the number of single
// steps it stands for is odd. The last step of a negative position is done in single precision,
// as the single steps would do it, so that its rounding is the same.
bool reduceExactly(float &position, float length) {
    double rest = std::fmod(std::fabs(static_cast<double>(position)), 2.0 * length);
    const bool oddCycles = rest >= length;
    if (oddCycles) {
        rest -= length;
    }
    if (position >= 0.0f) {
        position = static_cast<float>(rest);
        return oddCycles;
    }
    if (rest == 0.0) {
        position = 0.0f;
        return oddCycles;
    }
    position = -static_cast<float>(rest) + length;
    return !oddCycles;
}

bool reduceBySingleSteps(float &position, float length) {
    bool odd = false;
    while (position >= length) {
        position -= length;
        odd = !odd;
    }
    while (position < 0.0f) {
        position += length;
        odd = !odd;
    }
    return odd;
}

// Brings the position into [0, length] (length itself only by rounding up a tiny negative
// position) as repeated single-precision steps of length would: subtract while >= length, then add
// while < 0. Returns whether the number of steps is odd. NaN stays with no step; an infinity
// becomes 0 with an even count. length is a positive integral value.
bool reduceByLength(float &position, float length) {
    if (std::isnan(position) || (position >= 0.0f && position < length)) {
        return false;
    }
    if (std::isinf(position)) {
        position = 0.0f;
        return false;
    }
    const double magnitude = std::fabs(static_cast<double>(position));
    if (magnitude < kExactMagnitude || magnitude > kMaxSingleSteps * length) {
        return reduceExactly(position, length);
    }
    return reduceBySingleSteps(position, length);
}

float negated(float value) { return 0.0f - value; }

} // namespace

SeShapeParts::SeShapeParts()
    : version(std::make_shared<SeShapePartsVersion>(IndexSet(new SnPartsBasic<int>()),
                                                    IndexSet(new SnPartsBasic<int>()))) {}

SeShapeParts::SeShapeParts(const SeShapeParts &other) : SnParts(other) {
    const SeShapePartsVersion &sets = SeShapePartsVersion::settle(other.version);
    IndexSet pointCopy = cloneSet(sets.getPoints());
    version =
        std::make_shared<SeShapePartsVersion>(std::move(pointCopy), cloneSet(sets.getHandles()));
}

SeShapeParts::SeShapeParts(std::shared_ptr<SeShapePartsVersion> shared) noexcept
    : version(std::move(shared)) {}

SeShapeParts::~SeShapeParts() noexcept = default;

SnParts *SeShapeParts::clone() const { return new SeShapeParts(*this); }

bool SeShapeParts::isEqual(const RCShdPtr<SnParts const> &other) const {
    const RCShdPtr<SeShapeParts const> shape = asShapeParts(other);
    if (shape.isNull()) {
        return false;
    }
    // Parts one step apart, of one family, are told apart without reading them; parts of
    // different sizes, without a copy.
    bool equal = false;
    if (SeShapePartsVersion::isNextTo(version, shape->version, equal)) {
        return equal;
    }
    if (pointCount() != shape->pointCount() || handleCount() != shape->handleCount()) {
        return false;
    }
    const std::pair<IndexSet, IndexSet> theirs = setsBeside(*shape);
    return readPoints()->isEqual(theirs.first) && readHandles()->isEqual(theirs.second);
}

bool SeShapeParts::contains(const RCShdPtr<SnParts const> &other) const {
    if (other.isNull()) {
        return true;
    }
    const RCShdPtr<SeShapeParts const> shape = asShapeParts(other);
    if (shape.isNull()) {
        return false;
    }
    const std::pair<IndexSet, IndexSet> theirs = setsBeside(*shape);
    return containsSet(readPoints(), theirs.first) && containsSet(readHandles(), theirs.second);
}

bool SeShapeParts::isEmpty() const { return pointCount() == 0 && handleCount() == 0; }

int SeShapeParts::getSize() const { return static_cast<int>(pointCount() + handleCount()); }

void SeShapeParts::clear() {
    pointSet()->clear();
    handleSet()->clear();
}

void SeShapeParts::replaceAllParts(const RCShdPtr<SnParts const> &other) {
    const RCShdPtr<SeShapeParts const> shape = asShapeParts(other);
    if (!shape.isNull()) {
        const std::pair<IndexSet, IndexSet> theirs = setsBeside(*shape);
        pointSet()->replaceAllParts(theirs.first);
        handleSet()->replaceAllParts(theirs.second);
    }
}

bool SeShapeParts::unionWith(const RCShdPtr<SnParts const> &other) {
    return applyToBoth(other, &SnParts::unionWith);
}

bool SeShapeParts::differenceWith(const RCShdPtr<SnParts const> &other) {
    return applyToBoth(other, &SnParts::differenceWith);
}

bool SeShapeParts::xorWith(const RCShdPtr<SnParts const> &other) {
    return applyToBoth(other, &SnParts::xorWith);
}

void SeShapeParts::dump(std::ostream &stream) const {
    readPoints()->dump(stream);
    readHandles()->dump(stream);
}

void SeShapeParts::replaceAllPoints(const RCShdPtr<SnParts const> &other) {
    const RCShdPtr<SeShapeParts const> shape = asShapeParts(other);
    if (!shape.isNull()) {
        pointSet()->replaceAllParts(setsBeside(*shape).first);
    }
}

void SeShapeParts::replaceAllHandles(const RCShdPtr<SnParts const> &other) {
    const RCShdPtr<SeShapeParts const> shape = asShapeParts(other);
    if (!shape.isNull()) {
        handleSet()->replaceAllParts(setsBeside(*shape).second);
    }
}

RCShdPtr<SeShapeParts> SeShapeParts::renumberedPoints(int at, bool added) const {
    return renumbered(true, at, added, -1);
}

RCShdPtr<SeShapeParts> SeShapeParts::renumberedHandles(int at, bool added) const {
    return renumbered(false, at, added, -1);
}

RCShdPtr<SeShapeParts> SeShapeParts::renumberedPoints(int at, bool added, int rank) const {
    return renumbered(true, at, added, rank);
}

RCShdPtr<SeShapeParts> SeShapeParts::renumberedHandles(int at, bool added, int rank) const {
    return renumbered(false, at, added, rank);
}

RCShdPtr<SeShapeParts> SeShapeParts::withPointAppended(int index) const {
    return withStep(true, true, index, 0);
}

RCShdPtr<SeShapeParts> SeShapeParts::withHandleAppended(int index) const {
    return withStep(false, true, index, 0);
}

RCShdPtr<SeShapeParts> SeShapeParts::withPointRemoved(int index, int rank) const {
    return withStep(true, false, index, rank);
}

RCShdPtr<SeShapeParts> SeShapeParts::withHandleRemoved(int index, int rank) const {
    return withStep(false, false, index, rank);
}

void SeShapeParts::validateGradientHandlePosition(float &offset, float &position, int count,
                                                  bool closed, bool keepOffsetSign) {
    if (count < 2) {
        position = 0.0f;
        return;
    }
    if (closed) {
        validateGradientHandleClosedCurve(position, count);
        if (!keepOffsetSign) {
            offset = negated(offset);
        }
        return;
    }
    const auto length = static_cast<float>(count - 1);
    if (reduceByLength(position, length)) {
        position = length - position;
        offset = negated(offset);
    }
}

void SeShapeParts::validateGradientHandleClosedCurve(float &position, int count) {
    if (count < 2) {
        position = 0.0f;
        return;
    }
    const auto length = static_cast<float>(count);
    reduceByLength(position, length);
    // A tiny negative position plus the length rounds up to the length itself, which is outside
    // [0, length); it stands for the start of the curve.
    if (position >= length) {
        position = 0.0f;
    }
}

void SeShapeParts::validateGradientHandleOpenedCurve(float &offset, float &position, int count) {
    if (count < 1) {
        position = 0.0f;
        return;
    }
    const auto length = static_cast<float>(count);
    if (reduceByLength(position, length)) {
        position -= length;
    }
    if (offset < 0.0f) {
        offset = negated(offset);
        position = negated(position);
    }
}

RCShdPtr<SeShapeParts const> SeShapeParts::asShapeParts(const RCShdPtr<SnParts const> &other) {
    return rcDynamicCastOrNull<SeShapeParts const>(other);
}

SeShapeParts::IndexSet SeShapeParts::cloneSet(const IndexSet &set) {
    // Owned before the type test, so that a clone of the wrong class is released.
    const RCShdPtr<SnParts> copy(set->clone());
    return rcDynamicCast<SnPartsBasic<int>>(copy);
}

bool SeShapeParts::containsSet(const IndexSet &mine, const IndexSet &theirs) {
    return (mine->isEmpty() && theirs->isEmpty()) || mine->contains(theirs);
}

bool SeShapeParts::applyToBoth(const RCShdPtr<SnParts const> &other, SetOperation operation) {
    const RCShdPtr<SeShapeParts const> shape = asShapeParts(other);
    if (shape.isNull()) {
        return false;
    }
    const std::pair<IndexSet, IndexSet> theirs = setsBeside(*shape);
    const bool pointsChanged = ((*pointSet()).*operation)(theirs.first);
    const bool handlesChanged = ((*handleSet()).*operation)(theirs.second);
    return pointsChanged || handlesChanged;
}

std::size_t SeShapeParts::pointCount() const { return SeShapePartsVersion::countPoints(version); }

std::size_t SeShapeParts::handleCount() const { return SeShapePartsVersion::countHandles(version); }

RCShdPtr<SeShapeParts> SeShapeParts::renumbered(bool points, int at, bool added, int rank) const {
    const IndexSet &set = points ? readPoints() : readHandles();
    if (added && set->hasPart(INT_MAX)) { // it would wrap: no step leads back from there
        const RCShdPtr<SeShapeParts> copy(new SeShapeParts(*this));
        (points ? copy->pointSet() : copy->handleSet())->renumber(at, true);
        return copy;
    }
    return RCShdPtr<SeShapeParts>(
        new SeShapeParts(SeShapePartsVersion::renumber(version, points, at, added, rank)));
}

const SeShapeParts::IndexSet &SeShapeParts::readPoints() const {
    return SeShapePartsVersion::settle(version).getPoints();
}

const SeShapeParts::IndexSet &SeShapeParts::readHandles() const {
    return SeShapePartsVersion::settle(version).getHandles();
}

const SeShapeParts::IndexSet &SeShapeParts::pointSet() {
    ownSets();
    return version->getPoints();
}

const SeShapeParts::IndexSet &SeShapeParts::handleSet() {
    ownSets();
    return version->getHandles();
}

// Other versions that lean on this one need its indices as they are: a change goes to copies.
void SeShapeParts::ownSets() {
    const SeShapePartsVersion &sets = SeShapePartsVersion::settle(version);
    if (version.use_count() > 1) {
        IndexSet pointCopy = cloneSet(sets.getPoints());
        version = std::make_shared<SeShapePartsVersion>(std::move(pointCopy),
                                                        cloneSet(sets.getHandles()));
    }
}

std::pair<SeShapeParts::IndexSet, SeShapeParts::IndexSet>
SeShapeParts::setsBeside(const SeShapeParts &other) const {
    const SeShapePartsVersion &theirs = SeShapePartsVersion::settle(other.version);
    std::pair<IndexSet, IndexSet> sets{theirs.getPoints(), theirs.getHandles()};
    if (other.version == version) {
        return sets;
    }
    SeShapePartsVersion::settle(version);
    if (!other.version->isRoot()) { // the sets came here from it: one family, read a copy
        SeShapePartsVersion::settle(other.version);
        IndexSet pointCopy = cloneSet(theirs.getPoints());
        sets = {std::move(pointCopy), cloneSet(theirs.getHandles())};
        SeShapePartsVersion::settle(version);
    }
    return sets;
}

RCShdPtr<SeShapeParts> SeShapeParts::withStep(bool points, bool insert, int index, int rank) const {
    const IndexSet &set = points ? readPoints() : readHandles();
    if (set->hasPart(index) == insert) {
        return RCShdPtr<SeShapeParts>(new SeShapeParts(*this));
    }
    // Should the parts fail to be made, the new version stays only as one these parts lean on.
    return RCShdPtr<SeShapeParts>(
        new SeShapeParts(insert ? SeShapePartsVersion::insert(version, points, index)
                                : SeShapePartsVersion::remove(version, points, index, rank)));
}

template class RCBasePtr<SeShapeParts>;
template class RCBasePtr<SeShapeParts const>;
template class RCShdPtr<SeShapeParts>;
template class RCShdPtr<SeShapeParts const>;

} // namespace Vo
