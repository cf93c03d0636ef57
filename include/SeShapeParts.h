#pragma once

#include "VoShapeExport.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnPartsBasic.h"

#include <cstddef>
#include <memory>
#include <ostream>
#include <utility>

namespace Vo {

class SeShapePartsVersion;

/// The selected parts of one shape: the selected point indices and, independently, the selected
/// gradient-handle indices, each an ordered index set of its own (selection order, each index
/// once). Owns both sets, or shares them with the parts made from it by the one-index operations
/// and the renumberings (see withPointAppended), one of which holds them at a time. Confined to the
/// editor's thread (plain count): even reading may move the sets.
///
/// An argument of the operations that take other parts counts only when it holds an SeShapeParts:
/// null or parts of another class make isEqual and the set operations return false and the replace
/// operations do nothing; contains is true for null and false for another class. No error is
/// raised for them. Sets are always visited points first, then handles.
class VO_SHAPE_API SeShapeParts : public SnParts {
public:
    /// Both sets new and empty, points first.
    SeShapeParts();
    /// Clones both sets through their virtual clone; the copy shares no set with other.
    /// Raises RCExCastFailed when a set's clone is not an SnPartsBasic<int>, RCExNullPtr when a set
    /// of other is null.
    /// \param other the parts copied
    SeShapeParts(const SeShapeParts &other);
    SeShapeParts &operator=(const SeShapeParts &) = delete;
    /// Releases the handles, then the points.
    ~SeShapeParts() noexcept override;

    /// A copy made by the copy constructor, count 0; same raises.
    SnParts *clone() const override;
    /// Points compared first; handles only when the points are equal. Order counts.
    /// \param other the parts compared, or null
    bool isEqual(const RCShdPtr<SnParts const> &other) const override;
    /// Each of other's sets is contained in this object's set; two empty sets count as contained.
    /// \param other the parts looked for, or null
    bool contains(const RCShdPtr<SnParts const> &other) const override;
    /// Whether both sets are empty.
    bool isEmpty() const override;
    ///@{
    /// Number of points plus number of handles; both sets emptied.
    int getSize() const override;
    void clear() override;
    ///@}
    /// Takes both of other's sets.
    /// \param other the parts copied, or null
    void replaceAllParts(const RCShdPtr<SnParts const> &other) override;
    ///@{
    /// Each applies the set operation to the points and then, always, to the handles; true when
    /// either changed.
    /// \param other the parts combined with these, or null
    bool unionWith(const RCShdPtr<SnParts const> &other) override;
    bool differenceWith(const RCShdPtr<SnParts const> &other) override;
    bool xorWith(const RCShdPtr<SnParts const> &other) override;
    ///@}
    /// The points set's text, then the handles set's text, with nothing of its own between them.
    /// \param stream the stream written to
    void dump(std::ostream &stream) const override;

    ///@{
    /// Point and handle twins. Indices are not range-checked. A negative reserve count counts as 0.
    /// Every one raises RCExNullPtr when its set is null (a copy of parts whose set cloned to
    /// null).
    /// \param index the point (handle) index appended, any int; one already there keeps its place
    void appendPoint(int index) { pointSet()->append(index); }
    void appendHandle(int index) { handleSet()->append(index); }
    ///@}
    ///@{
    /// Append first, first + 1, ..., first + number - 1 in that order, as number appends would,
    /// but a word of the membership bits at a time: what selecting all points or handles should
    /// use.
    /// \param first the first index appended
    /// \param number the number of indices; none when 0 or less, and the run stops at INT_MAX
    void appendPointRange(int first, int number) { pointSet()->appendRange(first, number); }
    void appendHandleRange(int first, int number) { handleSet()->appendRange(first, number); }
    ///@}
    ///@{
    /// Removes an index, the others keeping their order; an absent one changes nothing.
    /// \param index the point (handle) index removed
    void removePoint(int index) { pointSet()->remove(index); }
    void removeHandle(int index) { handleSet()->remove(index); }
    ///@}
    ///@{
    /// Whether the index is selected; O(1) on average.
    /// \param index the point (handle) index looked for
    bool hasPoint(int index) const { return readPoints()->hasPart(index); }
    bool hasHandle(int index) const { return readHandles()->hasPart(index); }
    ///@}
    ///@{
    /// Read without moving the sets (see the one-index operations below).
    bool isPointEmpty() const { return pointCount() == 0; }
    bool isHandleEmpty() const { return handleCount() == 0; }
    void clearPoints() { pointSet()->clear(); }
    void clearHandles() { handleSet()->clear(); }
    ///@}
    ///@{
    /// Room for number indices, assumed to be dense from 0.
    /// \param number the number of indices to hold; a negative number counts as 0
    void reservePoints(int number) { pointSet()->reserve(number); }
    void reserveHandles(int number) { handleSet()->reserve(number); }
    ///@}
    ///@{
    /// Room for number indices none of which is above largest: the set sizes its index once.
    /// \param number the number of indices to hold; a negative number counts as 0
    /// \param largest the largest of them
    void reservePoints(int number, int largest) { pointSet()->reserve(number, largest); }
    void reserveHandles(int number, int largest) { handleSet()->reserve(number, largest); }
    ///@}
    ///@{
    /// The set's indices in selection order; valid while this object lives, and follows its
    /// changes. Parts made from these by the one-index operations below (or these from them) take
    /// turns holding the indices: a reference read from one of them is valid until another is read.
    const Vector<int> &getPoints() const { return readPoints()->getParts(); }
    const Vector<int> &getHandles() const { return readHandles()->getParts(); }
    ///@}
    ///@{
    /// The index's 1-based position in selection order, 0 when absent; O(1) on average once the
    /// set's rank index is built (O(n), on the first call after a change of that set).
    /// \param index the point (handle) index looked for
    int getPointRank(int index) const { return readPoints()->getRank(index); }
    int getHandleRank(int index) const { return readHandles()->getRank(index); }
    ///@}
    ///@{
    /// New parts: these with index appended at the end of the points' (handles') order; an index
    /// already there gives an equal copy. These parts are unchanged, but the new ones take their
    /// sets over instead of copying them: the two hand the sets to whichever of them is read, one
    /// index step each way. O(1); reading parts made many such steps apart costs one step each.
    /// The way an editor changes one index.
    /// \param index the point (handle) index appended, any int
    RCShdPtr<SeShapeParts> withPointAppended(int index) const;
    RCShdPtr<SeShapeParts> withHandleAppended(int index) const;
    ///@}
    ///@{
    /// The same with index removed from the order (an absent index gives an equal copy): O(1) for
    /// the last index in the order, else one search and one move of the indices after its place.
    /// A caller that already found the index gives its rank, which saves the search; a rank that
    /// does not match the order is looked up again.
    /// \param index the point (handle) index removed, any int
    /// \param rank the index's 1-based place in the order (getPointRank, getHandleRank), or 0
    /// for unknown
    RCShdPtr<SeShapeParts> withPointRemoved(int index, int rank = 0) const;
    RCShdPtr<SeShapeParts> withHandleRemoved(int index, int rank = 0) const;
    ///@}
    ///@{
    /// Takes other's points (or handles) only; the other set stays.
    /// \param other the parts whose set is copied, or null
    void replaceAllPoints(const RCShdPtr<SnParts const> &other);
    void replaceAllHandles(const RCShdPtr<SnParts const> &other);
    ///@}
    ///@{
    /// New parts for the shape after the application inserted a point (handle) at `at`, or removed
    /// the one there: indices below `at` stay, the others move one up (down, the removed index
    /// leaving), in the same selection order; an index moved past INT_MAX wraps to INT_MIN. The
    /// other set is the same. This object is unchanged, but, as with the one-index operations
    /// above, the new parts take its sets over (unless an index would wrap: then they copy them):
    /// one pass over the indices, a vectorised add, each time either of the two is read after the
    /// other.
    /// \param at the index of the point (handle) the application inserted or removed
    /// \param added true for an insertion, false for a removal
    RCShdPtr<SeShapeParts> renumberedPoints(int at, bool added) const;
    RCShdPtr<SeShapeParts> renumberedHandles(int at, bool added) const;
    ///@}
    ///@{
    /// The same, for a caller that already found the removed index: rank is its 1-based place in
    /// the order, 0 when it is not there, which saves a search. A rank that does not match the
    /// order is looked up again.
    /// \param at the index of the point (handle) the application inserted or removed
    /// \param added true for an insertion, false for a removal
    /// \param rank the removed index's rank (getPointRank, getHandleRank); unread for an insertion
    RCShdPtr<SeShapeParts> renumberedPoints(int at, bool added, int rank) const;
    RCShdPtr<SeShapeParts> renumberedHandles(int at, bool added, int rank) const;
    ///@}

    /// Gradient-handle validators: bring a handle position (in point units along a curve of count
    /// points) back into the curve's range. The offset travels with the handle; only its sign
    /// changes, written 0 - offset so that a zero offset stays +0. The reduction behaves as
    /// repeated single-precision steps of the curve length (subtract while >= the length, then add
    /// while < 0), step-count parity included; it finishes promptly for every input: a NaN position
    /// passes through unchanged with no step, an infinite position becomes 0 with an even step
    /// count, and a position too large for single steps to reach the range is reduced exactly.
    ///
    /// count < 2: position 0, offset unchanged. Closed: as validateGradientHandleClosedCurve, then
    /// the offset changes sign unless keepOffsetSign, moved or not. Open (keepOffsetSign unread):
    /// the position reflects at both ends of [0, count - 1], the offset changing sign at each end
    /// passed.
    /// \param offset the handle's offset, changed in place
    /// \param position the handle's position in point units, changed in place
    /// \param count the number of points of the curve
    /// \param closed whether the curve is closed
    /// \param keepOffsetSign on a closed curve, whether the offset keeps its sign
    static void validateGradientHandlePosition(float &offset, float &position, int count,
                                               bool closed, bool keepOffsetSign);
    /// count < 2: position 0. Otherwise the position wraps into [0, count): a tiny negative
    /// position whose sum with count rounds up to count gives 0.
    /// \param position the handle's position in point units, changed in place
    /// \param count the number of points of the curve
    static void validateGradientHandleClosedCurve(float &position, int count);
    /// count < 1: position 0, offset unchanged. Otherwise the position is reduced modulo 2 * count
    /// into [-count, count); then a negative offset changes sign and so does the position, so the
    /// offset is never negative afterwards.
    /// \param offset the handle's offset, changed in place
    /// \param position the handle's position in point units, changed in place
    /// \param count the number of points of the curve
    static void validateGradientHandleOpenedCurve(float &offset, float &position, int count);

private:
    using IndexSet = RCShdPtr<SnPartsBasic<int>>;
    using SetOperation = bool (SnParts::*)(const RCShdPtr<SnParts const> &);

    ///@{
    /// Parts standing for the given version.
    explicit SeShapeParts(std::shared_ptr<SeShapePartsVersion> shared) noexcept;
    std::size_t pointCount() const;
    std::size_t handleCount() const;
    RCShdPtr<SeShapeParts> renumbered(bool points, int at, bool added, int rank) const;
    ///@}
    ///@{
    /// The sets, brought to these parts for reading.
    const IndexSet &readPoints() const;
    const IndexSet &readHandles() const;
    ///@}
    ///@{
    /// The sets, brought here and no longer shared with other parts, for a change.
    const IndexSet &pointSet();
    const IndexSet &handleSet();
    void ownSets();
    ///@}
    ///@{
    /// Other's sets, to be read together with this object's: a copy when other is of the same
    /// family of versions (both cannot hold the sets at once).
    std::pair<IndexSet, IndexSet> setsBeside(const SeShapeParts &other) const;
    RCShdPtr<SeShapeParts> withStep(bool points, bool insert, int index, int rank) const;
    ///@}

    ///@{
    /// other as an SeShapeParts held for the call; null when it is null or of another class.
    static RCShdPtr<SeShapeParts const> asShapeParts(const RCShdPtr<SnParts const> &other);
    static IndexSet cloneSet(const IndexSet &set);
    static bool containsSet(const IndexSet &mine, const IndexSet &theirs);
    bool applyToBoth(const RCShdPtr<SnParts const> &other, SetOperation operation);
    ///@}

    /// These parts' version in the family that shares their sets (one family per parts unless
    /// made by the one-index operations).
    mutable std::shared_ptr<SeShapePartsVersion> version;
};

extern template class RCBasePtr<SeShapeParts>;
extern template class RCBasePtr<SeShapeParts const>;
extern template class RCShdPtr<SeShapeParts>;
extern template class RCShdPtr<SeShapeParts const>;

} // namespace Vo
