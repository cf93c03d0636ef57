// The selector's public face: its construction, its picking state and its selection object, each
// operation handing over to SeShapeSelectorPrivate, which does the work.

#include "SeShapeSelector.h"

#include "SeShapeSelectorPrivate.h"

#include <memory>

namespace Vo {

RCShdPtr<SeShapeSelector> SeShapeSelector::create() {
    return RCShdPtr<SeShapeSelector>(new SeShapeSelector);
}

SeShapeSelector::SeShapeSelector()
    : pickingType(PickingType(0)), pickingIndex(-1), pickingExtremity(-1),
      selection(SnSelection::create()), d(std::make_unique<SeShapeSelectorPrivate>(*this)) {}

SeShapeSelector::~SeShapeSelector() {
    selection = RCShdPtr<SnSelection>(); // first: the dispatchers go after it, in member order
}

void SeShapeSelector::addSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    d->addSelectionChangedCallback(handler);
}

void SeShapeSelector::removeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    d->removeSelectionChangedCallback(handler);
}

void SeShapeSelector::notifySelectionChangedCallbacks() const {
    d->notifySelectionChangedCallbacks();
}

void SeShapeSelector::addShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    d->addShapeSelectionChangedCallback(handler);
}

void SeShapeSelector::removeShapeSelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    d->removeShapeSelectionChangedCallback(handler);
}

void SeShapeSelector::notifyShapeSelectionChangedCallbacks() const {
    d->notifyShapeSelectionChangedCallbacks();
}

void SeShapeSelector::addPrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    d->addPrimarySelectionChangedCallback(handler);
}

void SeShapeSelector::removePrimarySelectionChangedCallback(CbHandler<CbEmptyType> *handler) const {
    d->removePrimarySelectionChangedCallback(handler);
}

void SeShapeSelector::notifyPrimarySelectionChangedCallbacks() const {
    d->notifyPrimarySelectionChangedCallbacks();
}

void SeShapeSelector::replaceAllItems(const RCShdPtr<SnSelection const> &items) {
    d->replaceAllItems(items);
}

void SeShapeSelector::resetSelection() { d->resetSelection(); }

int SeShapeSelector::getNbSelectedShape() const { return d->getNbSelectedShape(); }

void SeShapeSelector::getSelectedShapeInterfaces(
    Vector<RCWeakPtr<SeShapeInterface>> &shapes) const {
    d->getSelectedShapeInterfaces(shapes);
}

void SeShapeSelector::getSelectedShapes(Vector<RCShdPtr<SeShape>> &shapes) const {
    d->getSelectedShapes(shapes);
}

bool SeShapeSelector::isShapeSelected(const RCShdPtr<SeShape> &shape) const {
    return d->isShapeSelected(shape);
}

RCWeakPtr<SeShapeInterface> SeShapeSelector::getPrimarySelectedShapeInterface() const {
    return d->getPrimarySelectedShapeInterface();
}

RCShdPtr<SeShape> SeShapeSelector::getPrimarySelectedShape() const {
    return d->getPrimarySelectedShape();
}

void SeShapeSelector::setSelectedShapes(const Vector<RCShdPtr<SeShape>> &shapes) {
    d->setSelectedShapes(shapes);
}

void SeShapeSelector::selectAllShapes(Iterator<RCShdPtr<SeShape>> &shapes) {
    d->selectAllShapes(shapes);
}

void SeShapeSelector::setPrimarySelectedShape(const RCShdPtr<SeShape> &shape, int pointIndex) {
    d->setPrimarySelectedShape(shape, pointIndex);
}

void SeShapeSelector::addSelectedShape(const RCShdPtr<SeShape> &shape) {
    d->addSelectedShape(shape);
}

void SeShapeSelector::unselectShape(const RCShdPtr<SeShape> &shape) { d->unselectShape(shape); }

void SeShapeSelector::setShapeParts(const RCShdPtr<SeShape> &shape, const Vector<int> *points,
                                    const Vector<int> *handles) {
    d->setShapeParts(shape, points, handles);
}

void SeShapeSelector::selectPoint(int index) { d->selectPoint(index); }

void SeShapeSelector::selectHandle(int index) { d->selectHandle(index); }

void SeShapeSelector::selectPoints(const Vector<int> &indices) { d->selectPoints(indices); }

void SeShapeSelector::selectHandles(const Vector<int> &indices) { d->selectHandles(indices); }

void SeShapeSelector::selectAllPoints(int count) { d->selectAllPoints(count); }

void SeShapeSelector::selectAllHandles(int count) { d->selectAllHandles(count); }

void SeShapeSelector::selectNextPoint(int count) { d->selectNextPoint(count); }

void SeShapeSelector::selectNextHandle(int count) { d->selectNextHandle(count); }

void SeShapeSelector::selectPreviousPoint(int count) { d->selectPreviousPoint(count); }

void SeShapeSelector::selectPreviousHandle(int count) { d->selectPreviousHandle(count); }

void SeShapeSelector::unselectPoints() { d->unselectPoints(); }

void SeShapeSelector::unselectHandles() { d->unselectHandles(); }

void SeShapeSelector::addSelectedPoint(int index) { d->addSelectedPoint(index); }

void SeShapeSelector::unselectPoint(int index) { d->unselectPoint(index); }

void SeShapeSelector::addSelectedHandle(int index) { d->addSelectedHandle(index); }

void SeShapeSelector::unselectHandle(int index) { d->unselectHandle(index); }

void SeShapeSelector::getSelectedPoints(Vector<int> &points) const { d->getSelectedPoints(points); }

void SeShapeSelector::getSelectedHandles(Vector<int> &handles) const {
    d->getSelectedHandles(handles);
}

void SeShapeSelector::getOrderedSelectedPoints(Set<int, std::less<int>> &points) const {
    d->getOrderedSelectedPoints(points);
}

void SeShapeSelector::getOrderedSelectedHandles(Set<int, std::less<int>> &handles) const {
    d->getOrderedSelectedHandles(handles);
}

int SeShapeSelector::getPointSelectionRank(int index) const {
    return d->getPointSelectionRank(index);
}

int SeShapeSelector::getHandleSelectionRank(int index) const {
    return d->getHandleSelectionRank(index);
}

void SeShapeSelector::updateSelectionPointAdded(const RCWeakPtr<SeShapeInterface> &shape,
                                                int index) {
    d->updateSelectionPointAdded(shape, index);
}

void SeShapeSelector::updateSelectionPointDeleted(const RCWeakPtr<SeShapeInterface> &shape,
                                                  int index) {
    d->updateSelectionPointDeleted(shape, index);
}

void SeShapeSelector::updateSelectionHandleAdded(const RCWeakPtr<SeShapeInterface> &shape,
                                                 int index) {
    d->updateSelectionHandleAdded(shape, index);
}

void SeShapeSelector::updateSelectionHandleDeleted(const RCWeakPtr<SeShapeInterface> &shape,
                                                   int index) {
    d->updateSelectionHandleDeleted(shape, index);
}

void SeShapeSelector::removeSelectedShape(int shapeId) { d->removeSelectedShape(shapeId); }

bool SeShapeSelector::isBatchOpen() const noexcept { return d->isBatchOpen(); }

RCShdPtr<SnSelection const> SeShapeSelector::getCurrentSelection() const {
    return d->getCurrentSelection();
}

const RCShdPtr<SnSelection const> &SeShapeSelector::getCommitOrigin() const noexcept {
    return d->getCommitOrigin();
}

bool SeShapeSelector::isRestoringAfterFault() const noexcept { return d->isRestoringAfterFault(); }

bool SeShapeSelector::isAbandoningBatch() const noexcept { return d->isAbandoningBatch(); }

void SeShapeSelector::restoreSelection(const RCShdPtr<SnSelection const> &items) {
    d->restoreSelection(items);
}

void SeShapeSelector::restoreRange(int position, int count,
                                   const Vector<RCShdPtr<SnItem const>> &items) {
    d->restoreRange(position, count, items);
}

void SeShapeSelector::addRenumberingCallback(CbHandler<Renumbering const> *handler) const {
    d->addRenumberingCallback(handler);
}

void SeShapeSelector::removeRenumberingCallback(CbHandler<Renumbering const> *handler) const {
    d->removeRenumberingCallback(handler);
}

RCShdPtr<SnItem const> SeShapeSelector::renumberedItem(const RCShdPtr<SnItem const> &item,
                                                       const Renumbering &renumbering) {
    return SeShapeSelectorPrivate::renumberedItem(item, renumbering);
}

const SeShapeSelector::PartsChange &SeShapeSelector::getLastPartsChange() const noexcept {
    return d->getLastPartsChange();
}

bool SeShapeSelector::areShapesKnownAlive() const noexcept { return d->areShapesKnownAlive(); }

bool SeShapeSelector::lookAtShapesAlive() const { return d->lookAtShapesAlive(); }

const SeSelectionChange &SeShapeSelector::getLastChange() const noexcept {
    return d->getLastChange();
}

template class RCBasePtr<SeShapeSelector>;
template class RCShdPtr<SeShapeSelector>;
template class RCPvtEngPtr<IteratorImp<RCShdPtr<SeShape>>>;
template class Iterator<RCShdPtr<SeShape>>;
template class CbHandler<CbEmptyType>;
template class CbDispatcher<CbEmptyType>;

} // namespace Vo
