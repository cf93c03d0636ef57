#pragma once

#include "SeShapeInterface.h"
#include "VoShapeExport.h"

#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"

#include <cstdint>

namespace Vo {

class SeShapeSelector;

/// What the last change of a selector's selection object was, for views that update by what changed
/// rather than read everything again (as a toolkit's selection model passes selected and deselected
/// to its signal): the shapes whose items came and went, the primary shape before and after, and,
/// when the primary shape's points or handles changed by single indices, those indices. Read it
/// from a callback of the change (SeShapeSelector::getLastChange); it stays until the next change.
/// Holds the shapes weakly. A change the selection reports as a whole (a batch's commit, a list of
/// shapes passed in that keeps none of the selected ones at either end, the application's selection
/// written in full) reads isWhole: read the selection again.
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
    ///@}
    ~SeSelectionChange();

    /// Whether the change is told only as whole: read the selection again.
    bool isWhole() const noexcept { return whole; }
    ///@{
    /// The selection's revisions around the change (SnSelection::getRevision): a view that keeps
    /// what it showed at getRevisionBefore() may apply this change to it.
    std::uint64_t getRevisionBefore() const noexcept { return revisionBefore; }
    std::uint64_t getRevisionAfter() const noexcept { return revisionAfter; }
    ///@}
    ///@{
    /// Shapes whose items left or came, in selection order; a shape whose parts changed in place is
    /// in neither.
    const Vector<RCWeakPtr<SeShapeInterface>> &getShapesRemoved() const noexcept { return removed; }
    const Vector<RCWeakPtr<SeShapeInterface>> &getShapesAdded() const noexcept { return added; }
    ///@}
    ///@{
    /// Null when nothing was (is) selected. For a whole change, the primary shape after the change
    /// read before it (null when this selector saw none: its first change, or one after a reading
    /// that failed).
    const RCWeakPtr<SeShapeInterface> &getPrimaryBefore() const noexcept { return primaryBefore; }
    const RCWeakPtr<SeShapeInterface> &getPrimaryAfter() const noexcept { return primaryAfter; }
    ///@}
    ///@{
    /// The primary shape stayed and its points or handles changed: by the indices listed below, or,
    /// when arePartsRewritten(), otherwise (read them again).
    bool arePartsChanged() const noexcept { return partsChanged; }
    bool arePartsRewritten() const noexcept { return partsRewritten; }
    const Vector<int> &getPointsAdded() const noexcept { return pointsAdded; }
    const Vector<int> &getPointsRemoved() const noexcept { return pointsRemoved; }
    const Vector<int> &getHandlesAdded() const noexcept { return handlesAdded; }
    const Vector<int> &getHandlesRemoved() const noexcept { return handlesRemoved; }
    ///@}

private:
    friend class SeShapeSelector;

    bool whole = true;
    std::uint64_t revisionBefore = 0;
    std::uint64_t revisionAfter = 0;
    Vector<RCWeakPtr<SeShapeInterface>> removed;
    Vector<RCWeakPtr<SeShapeInterface>> added;
    RCWeakPtr<SeShapeInterface> primaryBefore;
    RCWeakPtr<SeShapeInterface> primaryAfter;
    bool partsChanged = false;
    bool partsRewritten = false;
    Vector<int> pointsAdded;
    Vector<int> pointsRemoved;
    Vector<int> handlesAdded;
    Vector<int> handlesRemoved;
};

} // namespace Vo
