#pragma once

#include "SeShapeInterface.h"
#include "VoShapeExport.h"

#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"

#include <cstddef>
#include <cstdint>

namespace Vo {

class SeShapeSelector;

/// What the last change of a selector's selection object was, for views that update by what changed
/// rather than read everything again (as a toolkit's selection model passes selected and deselected
/// to its signal): the shapes whose items came and went and their places, the primary shape before
/// and after, and, when the primary shape's points or handles changed by single indices, those
/// indices; or a renumbering of one shape's parts. Read it from a callback of the change
/// (SeShapeSelector::getLastChange); it stays until the next change. Holds the shapes weakly.
///
/// Applying a change: take out the items at getPlacesRemoved(), from the last place to the first,
/// then put getShapesAdded() in at getPlacesAdded(), from the first place to the last; the other
/// items keep their order. An item whose shape stays but whose parts change is taken out and put
/// in again at its place, except the primary item whose parts change alone (arePartsChanged).
///
/// Which changes are described and which read isWhole (read the selection again):
/// - a splice (one run of items gave way to another: the one-item operations, a list passed in
///   that keeps a run of the selected items at either end, a restore of one stretch, the
///   application's one-item change mirrored) is described whatever its size;
/// - a change of the whole list that the selector writes itself (selectAllShapes into an empty
///   selection, resetSelection, setPrimarySelectedShape, setSelectedShapes, replaceAllItems, a
///   batch's commit, a history's restore) is described when it is small: its places, found past
///   the ends the lists share, number at most getSmallLimit. Finding them costs a walk of the
///   lists, which such a change makes anyway;
/// - a change of the whole list made elsewhere (the application's selection mirrored in full, a
///   caller writing getSelection() itself), a large one, and one whose description failed (an
///   item of another class, memory) are whole.
/// A renumbering that changes the selection is a change of its own, and says so (isRenumbering). An
/// operation that is refused leaves the last change as it was; so does a batch that is abandoned,
/// unless the application's reports it applies anyway (see SeSelectionBatch) change the selection.
///
/// Example (docs/examples/selecting.cpp): a view following one change from its callback.
/// \snippet selecting.cpp last-change
class VO_SHAPE_API SeSelectionChange {
public:
    SeSelectionChange();
    ///@{
    /// Copies share the index lists.
    SeSelectionChange(const SeSelectionChange &);
    SeSelectionChange &operator=(const SeSelectionChange &);
    SeSelectionChange(SeSelectionChange &&) noexcept;
    SeSelectionChange &operator=(SeSelectionChange &&) noexcept;
    ~SeSelectionChange();

    /// Whether the change is told only as whole: read the selection again.
    bool isWhole() const noexcept { return whole; }
    ///@{
    /// The selection's revisions around the change (SnSelection::getRevision): a view that keeps
    /// what it showed at getRevisionBefore() may apply this change to it.
    std::uint64_t getRevisionBefore() const noexcept { return revisionBefore; }
    std::uint64_t getRevisionAfter() const noexcept { return revisionAfter; }
    /// Shapes whose items left or came, in selection order; the primary shape whose parts changed
    /// alone is in neither.
    const Vector<RCWeakPtr<SeShapeInterface>> &getShapesRemoved() const noexcept { return removed; }
    const Vector<RCWeakPtr<SeShapeInterface>> &getShapesAdded() const noexcept { return added; }
    /// Their places, one per shape, ascending: for a removed one its place in the selection before
    /// the change, for an added one its place after it.
    const Vector<int> &getPlacesRemoved() const noexcept { return placesRemoved; }
    const Vector<int> &getPlacesAdded() const noexcept { return placesAdded; }
    /// How many places (removed and added together) a change of the whole list between lists of
    /// these sizes may have and still be described: 64, or a quarter of the longer list if more.
    /// \param sizeBefore, sizeAfter the numbers of shapes selected before and after the change
    static std::size_t getSmallLimit(std::size_t sizeBefore, std::size_t sizeAfter) noexcept;
    /// Null when nothing was (is) selected. For a whole change, the primary shape after the change
    /// read before it (null when this selector saw none: its first change, or one after a reading
    /// that failed).
    const RCWeakPtr<SeShapeInterface> &getPrimaryBefore() const noexcept { return primaryBefore; }
    const RCWeakPtr<SeShapeInterface> &getPrimaryAfter() const noexcept { return primaryAfter; }
    /// The primary shape stayed and its points or handles changed: by the indices listed below, or,
    /// when arePartsRewritten(), otherwise (read them again; a renumbering that renumbered the
    /// primary item reads so too, for views that do not follow renumberings).
    bool arePartsChanged() const noexcept { return partsChanged; }
    bool arePartsRewritten() const noexcept { return partsRewritten; }
    const Vector<int> &getPointsAdded() const noexcept { return pointsAdded; }
    const Vector<int> &getPointsRemoved() const noexcept { return pointsRemoved; }
    const Vector<int> &getHandlesAdded() const noexcept { return handlesAdded; }
    const Vector<int> &getHandlesRemoved() const noexcept { return handlesRemoved; }
    /// The application inserted an index at (removed one from) getRenumberedIndex() of the points
    /// (when areRenumberedPoints(), else the handles) of getRenumberedShape(): in every selected
    /// item of that shape with parts, the indices from it up moved one up (the removed one left,
    /// those above it moved one down), as SeShapeSelector::updateSelectionPointAdded says. The
    /// change lists the items it renumbered as any change of parts does (the primary one's parts
    /// read as rewritten, the others taken out and put in again at their places), for views that
    /// do not follow renumberings; a view that does may apply the renumbering to the items it
    /// shows instead of reading their parts. Inside a batch, a renumbering is part of the batch's
    /// change instead.
    bool isRenumbering() const noexcept { return renumbering; }
    const RCWeakPtr<SeShapeInterface> &getRenumberedShape() const noexcept { return renumbered; }
    bool areRenumberedPoints() const noexcept { return renumberedPoints; }
    int getRenumberedIndex() const noexcept { return renumberedIndex; }
    bool isRenumberingInsertion() const noexcept { return renumberedInsertion; }

private:
    friend class SeShapeSelector;

    bool whole = true;
    std::uint64_t revisionBefore = 0;
    std::uint64_t revisionAfter = 0;
    Vector<RCWeakPtr<SeShapeInterface>> removed;
    Vector<RCWeakPtr<SeShapeInterface>> added;
    Vector<int> placesRemoved;
    Vector<int> placesAdded;
    RCWeakPtr<SeShapeInterface> primaryBefore;
    RCWeakPtr<SeShapeInterface> primaryAfter;
    bool partsChanged = false;
    bool partsRewritten = false;
    Vector<int> pointsAdded;
    Vector<int> pointsRemoved;
    Vector<int> handlesAdded;
    Vector<int> handlesRemoved;
    bool renumbering = false;
    RCWeakPtr<SeShapeInterface> renumbered;
    bool renumberedPoints = true;
    int renumberedIndex = 0;
    bool renumberedInsertion = false;
};

} // namespace Vo
