#pragma once

#include "SeScopedValue.h"
#include "SeSelectionChange.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "foundation/CbDispatcher.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/ObObserver.h"
#include "host/selection/Sn.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnItemRun.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace Vo {

class SeAliveShapes;
class SeSelectedKeys;

// What a SeShapeSelector keeps behind its one pointer, and the work of its operations: the open
// batch, the put-back after a refused write, the description of the last change, the key table and
// the knowledge of which shapes live, and the selector's own observer of its selection, which
// keeps them along. Owned by the selector; reaches the selector's own fields (its selection and
// its three callback lists) through references to them. Its sources: the shape operations
// (SeShapeSelectorShapes.cpp), the writes (SeShapeSelectorWrites.cpp), the description of changes
// (SeShapeSelectorChanges.cpp), points and handles (SeShapeSelectorParts.cpp), renumberings
// (SeShapeSelectorRenumbering.cpp) and batches (SeSelectionBatch.cpp).
class SeShapeSelectorPrivate {
public:
    using PartsChange = SeShapeSelector::PartsChange;
    using Renumbering = SeShapeSelector::Renumbering;

    explicit SeShapeSelectorPrivate(SeShapeSelector &owner);
    SeShapeSelectorPrivate(const SeShapeSelectorPrivate &) = delete;
    SeShapeSelectorPrivate &operator=(const SeShapeSelectorPrivate &) = delete;
    ~SeShapeSelectorPrivate();

    // The selector's operations, as it describes them.
    void addSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void removeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void notifySelectionChangedCallbacks() const;
    void addShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void removeShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void notifyShapeSelectionChangedCallbacks() const;
    void addPrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void removePrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const;
    void notifyPrimarySelectionChangedCallbacks() const;
    void replaceAllItems(const RCShdPtr<SnSelection const> &items);
    void resetSelection();
    int getNbSelectedShape() const;
    void getSelectedShapeInterfaces(Vector<RCWeakPtr<SeShapeInterface>> &shapes) const;
    void getSelectedShapes(Vector<RCShdPtr<SeShape>> &shapes) const;
    bool isShapeSelected(const RCShdPtr<SeShape> &shape) const;
    RCWeakPtr<SeShapeInterface> getPrimarySelectedShapeInterface() const;
    RCShdPtr<SeShape> getPrimarySelectedShape() const;
    void setSelectedShapes(const Vector<RCShdPtr<SeShape>> &shapes);
    void selectAllShapes(Iterator<RCShdPtr<SeShape>> &shapes);
    void setPrimarySelectedShape(const RCShdPtr<SeShape> &shape, int pointIndex);
    void addSelectedShape(const RCShdPtr<SeShape> &shape);
    void unselectShape(const RCShdPtr<SeShape> &shape);
    void setShapeParts(const RCShdPtr<SeShape> &shape, const Vector<int> *points,
                       const Vector<int> *handles);
    void selectPoint(int index);
    void selectHandle(int index);
    void selectPoints(const Vector<int> &indices);
    void selectHandles(const Vector<int> &indices);
    void selectAllPoints(int count);
    void selectAllHandles(int count);
    void selectNextPoint(int count);
    void selectNextHandle(int count);
    void selectPreviousPoint(int count);
    void selectPreviousHandle(int count);
    void unselectPoints();
    void unselectHandles();
    void addSelectedPoint(int index);
    void unselectPoint(int index);
    void addSelectedHandle(int index);
    void unselectHandle(int index);
    void getSelectedPoints(Vector<int> &points) const;
    void getSelectedHandles(Vector<int> &handles) const;
    void getOrderedSelectedPoints(Set<int, std::less<int>> &points) const;
    void getOrderedSelectedHandles(Set<int, std::less<int>> &handles) const;
    int getPointSelectionRank(int index) const;
    int getHandleSelectionRank(int index) const;
    void updateSelectionPointAdded(const RCWeakPtr<SeShapeInterface> &shape, int index);
    void updateSelectionPointDeleted(const RCWeakPtr<SeShapeInterface> &shape, int index);
    void updateSelectionHandleAdded(const RCWeakPtr<SeShapeInterface> &shape, int index);
    void updateSelectionHandleDeleted(const RCWeakPtr<SeShapeInterface> &shape, int index);
    void removeSelectedShape(int shapeId);
    bool isBatchOpen() const noexcept { return batch != nullptr; }
    RCShdPtr<SnSelection const> getCurrentSelection() const;
    const RCShdPtr<SnSelection const> &getCommitOrigin() const noexcept { return commitOrigin; }
    bool isRestoringAfterFault() const noexcept { return restoringAfterFault; }
    bool isAbandoningBatch() const noexcept { return abandoningBatch; }
    void restoreSelection(const RCShdPtr<SnSelection const> &items);
    void restoreRange(int position, int count, const Vector<RCShdPtr<SnItem const>> &items);
    void addRenumberingCallback(CbHandler<Renumbering const> *handler) const;
    void removeRenumberingCallback(CbHandler<Renumbering const> *handler) const;
    static RCShdPtr<SnItem const> renumberedItem(const RCShdPtr<SnItem const> &item,
                                                 const Renumbering &renumbering);
    const PartsChange &getLastPartsChange() const noexcept { return partsChange; }
    bool areShapesKnownAlive() const noexcept;
    bool lookAtShapesAlive() const;
    const SeSelectionChange &getLastChange() const noexcept { return lastChange; }

    // Batches (SeSelectionBatch.cpp): opened and ended by SeSelectionBatch.
    void beginBatch();
    // Ends one level; the outermost commits unless `keep` is false or the batch was cancelled.
    void endBatch(bool keep);
    void cancelBatch() noexcept;

    // For the updater's walk over the whole selection, which reads every selected shape anyway: a
    // key table to fill for the selection as it is now, or null when the selector has one (or a
    // batch is open); adoptKeys takes it once filled, if the selection is still as it was.
    std::unique_ptr<SeSelectedKeys> keysToFill() const;
    void adoptKeys(std::unique_ptr<SeSelectedKeys> keys) const noexcept;
    // Whether every selected shape is alive, known while none of them ends; kept by watch.
    SeAliveShapes &getAliveShapes() const noexcept { return *aliveShapes; }

private:
    struct BatchState;
    struct PartsChannel;
    struct PrimaryShape;
    static const PartsChannel pointsChannel;
    static const PartsChannel handlesChannel;

    // The selection the operations read and change: the working one inside a batch, with the
    // removals received so far applied.
    SnSelection &current() const;
    void settleRemovals() const;
    void abandon(BatchState &ended) noexcept;
    void replayEdits(BatchState &ended) noexcept;
    // Marks the change being written as announced, then runs the list.
    void announce(CbDispatcher<CbEmptyType> &list) const;
    // Which errors of a write put the old items back: an index without element only, or any
    // error raised before the change was announced.
    enum class PutBack { onMissingElement, beforeAnnouncement };
    // Hands `items`, which differ, to the selection object, putting the old items back by `rule`;
    // showOrigin lets the observers read the old items (getCommitOrigin) meanwhile.
    void write(const RCShdPtr<SnSelection const> &items, PutBack rule, bool showOrigin);

    bool findPrimaryShape(PrimaryShape &primary) const;
    RCShdPtr<SeShapeParts> copyParts(const SnItem &item) const;
    static RCShdPtr<SeShapeParts> partsWithout(const PartsChannel &channel,
                                               const RCShdPtr<SeShapeParts const> &current);
    // Makes parts the item's (the primary one's, but for setShapeParts), unless equal; `change`,
    // when given, describes how (see PartsChange) to the observers of that change.
    void install(const PrimaryShape &primary, const RCShdPtr<SnParts> &parts,
                 const PartsChange *change = nullptr);
    // Takes the result over: a whole list goes in without a copy of its items.
    void commit(RCShdPtr<SnSelection> result);
    bool spliceIn(const SnSelection &result);
    // A pointer handed over (moved in, the only holder) gives its items up.
    void handOver(RCShdPtr<SnSelection const> items);
    // `start`: the selection object's revision before the write that is put back.
    template <class Restore> void putBack(std::uint64_t start, Restore restore) noexcept;
    void collectShapes(Vector<RCWeakPtr<SeShapeInterface>> &shapes) const;
    const SeSelectedKeys &keysOf(const SnSelection &items) const;
    // The first selected item of a shape equal to shape; null when there is none. `place`, when
    // given, receives where it was last known to sit (see SeSelectedKeys::Found).
    RCShdPtr<SnItem const> findSelectedItem(const RCShdPtr<SeShape> &shape,
                                            std::size_t *place = nullptr) const;
    static RCShdPtr<SnItem const> firstEqualAlive(const SnSelection &items, const SeShape &shape);

    void selectIndex(const PartsChannel &channel, int index);
    void selectIndices(const PartsChannel &channel, const Vector<int> &indices);
    void selectAll(const PartsChannel &channel, int count);
    void selectNeighbour(const PartsChannel &channel, int count, bool forward);
    void unselect(const PartsChannel &channel);
    void addSelectedIndex(const PartsChannel &channel, int index);
    void unselectIndex(const PartsChannel &channel, int index);
    const Vector<int> *selectedIndices(const PartsChannel &channel) const;
    int selectionRank(const PartsChannel &channel, int index) const;
    void renumber(const PartsChannel &channel, const RCWeakPtr<SeShapeInterface> &shape, int index,
                  bool added);
    void renumberSelection(const PartsChannel &channel, const RCWeakPtr<SeShapeInterface> &shape,
                           int index, bool added);
    void renumberEveryItem(const PartsChannel &channel, const RCWeakPtr<SeShapeInterface> &shape,
                           int index, bool added);
    bool hasPartsBeyondPrimary() const;
    // The 1-based place of index in the order, by a walk of the plain vector; 0 when absent.
    static int rankByWalk(const Vector<int> &order, int index);
    void followPartsTally(const SnSelectionChangeHint &change) noexcept;

    void describe(const SnSelectionChangeHint &change) noexcept;
    void describeRenumbering() noexcept;
    void describeForeseen() noexcept;
    // Fills `into` with how the items `gone`, from `position`, gave way to `come`; false when that
    // takes more than `limit` places.
    bool describeDelta(SeSelectionChange &into, int position, SnItemRun gone, SnItemRun come,
                       std::size_t limit) const;
    void describeParts(SeSelectionChange &into, const SnItem *before, const SnItem *after) const;
    RCWeakPtr<SeShapeInterface> primaryBefore(const SnSelectionChangeHint &change) const;
    // Describes, while the lists are at hand, the change of the whole list to `after` about to be
    // written, when it is small (see SeSelectionChange).
    void foresee(const SnSelection &after) noexcept;

    // The selector's own fields, which stay where its users expect them.
    CbDispatcher<CbEmptyType> &primarySelectionChangedDispatcher;
    CbDispatcher<CbEmptyType> &shapeSelectionChangedDispatcher;
    CbDispatcher<CbEmptyType> &selectionChangedDispatcher;
    RCShdPtr<SnSelection> &selection;

    mutable CbDispatcher<Renumbering const> renumberingDispatcher;
    std::unique_ptr<BatchState> batch;
    RCShdPtr<SnSelection const> commitOrigin;
    bool restoringAfterFault = false;
    bool abandoningBatch = false;
    // Set by the notify operations: the change being written was announced, and stands.
    mutable bool announced = false;
    PartsChange partsChange;
    // The selected shapes by identity key, read by the updater's walk after a whole change (else
    // at the first look-up) and carried along splices by watch, the selection's first observer.
    mutable std::unique_ptr<SeSelectedKeys> selectedKeys;
    std::unique_ptr<SeAliveShapes> aliveShapes;
    SeSelectionChange lastChange;
    // How many items of one list (the selection, or a batch's working one) have parts, at one of
    // its revisions: read once after a whole change, carried along splices by watch, so that a
    // renumbering knows at once whether items other than the primary one need it.
    struct PartsTally {
        const SnSelection *list = nullptr;
        std::uint64_t revision = 0;
        std::size_t count = 0;
    };
    mutable PartsTally partsTally;
    // The selector's own observer of its selection: carries the key table along and describes
    // each change, before any other observer hears of it.
    struct Watch : ObObserver<Sn> {
        explicit Watch(SeShapeSelectorPrivate &owner) noexcept : selector(owner) {}
        void update(ObSubject<Sn> *subject, const ObHints &hints) override;
        SeShapeSelectorPrivate &selector;
    };
    Watch watch{*this};
    static constexpr std::uint64_t kNoRevision = UINT64_MAX;
    // The change described before lastChange, put back with the selection after a refused write.
    SeSelectionChange previousChange;
    // The primary shape after the last change described, and the revision that change led to.
    RCWeakPtr<SeShapeInterface> shownPrimary;
    std::uint64_t shownRevision = kNoRevision;
    // What describe takes for the change that leaves from revision foreseenFrom (a whole write) or
    // renumberingFrom (a renumbering being written); kNoRevision when none is being written.
    SeSelectionChange foreseen;
    std::uint64_t foreseenFrom = kNoRevision;
    Renumbering renumbering{};
    std::uint64_t renumberingFrom = kNoRevision;
};

// An open batch: the working selection the operations read and change, the removal events
// received since it was last read (shape id to number of events), applied at the next read, and
// all those received since it opened, which still apply when the batch is abandoned.
struct SeShapeSelectorPrivate::BatchState {
    // An insertion or removal of a point or handle that the application reported.
    struct Edit {
        const PartsChannel *channel;
        RCWeakPtr<SeShapeInterface> shape;
        int index;
        bool added;
    };
    RCShdPtr<SnSelection> working;
    std::vector<Edit> edits;
    std::unordered_map<int, int> removals;
    std::unordered_map<int, int> received;
    int depth = 0;
    bool cancelled = false;
    // The working selection was replaced wholesale (the application's selection mirrored in, or
    // its own write): an abandon must bring the application's selection back in step.
    bool replaced = false;
};

// The point or handle side of an SeShapeParts: the twin operations differ only
// in the set they use.
struct SeShapeSelectorPrivate::PartsChannel {
    void (*append)(SeShapeParts &, int);
    void (*appendRange)(SeShapeParts &, int first, int count);
    void (*reserve)(SeShapeParts &, int count);
    // Gives `parts` the other side's set of `from`.
    void (*takeOtherSide)(SeShapeParts &parts, const RCShdPtr<SnParts const> &from);
    // New parts with the index appended or removed, taking the sets over (see withPointAppended).
    RCShdPtr<SeShapeParts> (*withAppended)(const SeShapeParts &, int);
    // rank: the removed index's rank, found already.
    RCShdPtr<SeShapeParts> (*withRemoved)(const SeShapeParts &, int, int rank);
    bool (*has)(const SeShapeParts &, int);
    const Vector<int> &(*indices)(const SeShapeParts &);
    bool (*isEmpty)(const SeShapeParts &);
    int (*rank)(const SeShapeParts &, int index);
    // rank: where at was found in the order (see SeShapeParts::renumberedPoints); -1 unknown.
    RCShdPtr<SeShapeParts> (*renumbered)(const SeShapeParts &, int at, bool added, int rank);
    bool points;
};

// The primary item, held for the length of an operation, and its shape's weak
// pointer.
struct SeShapeSelectorPrivate::PrimaryShape {
    RCShdPtr<SnItem const> item;
    RCWeakPtr<SeShapeInterface> shape;
};

// The put-back protocol: `restore` hands the old items back to the selection object while
// isRestoringAfterFault() reads true, so that its observers take the write as no change (the
// updater mirrors it without callbacks, a history forgets the step it recorded). Only the first
// error is reported, so a failing put-back raises nothing of its own. The last change described
// is the one before the failed write again, when nothing else came between.
template <class Restore>
void SeShapeSelectorPrivate::putBack(std::uint64_t start, Restore restore) noexcept {
    const SeScopedValue<bool> puttingBack(restoringAfterFault, true);
    foreseenFrom = kNoRevision;
    renumberingFrom = kNoRevision;
    const std::uint64_t now = selection->getRevision();
    const bool described = now != start && lastChange.getRevisionBefore() == start &&
                           lastChange.getRevisionAfter() == now;
    const bool keep = described || now == start;
    SeSelectionChange kept = !keep       ? SeSelectionChange()
                             : described ? std::move(previousChange)
                                         : std::move(lastChange);
    try {
        restore();
    } catch (...) { // NOLINT(bugprone-empty-catch): the first error is the one reported
    }
    if (keep) {
        lastChange = std::move(kept);
    }
}

} // namespace Vo
