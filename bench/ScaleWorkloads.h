#pragma once

#include "SeIdentityKey.h"
#include "SeSelectionBatch.h"
#include "SeSelectionHistory.h"
#include "SeShape.h"
#include "SeShapeInterface.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "foundation/CbDispatcher.h"
#include "foundation/CbHandler.h"
#include "foundation/Iterator.h"
#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/IteratorImpVector.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/ObSubject.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiStructuredInput.h"
#include "host/RCOwner.h"
#include "host/selection/Sn.h"
#include "host/selection/SnItemBasic.h"
#include "host/selection/SnPartsBasic.h"
#include "host/selection/SnSelection.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <numeric>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

// The editor-scale paths that once grew quadratically, each as one workload of size n that builds
// what it needs and runs the path once. The benchmark binary times them at sizes 10x apart, and the
// complexity guard checks that ten times the size costs far less than a hundred times the time.
namespace VoScale {

struct Event {};
using Dispatcher = Vo::CbDispatcher<Event const>;

// A handler that runs its action on every call.
class Handler : public Vo::CbHandler<Event const> {
public:
    using Vo::CbHandler<Event const>::call;
    void call(const Event &) override { action(*this); }
    void (*action)(Handler &) = [](Handler &) {};
    Dispatcher *dispatcher = nullptr;
    Handler *next = nullptr;
};

inline std::vector<std::size_t> shuffled(int n) {
    std::vector<std::size_t> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::shuffle(order.begin(), order.end(), std::mt19937(7));
    return order;
}

inline void check(bool holds, const char *what) {
    if (!holds) {
        throw std::logic_error(what);
    }
}

// n handlers subscribed, each with the action, then one call.
inline void callWith(int n, void (*action)(Handler &)) {
    std::vector<Handler> handlers(static_cast<std::size_t>(n));
    Dispatcher dispatcher;
    for (std::size_t i = 0; i < handlers.size(); ++i) {
        handlers[i].action = action;
        handlers[i].dispatcher = &dispatcher;
        handlers[i].next = i + 1 < handlers.size() ? &handlers[i + 1] : nullptr;
        dispatcher.addHandler(&handlers[i]);
    }
    dispatcher.call(Event());
}

inline void dispatcherOneShot(int n) {
    callWith(n, [](Handler &self) { self.dispatcher->removeHandler(&self); });
}
inline void dispatcherUnsubscribeNext(int n) {
    callWith(n, [](Handler &self) { self.dispatcher->removeHandler(self.next); });
}
inline void dispatcherResubscribe(int n) {
    callWith(n, [](Handler &self) {
        self.dispatcher->removeHandler(&self);
        self.dispatcher->addHandler(&self);
    });
}
inline void dispatcherRemoveRandomly(int n) {
    std::vector<Handler> handlers(static_cast<std::size_t>(n));
    Dispatcher dispatcher;
    for (Handler &handler : handlers) {
        dispatcher.prependHandler(&handler);
    }
    for (std::size_t i : shuffled(n)) {
        dispatcher.removeHandler(&handlers[i]);
    }
    check(dispatcher.isEmpty(), "handlers left");
}
inline void dispatcherDestroyHandlers(int n) {
    Dispatcher dispatcher;
    std::vector<std::unique_ptr<Handler>> handlers;
    for (int i = 0; i < n; ++i) {
        handlers.push_back(std::make_unique<Handler>());
        dispatcher.insertHandler(handlers.back().get());
        dispatcher.addHandler(handlers.back().get());
    }
    for (std::size_t i : shuffled(n)) {
        handlers[i].reset();
    }
    check(dispatcher.isEmpty(), "handlers left");
}

// An observer that may detach itself when notified.
class Observer : public Vo::ObObserver<Vo::Sn> {
public:
    void update(Vo::ObSubject<Vo::Sn> *subject, const Vo::ObHints &) override {
        if (detachOnUpdate) {
            subject->detachObserver(this);
        }
    }
    bool detachOnUpdate = false;
};

inline void observersAttachDetach(int n) {
    std::vector<Observer> observers(static_cast<std::size_t>(n));
    Vo::ObSubject<Vo::Sn> subject;
    for (Observer &observer : observers) {
        subject.attachObserver(&observer);
    }
    for (std::size_t i : shuffled(n)) {
        subject.detachObserver(&observers[i]);
    }
    check(subject.getNbObservers() == 0, "observers left");
}
inline void observersDetachWhileNotified(int n) {
    std::vector<Observer> observers(static_cast<std::size_t>(n));
    Vo::ObSubject<Vo::Sn> subject;
    for (Observer &observer : observers) {
        observer.detachOnUpdate = true;
        subject.attachObserver(&observer);
    }
    subject.notify(Vo::ObHints());
    check(subject.getNbObservers() == 0, "observers left");
}

// Removing one point closes its gap at once, so removals in random order cost a move each; the
// ways to remove many are the last one first (O(1) each) and one differenceWith (linear).
inline void partsRemoveEach(int n) {
    Vo::SeShapeParts parts;
    for (std::size_t i : shuffled(n)) {
        parts.appendPoint(static_cast<int>(i));
    }
    Vo::RCShdPtr<Vo::SeShapeParts> half(new Vo::SeShapeParts());
    for (int i = 0; i < n; i += 2) {
        half->appendPoint(i);
    }
    parts.differenceWith(half);
    while (!parts.isPointEmpty()) {
        parts.removePoint(parts.getPoints().back());
    }
}

inline void selectionReplaceEachItem(int n) {
    using Item = Vo::SnItemBasic<int>;
    Vo::List<Vo::RCShdPtr<Vo::SnItem const>> items;
    for (int i = 0; i < n; ++i) {
        items.push_back(Vo::RCShdPtr<Vo::SnItem const>(new Item(Vo::RCShdPtr<Vo::SnParts>(), i)));
    }
    const Vo::RCShdPtr<Vo::SnSelection> selection = Vo::SnSelection::create(items);
    const std::vector<Vo::RCShdPtr<Vo::SnItem const>> old(items.begin(), items.end());
    for (std::size_t i : shuffled(n)) {
        selection->replaceItem(
            old[i], Vo::RCShdPtr<Vo::SnItem const>(new Item(Vo::RCShdPtr<Vo::SnParts>(), -1)));
    }
}

inline void nodeNamedInputs(int n) {
    const Vo::RCShdPtr<Vo::PiGraph> graph = Vo::PiGraph::create();
    const Vo::RCShdPtr<Vo::PiNode> node = graph->addNode("Roto", Vo::PiNode::Tool);
    for (int i = 0; i < n; ++i) {
        node->addStructuredInput("S" + std::to_string(i) + ".curve");
    }
    check(node->getNbInputs() == n, "inputs missing");
}

// A shape whose editing side is owned by the workload; equal to the shapes of the same number, and
// promising that its key is that number.
class KeyedShape : public Vo::SeShape, public Vo::SeIdentityKey {
public:
    KeyedShape(std::uint64_t number, const Vo::RCWeakPtr<Vo::SeShapeInterface> &side)
        : number(number), editing(side) {}
    bool isEqual(const Vo::SeObject &other) const override {
        const auto *shape = dynamic_cast<const KeyedShape *>(&other);
        return shape != nullptr && shape->number == number;
    }
    std::uint64_t getIdentityKey() const noexcept override { return number; }
    Vo::RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return {}; }
    Vo::RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return {}; }
    Vo::RCWeakPtr<Vo::SeShapeInterface> getShapeInterface() const override { return editing; }

private:
    std::uint64_t number;
    Vo::RCWeakPtr<Vo::SeShapeInterface> editing;
};

class KeyedShapeInterface : public Vo::SeShapeInterface {
public:
    Vo::RCShdPtr<Vo::SeShape> getShape() override { return shape; }
    Vo::RCShdPtr<Vo::PiInput> getCurveInput() override { return {}; }
    Vo::RCShdPtr<Vo::SeShape> shape;
};

// n keyed shapes and a selector; the first `selected` shapes selected, the first one primary with
// the given points.
class KeyedScene {
public:
    KeyedScene(int n, int selected, int points = 0) : selector(new Vo::SeShapeSelector) {
        for (int i = 0; i < n; ++i) {
            owners.emplace_back(new KeyedShapeInterface);
            owners.back().get()->shape =
                Vo::RCShdPtr<Vo::SeShape>(new KeyedShape(static_cast<std::uint64_t>(i), weak(i)));
            shapes.push_back(owners.back().get()->shape);
        }
        Vo::List<Vo::RCShdPtr<Vo::SnItem const>> items;
        for (int i = 0; i < selected; ++i) {
            Vo::RCShdPtr<Vo::SeShapeParts> parts;
            if (i == 0 && points > 0) {
                parts = Vo::RCShdPtr<Vo::SeShapeParts>(new Vo::SeShapeParts);
                for (std::size_t point : shuffled(points)) {
                    parts->appendPoint(static_cast<int>(point));
                }
            }
            items.push_back(Vo::RCShdPtr<Vo::SnItem const>(new Vo::SeShapeItem(parts, weak(i))));
        }
        selector->replaceAllItems(Vo::SnSelection::create(items));
    }
    Vo::RCWeakPtr<Vo::SeShapeInterface> weak(int i) const {
        return Vo::RCWeakPtr<Vo::SeShapeInterface>(
            owners.at(static_cast<std::size_t>(i)).getWeak());
    }

    std::vector<Vo::RCOwner<KeyedShapeInterface>> owners;
    std::vector<Vo::RCShdPtr<Vo::SeShape>> shapes;
    Vo::RCShdPtr<Vo::SeShapeSelector> selector;
};

inline void rankEverySelectedPoint(int n) {
    KeyedScene scene(1, 1, n);
    std::int64_t sum = 0;
    for (int i = 0; i < n; ++i) {
        sum += scene.selector->getPointSelectionRank(i);
    }
    check(sum == std::int64_t(n) * (n + 1) / 2, "ranks wrong");
}

inline void isEachShapeSelected(int n) {
    KeyedScene scene(n, n);
    for (const Vo::RCShdPtr<Vo::SeShape> &shape : scene.shapes) {
        check(scene.selector->isShapeSelected(shape), "shape not selected");
    }
}

inline void selectAllShapesOntoATenth(int n) {
    KeyedScene scene(n, n / 10);
    auto walk = Vo::IteratorImpVector<Vo::RCShdPtr<Vo::SeShape>>::makeIterator(
        std::make_shared<const std::vector<Vo::RCShdPtr<Vo::SeShape>>>(scene.shapes));
    scene.selector->selectAllShapes(walk);
    check(scene.selector->getNbSelectedShape() == n, "shapes missing");
}

// One shape of n points, all selected, a history attached; one batch in which the points leave the
// selection and the application reports each one deleted, last first: the history brings its state
// along the n reports once, when the batch's change is heard (it used to copy the n indices at
// every report).
inline void historyBatchDeleteSelectedPoints(int n) {
    KeyedScene scene(1, 1, n);
    Vo::SeSelectionHistory history(scene.selector);
    {
        Vo::SeSelectionBatch batch(scene.selector);
        scene.selector->unselectPoints();
        for (int i = n - 1; i >= 0; --i) {
            scene.selector->updateSelectionPointDeleted(scene.weak(0), i);
        }
    }
    check(history.getNbUndoSteps() == 1, "the batch left no step");
}

// A workload, and the size the guard runs it at (and at ten times that): small, so that both runs
// stay mostly in a core's 2 MiB cache and the ratio shows the algorithm rather than the memory
// (about 100 bytes per handler or observer with its list entries, 300 per shape).
struct Workload {
    const char *name;
    void (*run)(int n);
    int guardSize;
};

inline const std::vector<Workload> &workloads() {
    static const std::vector<Workload> all{
        {"CbOneShotHandlers", dispatcherOneShot, 800},
        {"CbHandlersUnsubscribingTheNext", dispatcherUnsubscribeNext, 800},
        {"CbHandlersResubscribing", dispatcherResubscribe, 800},
        {"CbPrependThenRemoveRandomly", dispatcherRemoveRandomly, 800},
        {"CbInsertThenDestroyHandlers", dispatcherDestroyHandlers, 800},
        {"ObAttachThenDetachRandomly", observersAttachDetach, 800},
        {"ObObserversDetachingWhileNotified", observersDetachWhileNotified, 800},
        {"SeShapePartsRemoveEachPoint", partsRemoveEach, 2000},
        {"SnSelectionReplaceEachItem", selectionReplaceEachItem, 2000},
        {"PiNodeNamedInputs", nodeNamedInputs, 2000},
        {"SelectorRankOfEverySelectedPoint", rankEverySelectedPoint, 2000},
        {"SelectorIsEachShapeSelectedKeyed", isEachShapeSelected, 2000},
        {"SelectorSelectAllShapesOntoATenthKeyed", selectAllShapesOntoATenth, 2000},
        {"HistoryBatchDeleteSelectedPoints", historyBatchDeleteSelectedPoints, 2000},
    };
    return all;
}

// Reference workloads, none of them ours: what the machine itself does at each size, to read the
// paths' figures against.
// A record the size of a cache line, like a handler or an observer with its fields.
struct Record {
    std::uint64_t words[8];
};

// The standard hash set doing what the random-order paths do: n entries in, then out in random
// order. Linear work whose every step lands on a random cache line.
inline void anchorHashSetRandomErase(int n) {
    const std::vector<Record> records(static_cast<std::size_t>(n));
    std::unordered_set<const Record *> set;
    for (const Record &record : records) {
        set.insert(&record);
    }
    for (std::size_t i : shuffled(n)) {
        set.erase(&records[i]);
    }
    check(set.empty(), "entries left");
}

// n fresh records written, then read, in order: the cheapest linear work on that much memory.
inline void anchorSequentialWalk(int n) {
    std::vector<Record> records(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < records.size(); ++i) {
        records[i].words[0] = i;
    }
    std::uint64_t sum = 0;
    for (const Record &record : records) {
        sum += record.words[0];
    }
    check(sum == std::uint64_t(n) * std::uint64_t(n - 1) / 2, "walk lost a record");
}

// The fault the paths once had: each removal searches a vector, then closes the gap. Quadratic; a
// measure that does not flag it cannot tell anything.
inline void referenceQuadraticErase(int n) {
    std::vector<std::size_t> entries(static_cast<std::size_t>(n));
    std::iota(entries.begin(), entries.end(), std::size_t(0));
    for (std::size_t i : shuffled(n)) {
        entries.erase(std::find(entries.begin(), entries.end(), i));
    }
    check(entries.empty(), "entries left");
}

inline const std::vector<Workload> &anchors() {
    static const std::vector<Workload> all{
        {"AnchorHashSetRandomErase", anchorHashSetRandomErase, 2000},
        {"AnchorSequentialWalk", anchorSequentialWalk, 2000},
    };
    return all;
}

inline const Workload &quadraticReference() {
    static const Workload reference{"ReferenceQuadraticErase", referenceQuadraticErase, 1000};
    return reference;
}

} // namespace VoScale
