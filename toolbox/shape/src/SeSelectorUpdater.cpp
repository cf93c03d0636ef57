#include "SeSelectorUpdater.h"

#include "SeScopedValue.h"
#include "SeSelectorUpdaterPrivate.h"

#include "base/RCExUtil.h"
#include "host/ObHints.h"
#include "host/graph/PiGraphObjectPredicateSnItemAdapter.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiIsToolNode.h"
#include "host/graph/PiNode.h"

#include <exception>
#include <typeinfo>
#include <utility>

namespace Vo {

namespace {

using ItemFilter = PrdPredicate<RCShdPtr<SnItem const>>;
using ItemPredicateImp = PrdPredicateImp<RCShdPtr<SnItem const>>;

ItemFilter makeItemFilter(const ItemFilter &predicate) {
    const RCShdPtr<ItemPredicateImp> toolNodeTest(
        new PiGraphObjectPredicateSnItemAdapter<PiNode>(PiIsToolNode::getPredicate()));
    return ItemFilter(toolNodeTest) & predicate;
}

// The graph object of a graph-object item, when it is no node; null otherwise.
RCShdPtr<PiGraphObject const> objectNotNode(const RCShdPtr<SnItem const> &item) {
    const auto *objectItem = rcFastCast<const PiGraphObjectSnItemConst>(item.get());
    if (objectItem == nullptr) {
        return RCShdPtr<PiGraphObject const>();
    }
    RCShdPtr<PiGraphObject const> object = objectItem->getGraphObject();
    return object.isNull() || object->asNode() != nullptr ? RCShdPtr<PiGraphObject const>()
                                                          : object;
}

class GraphObjectsNotNodes : public ItemPredicateImp {
public:
    bool evaluate(const RCShdPtr<SnItem const> &item) const override {
        return !objectNotNode(item).isNull();
    }
};

// One layer's objects: shares the layer's node.
class GraphObjectsOf : public ItemPredicateImp {
public:
    explicit GraphObjectsOf(const RCShdPtr<PiNode const> &owner) : node(owner) {}
    bool evaluate(const RCShdPtr<SnItem const> &item) const override {
        const RCShdPtr<PiGraphObject const> object = objectNotNode(item);
        return !object.isNull() && object->getOwnerNode().get() == node.get();
    }

private:
    RCShdPtr<PiNode const> node;
};

// The application's callable.
class ItemFunctionTest : public ItemPredicateImp {
public:
    explicit ItemFunctionTest(SeSelectorUpdater::ItemFunction callable)
        : test(std::move(callable)) {}
    bool evaluate(const RCShdPtr<SnItem const> &item) const override { return test(item); }

private:
    SeSelectorUpdater::ItemFunction test;
};

} // namespace

SeSelectorUpdater::SeSelectorUpdater(SeShapeEditorControllerInterface &editorController,
                                     const ItemTestPtr &predicate)
    : SeSelectorUpdater(editorController, ItemPredicate(predicate)) {}

SeSelectorUpdater::SeSelectorUpdater(SeShapeEditorControllerInterface &editorController,
                                     const ItemPredicate &predicate)
    : controller(editorController), selector(controller.getShapeSelector()),
      hostSelection(controller.getApplicationSelection()),
      selectorSelection(selector->getSelection()), editorNode(controller.getNode()),
      updating(false), shapeEventHandler(this, &SeSelectorUpdater::onShapeRemoved), itemFilter(),
      d(std::make_unique<SeSelectorUpdaterPrivate>(*this)) {
    hostSelection->getSubject().attachObserver(this);
    selectorSelection->getSubject().attachObserver(this);
    controller.addShapeEventCb(SeShapeEvent::ShapeRemoved(), &shapeEventHandler);
    itemFilter = makeItemFilter(predicate);
}

SeSelectorUpdater::~SeSelectorUpdater() {
    hostSelection->getSubject().detachObserver(this);
    selectorSelection->getSubject().detachObserver(this);
}

SeSelectorUpdater::ItemTestPtr SeSelectorUpdater::graphObjectsNotNodes() {
    return ItemTestPtr(new GraphObjectsNotNodes);
}

SeSelectorUpdater::ItemTestPtr
SeSelectorUpdater::graphObjectsOf(const RCShdPtr<PiNode const> &node) {
    if (node.isNull()) {
        RCExUtil::throwExNullPtr(typeid(PiNode const *).name());
    }
    return ItemTestPtr(new GraphObjectsOf(node));
}

SeSelectorUpdater::ItemTestPtr SeSelectorUpdater::itemTest(ItemFunction test) {
    if (!test) {
        RCExUtil::throwExNullPtr(typeid(ItemFunction *).name());
    }
    return ItemTestPtr(new ItemFunctionTest(std::move(test)));
}

void SeSelectorUpdater::update(ObSubject<Sn> *, const ObHints &hints) {
    if (updating) {
        return;
    }
    // A callback, or another observer told of a write, may let go of this updater; it lives on
    // until this call is over.
    const RCShdPtr<SeSelectorUpdater> keepAlive(getRefCount() > 0 ? this : nullptr);
    d->update(hints);
}

void SeSelectorUpdater::republish() { d->republish(); }

bool SeSelectorUpdater::isPublished() const noexcept { return d->isPublished(); }

void SeSelectorUpdater::onShapeRemoved(const SeShapeEvent &event) { d->onShapeRemoved(event); }

SeSelectorUpdaterPrivate::SeSelectorUpdaterPrivate(SeSelectorUpdater &owner) noexcept
    : controller(owner.controller), selector(owner.selector), hostSelection(owner.hostSelection),
      selectorSelection(owner.selectorSelection), editorNode(owner.editorNode),
      updating(owner.updating), itemFilter(owner.itemFilter) {}

void SeSelectorUpdaterPrivate::update(const ObHints &hints) {
    Changes changes;
    for (const RCShdPtr<ObHint> &hint : hints.getContainer()) {
        const auto *change = dynamic_cast<const SnSelectionChangeHint *>(hint.get());
        if (change == nullptr) {
            continue;
        }
        if (change->getSubject() == &selectorSelection->getSubject()) {
            onSelectorChanged(*change, changes);
        } else if (change->getSubject() == &hostSelection->getSubject()) {
            onHostChanged(*change, changes);
        }
    }
    if (selector->isRestoringAfterFault()) {
        return; // the state before a failed commit, which no one was told of
    }
    notify(changes);
}

// Each list runs even when one before it raised; the first error is passed on once all have run.
void SeSelectorUpdaterPrivate::notify(const Changes &changes) const {
    using Notify = void (SeShapeSelector::*)() const;
    const std::pair<bool, Notify> lists[] = {
        {changes.primary, &SeShapeSelector::notifyPrimarySelectionChangedCallbacks},
        {changes.shapes, &SeShapeSelector::notifyShapeSelectionChangedCallbacks},
        {changes.selection, &SeShapeSelector::notifySelectionChangedCallbacks}};
    std::exception_ptr first;
    for (const auto &[changed, call] : lists) {
        if (!changed) {
            continue;
        }
        try {
            ((*selector).*call)();
        } catch (...) {
            if (!first) {
                first = std::current_exception();
            }
        }
    }
    if (first) {
        std::rethrow_exception(first);
    }
}

void SeSelectorUpdaterPrivate::writeGuarded(SnSelection &target,
                                            RCShdPtr<SnSelection const> items) {
    const SeScopedValue<bool> guard(updating, true);
    target.replaceAllItems(std::move(items));
}

void SeSelectorUpdaterPrivate::spliceGuarded(SnSelection &target, int position, int count,
                                             Vector<RCShdPtr<SnItem const>> &&items) {
    const SeScopedValue<bool> guard(updating, true);
    target.replaceRange(position, count, std::move(items));
}

template class RCBasePtr<SeSelectorUpdater>;
template class RCShdPtr<SeSelectorUpdater>;
template class RCPvtEngPtr<IteratorImp<RCShdPtr<PiInput>>>;
template class Iterator<RCShdPtr<PiInput>>;
template class CbMethod<SeSelectorUpdater, SeShapeEvent const>;

} // namespace Vo
