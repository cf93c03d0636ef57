#pragma once

#include "SeSelectionHistory.h"

#include "foundation/CbMethod.h"
#include "foundation/ChunkedList.h"
#include "foundation/RCShdPtr.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

namespace Vo {

// What a SeSelectionHistory keeps behind its one pointer: the steps, the current state, the log of
// renumberings they follow, and how a change is recorded and a step restored. Owned by the history,
// whose observer it attaches to the selection; borrows the selector like the history.
class SeSelectionHistoryPrivate {
public:
    explicit SeSelectionHistoryPrivate(SeSelectionHistory &owner);

    // The history's public calls, as it describes them.
    void attach(const RCShdPtr<SeShapeSelector> &selector);
    void detach() noexcept;
    bool isAttached() const noexcept {
        return selector != nullptr && renumberings.getNbDispatchers() != 0;
    }
    void clear() noexcept;
    void setDepth(int depth);
    int getDepth() const noexcept { return depth; }
    std::size_t getNbUndoSteps() const noexcept { return isAttached() ? cursor : 0; }
    std::size_t getNbRedoSteps() const noexcept { return isAttached() ? steps.size() - cursor : 0; }
    std::size_t getNbStoredItems() const noexcept;
    void update(const ObHints &hints);
    bool travel(bool back);

private:
    using ItemPtr = RCShdPtr<SnItem const>;
    using Items = std::vector<ItemPtr>;
    // One recorded change: from position `at`, the items `before` became `after`; its items follow
    // the renumberings numbered below `renumbered`.
    struct Step {
        std::size_t at;
        Items before;
        Items after;
        std::uint64_t renumbered;
    };
    // What recording the last change dropped, kept until that change is known to stand: a change
    // that is put back after a fault takes them back.
    struct Dropped {
        std::vector<Step> redo;
        std::vector<Step> oldest;
    };

    // Renumbers the kept states' items as the selector renumbers its own.
    void renumber(const SeShapeSelector::Renumbering &renumbering);
    // Detaches when the selector went while its selection lives on elsewhere; false then.
    bool checkAttached() noexcept;
    void record();
    bool followLeavingGone();
    void recordSplice(const SnSelectionChangeHint &change);
    void addStep(Step step);
    void forgetFailedCommit(const SnSelectionChangeHint *change);
    void forgetSteps() noexcept;
    void resynchronise();
    // undo or redo by splices; false, with nothing done, when the history cannot tell that way.
    bool travelBySplice(bool back, bool &travelled);
    void restore(const RCShdPtr<SnSelection> &restored);
    // Bring the step's items (the current state's) along the renumberings not followed yet.
    void catchUp(Step &step);
    void catchUpState();
    // Takes the selector's renumbered primary item into the state when the change is the
    // renumbering itself, instead of renumbering the state's own; false, with nothing done,
    // otherwise.
    bool takeRenumbered(const SnSelectionChangeHint *change);
    void forgetOldRenumberings() noexcept;
    // Drops steps beyond the depth; the oldest dropped go to `oldest` (room reserved) when given.
    void trim(std::vector<Step> *oldest = nullptr) noexcept;
    void takeBackDropped();
    void releaseDropped() noexcept;
    void releaseSome(std::size_t budget) noexcept;
    static void apply(Items &items, const Step &step, bool back);
    static RCShdPtr<SnSelection> withoutGoneShapes(const Items &items,
                                                   std::vector<const SnItem *> &leftOut);
    static bool isGone(const ItemPtr &item) noexcept;
    void adoptState(Items &&items);

    // The state's items from `at`: `count` of them give way to [first, last); the count of items
    // with parts follows.
    template <class It> void spliceState(std::size_t at, std::size_t count, It first, It last) {
        const std::size_t leaving = countParts(state.iteratorAt(at), state.iteratorAt(at + count));
        state.splice(at, count, first, last);
        stateParts = stateParts - leaving + countParts(first, last);
    }
    template <class It> static std::size_t countParts(It first, It last) noexcept {
        return static_cast<std::size_t>(
            std::count_if(first, last, [](const ItemPtr &item) { return item->hasParts(); }));
    }
    // The same objects, in the same order.
    template <class List> static bool isSame(const List &items, const SnSelection &other) noexcept {
        return static_cast<int>(items.size()) == other.getNbItems() &&
               std::equal(items.begin(), items.end(), other.begin(),
                          [](const ItemPtr &a, const ItemPtr &b) { return a.get() == b.get(); });
    }
    // Equal items (SnItem::isEqual), maybe other objects.
    template <class It, class Other> static bool isEqualRange(It first, It last, Other other) {
        return std::equal(first, last, other,
                          [](const ItemPtr &a, const ItemPtr &b) { return a->isEqual(*b); });
    }

    // The history whose observer this state attaches.
    SeSelectionHistory &owner;
    SeShapeSelector *selector = nullptr;
    // Held, so that it stays observable until the history notices that the selector went.
    RCShdPtr<SnSelection> selection;
    // Linked to the selector's renumbering list while it lives: its dispatcher unlinks it when the
    // selector goes.
    CbMethod<SeSelectionHistoryPrivate, SeShapeSelector::Renumbering const> renumberings;
    ChunkedList<SnItem const> state;
    std::deque<Step> steps;
    std::size_t cursor = 0;
    int depth = SeSelectionHistory::defaultDepth;
    bool restoring = false;
    Dropped dropped;
    // The items of steps no longer kept, given back a few per recorded change (releaseSome): the
    // step of a whole change, dropped all at once, would make the next one-item change cost the
    // whole selection.
    std::vector<Items> releasing;
    // True after a change could not be recorded: state no longer matches the selection.
    bool lost = false;
    // The selection's revision that `state` shows; 0 when unknown.
    std::uint64_t stateRevision = 0;
    // The gone items the last full restore left out of the selection, sorted: the state keeps them
    // (its steps count them in their positions), the selection never holds them again.
    std::vector<const SnItem *> leftOut;
    // The selection's revision after the change the last step recorded.
    std::uint64_t recordedRevision = 0;
    // The revision of the restore being written, as its own notification tells.
    std::uint64_t restoredRevision = 0;
    // The renumberings the kept steps follow lazily, numbered from `renumberingBase`.
    std::deque<SeShapeSelector::Renumbering> renumberingLog;
    std::uint64_t renumberingBase = 0;
    // The renumberings numbered below this one are in `state` (inside a batch it lags behind, and
    // outside one until the selector's renumbered item arrives: see takeRenumbered).
    std::uint64_t stateRenumbered = 0;
    // The state's primary item was the selection's when the renumberings it lags behind came.
    bool renumberedBySelector = false;
    // Items of `state` with parts: beside the primary one, they make a renumbering walk the state.
    std::size_t stateParts = 0;
};

} // namespace Vo
