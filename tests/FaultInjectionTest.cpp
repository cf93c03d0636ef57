#include "SeSelectionBatch.h"
#include "SeSelectionHistory.h"
#include "SeSelectorUpdater.h"
#include "SeShape.h"
#include "SeShapeItem.h"
#include "SeShapeSelector.h"
#include "app/TestAllocator.h"
#include "app/TestController.h"
#include "app/TestFaults.h"
#include "app/TestItemPredicate.h"
#include "app/TestObjectItem.h"
#include "app/TestShape.h"
#include "app/TestShapeIterator.h"

#include "base/CbEmptyType.h"
#include "foundation/CbHandler.h"
#include "foundation/Iterator.h"
#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/ObObserver.h"
#include "host/ObSubject.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiGraphSearch.h"
#include "host/graph/PiIsPrimaryOutputNode.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/graph/PiStructuredInput.h"
#include "host/PrdPredicateImp.h"
#include "base/RCExNullPtr.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <initializer_list>
#include <iostream>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Vo;
using VoTest::TestFaults;

// Records the fault switch's count at the first write to one selection after reset(): the number
// of counted calls made before that write. Attached before the updater, so it hears of a write
// before the updater mirrors it.
class CommitProbe : public ObObserver<Sn> {
public:
    explicit CommitProbe(SnSelection &selection) { selection.getSubject().attachObserver(this); }

    void update(ObSubject<Sn> *, const ObHints &) override {
        if (callsBefore < 0) {
            callsBefore = TestFaults::calls();
        }
    }
    void reset() noexcept { callsBefore = -1; }
    long getCallsBefore() const noexcept { return callsBefore; }

private:
    long callsBefore = -1;
};

// A handler of one of the selector's callback lists, counted by the fault switch like any call
// into the application: it logs its label, and the call's number in the run, once it has not
// raised.
class CountedRecorder : public CbHandler<CbEmptyType> {
public:
    CountedRecorder(std::string label, std::vector<std::string> &log, std::vector<long> &at)
        : label(std::move(label)), log(log), at(at) {}

    using CbHandler<CbEmptyType>::call;
    void call(const CbEmptyType &) override {
        TestFaults::count();
        log.push_back(label);
        at.push_back(TestFaults::calls());
    }

private:
    std::string label;
    std::vector<std::string> &log;
    std::vector<long> &at;
};

// An application's observer of one selection, counted by the fault switch like any call into the
// application: it logs the call's number in the run once it has not raised.
class CountedObserver : public ObObserver<Sn> {
public:
    explicit CountedObserver(std::vector<long> &at) : at(at) {}

    void update(ObSubject<Sn> *, const ObHints &) override {
        TestFaults::count();
        at.push_back(TestFaults::calls());
    }

private:
    std::vector<long> &at;
};

// Where the history stands among the observers of the editor's selection.
enum class HistoryOrder { BeforeUpdater, AfterUpdater };

// One editor with shapes A, B (multi-valued "Points"), D (one single-valued "Points") and E (a
// gradient as well), its updater, its history (attached before or after the updater), counted
// recorders on the selector's three callback lists, commit probes on both selections, and
// counted application observers of both selections, one attached before the updater and one after.
struct FaultScene {
    enum ShapeIndex { A, B, D, E };
    static constexpr int nbPoints = 6;
    static constexpr int nbHandles = 4;

    explicit FaultScene(HistoryOrder order = HistoryOrder::BeforeUpdater) {
        controller.addShape("A", nbPoints);
        controller.addShape("B", nbPoints);
        controller.addShape("D", nbPoints, 0, true);
        controller.addShape("E", nbPoints, nbHandles);
        selector->addPrimarySelectionChangedCallback(&primaryCalls);
        selector->addShapeSelectionChangedCallback(&shapeCalls);
        selector->addSelectionChangedCallback(&selectionCalls);
        ObSubject<Sn> &editorSubject = selector->getSelection()->getSubject();
        editorSubject.attachObserver(&selectorObserverBefore);
        host->getSubject().attachObserver(&hostObserverBefore);
        if (order == HistoryOrder::BeforeUpdater) {
            history.attach(selector);
        }
        updater = RCShdPtr<SeSelectorUpdater>(new SeSelectorUpdater(
            controller,
            RCShdPtr<PrdPredicateImp<RCShdPtr<SnItem const>>>(new VoTest::TestItemPredicate)));
        if (order == HistoryOrder::AfterUpdater) {
            history.attach(selector);
        }
        editorSubject.attachObserver(&selectorObserverAfter);
        host->getSubject().attachObserver(&hostObserverAfter);
    }
    ~FaultScene() {
        updater = RCShdPtr<SeSelectorUpdater>(); // first: it borrows the controller
    }

    Vector<RCShdPtr<SeShape>> shapes(std::initializer_list<int> indices) const {
        Vector<RCShdPtr<SeShape>> list;
        for (int index : indices) {
            list.push_back(controller.shape(index));
        }
        return list;
    }
    RCShdPtr<SnItem const> objectItem(int shape) const {
        return RCShdPtr<SnItem const>(
            new PiGraphObjectSnItemConst(controller.shape(shape)->getGraphObject()));
    }
    RCShdPtr<SnItem const> applicationItem(int shape) const {
        return RCShdPtr<SnItem const>(
            new VoTest::TestObjectItem(controller.shape(shape)->getGraphObject()));
    }
    // Forgets what the last run logged.
    void clearLogs() {
        log.clear();
        callbackCalls.clear();
        selectorObserverCalls.clear();
        hostObserverCalls.clear();
        selectorProbe.reset();
        hostProbe.reset();
    }

    VoTest::TestController controller;
    RCShdPtr<SeShapeSelector> selector = controller.getShapeSelector();
    RCShdPtr<SnSelection> host = controller.hostSelection();
    CommitProbe selectorProbe{*selector->getSelection()};
    CommitProbe hostProbe{*host};
    std::vector<std::string> log;
    std::vector<long> callbackCalls; // the counted call of each entry of the log
    std::vector<long> selectorObserverCalls;
    std::vector<long> hostObserverCalls;
    CountedRecorder primaryCalls{"primary", log, callbackCalls};
    CountedRecorder shapeCalls{"shapes", log, callbackCalls};
    CountedRecorder selectionCalls{"selection", log, callbackCalls};
    CountedObserver selectorObserverBefore{selectorObserverCalls};
    CountedObserver selectorObserverAfter{selectorObserverCalls};
    CountedObserver hostObserverBefore{hostObserverCalls};
    CountedObserver hostObserverAfter{hostObserverCalls};
    RCShdPtr<SeSelectorUpdater> updater;
    SeSelectionHistory history;
    // What a start prepares for its run, so that the run itself makes no counted call of its own.
    std::vector<RCShdPtr<SnItem const>> preparedItems;
    RCShdPtr<SnSelection const> preparedSelection;
    int preparedId = 0;
};

// An operation under fault injection. The committing side is the selection the operation writes
// first; the updater mirrors that write into the other one from within the write's notification.
// A fault before the write leaves both selections as they were; a fault in the updater leaves the
// write in place (the selector, or the application, has committed) and the other side as it was;
// a fault in a callback handler comes after both. An observer of either selection hears of the
// write after the commit: every other observer still hears of it, so a fault in an observer of the
// committing side leaves the change announced in full, while a fault in one of the other side,
// which the updater's own write reaches, leaves both writes in place and ends the updater's
// handling before any callback. A read (None) writes nothing.
struct Operation {
    enum Side { Selector, Host, None };
    std::string name;
    Side committing;
    std::function<void(FaultScene &)> start;
    std::function<void(FaultScene &)> run;
    // False when each start builds fresh shapes, so that starting states differ from run to run.
    bool repeatable = true;
};

struct Outcome {
    RCShdPtr<SnSelection const> selector;
    RCShdPtr<SnSelection const> host;
};

Outcome snapshot(const FaultScene &scene) {
    return {RCShdPtr<SnSelection const>(scene.selector->getSelection()->clone()),
            RCShdPtr<SnSelection const>(scene.host->clone())};
}

struct Steps {
    int undo;
    int redo;
    bool operator==(const Steps &other) const { return undo == other.undo && redo == other.redo; }
};

std::ostream &operator<<(std::ostream &out, const Steps &steps) {
    return out << steps.undo << " undo, " << steps.redo << " redo steps";
}

Steps stepsOf(const SeSelectionHistory &history) {
    return {history.getNbUndoSteps(), history.getNbRedoSteps()};
}

// What a run without fault showed, and the counted call at which each of its events came.
struct NormalRun {
    Outcome committed;
    Steps steps;
    long nbCalls;
    long callsBeforeCommit; // before the first write of the committing side
    std::vector<std::string> log;
    std::vector<long> callbackCalls;
    std::vector<long> committingObserverCalls;
    std::vector<long> otherObserverCalls;
};

// Runs the operation with the fault armed at `nth` (0: none); true when the fault was raised. Any
// other error fails the test.
bool runArmed(const Operation &op, FaultScene &scene, long nth) {
    bool raised = false;
    TestFaults::arm(nth);
    try {
        op.run(scene);
    } catch (const RCExNullPtr &error) {
        EXPECT_EQ(error.getPointerType(), "VoTest::TestFaults*") << op.name << " fault " << nth;
        raised = true;
    }
    TestFaults::disarm();
    return raised;
}

// Restores the operation's starting state, whatever an earlier run left: both selections are
// emptied first, so that the start's own change of the editor's selection is mirrored in full; the
// history then starts afresh, holding the start's own steps.
void prepare(const Operation &op, FaultScene &scene) {
    scene.host->replaceAllItems(SnSelection::create());
    scene.selector->resetSelection();
    scene.history.clear();
    op.start(scene);
    scene.clearLogs();
}

NormalRun runNormally(const Operation &op, FaultScene &scene) {
    EXPECT_FALSE(runArmed(op, scene, 0)) << op.name;
    const bool hostCommits = op.committing == Operation::Host;
    NormalRun normal{snapshot(scene),
                     stepsOf(scene.history),
                     TestFaults::calls(),
                     (hostCommits ? scene.hostProbe : scene.selectorProbe).getCallsBefore(),
                     scene.log,
                     scene.callbackCalls,
                     hostCommits ? scene.hostObserverCalls : scene.selectorObserverCalls,
                     hostCommits ? scene.selectorObserverCalls : scene.hostObserverCalls};
    if (op.committing == Operation::None) {
        normal.callsBeforeCommit = normal.nbCalls;
    }
    return normal;
}

// The application's report of a point or handle inserted or removed: updateSelection...
bool renumbers(const Operation &op) { return op.name.rfind("updateSelection", 0) == 0; }

bool contains(const std::vector<long> &calls, long call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

// After a fault the update guard must be down again: a later change is mirrored as usual.
void expectMirroringWorks(FaultScene &scene, const std::string &context) {
    scene.selector->resetSelection();
    scene.selector->setSelectedShapes(scene.shapes({FaultScene::A, FaultScene::B}));
    List<RCShdPtr<SnItem const>> expected;
    expected.push_back(PiSnItemUtil::create(scene.controller.getNode()));
    expected.push_back(
        PiSnItemUtil::createFromBase(scene.controller.shape(FaultScene::A)->getGraphObject()));
    expected.push_back(
        PiSnItemUtil::createFromBase(scene.controller.shape(FaultScene::B)->getGraphObject()));
    EXPECT_TRUE(scene.host->isEqual(SnSelection::create(expected))) << context;
}

bool holdsGoneShape(const SnSelection &selection) {
    return std::any_of(selection.begin(), selection.end(), [](const RCShdPtr<SnItem const> &item) {
        return dynamic_cast<const SeShapeItem &>(*item).getData().isNull();
    });
}

// The history after a run that started from `before` with `stepsBefore`: as after the normal run
// when the editor's selection changed, as before when it did not. A step the run recorded (the
// normal run has one undo step more) is undone to `before`, then redone to the change; a change
// that is no step (a renumbering) renumbered the kept states with it, so undoing the step before it
// and redoing it gives back the change. With `mayForget`, a history that forgot its steps (none to
// undo or redo) is consistent as well.
void expectHistoryConsistent(FaultScene &scene, const Outcome &before, const Steps &stepsBefore,
                             const NormalRun &normal, bool mayForget, const std::string &context) {
    const Steps steps = stepsOf(scene.history);
    if (mayForget && steps == Steps{0, 0}) {
        return;
    }
    const RCShdPtr<SnSelection> editor = scene.selector->getSelection();
    const bool changed =
        !editor->isEqual(before.selector) && editor->isEqual(normal.committed.selector);
    EXPECT_EQ(steps, changed ? normal.steps : stepsBefore) << context;
    if (!changed || !(steps == normal.steps) || holdsGoneShape(*before.selector)) {
        return;
    }
    if (normal.steps.undo == stepsBefore.undo + 1) {
        EXPECT_TRUE(scene.history.undo()) << context;
        EXPECT_TRUE(editor->isEqual(before.selector)) << context << ": undo";
    } else if (normal.steps == stepsBefore && steps.undo > 0) {
        EXPECT_TRUE(scene.history.undo()) << context;
    } else {
        return;
    }
    EXPECT_TRUE(scene.history.redo()) << context;
    EXPECT_TRUE(editor->isEqual(normal.committed.selector)) << context << ": redo";
}

// The log of a run whose callback at place `failed` raised: every other list still ran.
std::vector<std::string> without(std::vector<std::string> log, std::size_t failed) {
    log.erase(log.begin() + static_cast<std::ptrdiff_t>(failed));
    return log;
}

bool isSubsequence(const std::vector<std::string> &part, const std::vector<std::string> &whole) {
    auto next = whole.begin();
    for (const std::string &entry : part) {
        next = std::find(next, whole.end(), entry);
        if (next == whole.end()) {
            return false;
        }
        ++next;
    }
    return true;
}

// Runs the operation with the allocation failure armed at `nth`; true when std::bad_alloc left
// it. Any other error fails the test.
bool runOutOfMemory(const Operation &op, FaultScene &scene, long nth, const std::string &context) {
    bool raised = false;
    VoTest::TestAllocator::arm(nth);
    try {
        op.run(scene);
    } catch (const std::bad_alloc &) {
        raised = true;
    } catch (...) {
        ADD_FAILURE() << context << ": another error than std::bad_alloc";
    }
    VoTest::TestAllocator::disarm();
    return raised;
}

// Fails every allocation the operation makes, one run each from the restored starting state, until
// a run makes fewer allocations than the one armed; returns the number of failures. Each selection
// is as it was or as committed, and the one the operation does not write changes only with the one
// it writes; a run that reports no error did all its work. Callbacks run only for a change of the
// editor's selection, each at most once and in order. The history holds what the change recorded,
// or forgot its steps.
long failEveryAllocation(const Operation &op, HistoryOrder order) {
    FaultScene scene(order);
    prepare(op, scene);
    const NormalRun normal = runNormally(op, scene);
    const Outcome &committed = normal.committed;
    long nth = 1;
    for (;; ++nth) {
        const std::string context = op.name + " allocation " + std::to_string(nth);
        prepare(op, scene);
        const Outcome before = snapshot(scene);
        const Steps stepsBefore = stepsOf(scene.history);
        const bool raised = runOutOfMemory(op, scene, nth, context);
        if (VoTest::TestAllocator::allocations() < nth) {
            EXPECT_FALSE(raised) << context;
            break;
        }
        const RCShdPtr<SnSelection> editor = scene.selector->getSelection();
        const bool editorBefore = editor->isEqual(before.selector);
        const bool editorCommitted = editor->isEqual(committed.selector);
        const bool hostBefore = scene.host->isEqual(before.host);
        const bool hostCommitted = scene.host->isEqual(committed.host);
        EXPECT_TRUE(editorBefore || editorCommitted) << context;
        EXPECT_TRUE(hostBefore || hostCommitted) << context;
        EXPECT_TRUE(op.committing == Operation::Host || !editorBefore || hostBefore) << context;
        EXPECT_TRUE(op.committing == Operation::Selector || !hostBefore || editorBefore) << context;
        EXPECT_TRUE(raised || (editorCommitted && hostCommitted && scene.log == normal.log))
            << context;
        EXPECT_TRUE(isSubsequence(scene.log, normal.log)) << context;
        EXPECT_TRUE(!editorBefore || editorCommitted || scene.log.empty()) << context;
        EXPECT_FALSE(scene.selector->isBatchOpen()) << context;
        // A selection allocates the news of its change before the change, and a history that
        // cannot renumber its kept states forgets them: either used to leave a history whose undo
        // selected other points or skipped a state.
        expectHistoryConsistent(scene, before, stepsBefore, normal, true, context);
        expectMirroringWorks(scene, context);
    }
    return nth - 1;
}

// Injects a fault at every counted call the operation makes, one run each from the restored
// starting state; returns their number.
long injectEveryFault(const Operation &op, HistoryOrder order) {
    FaultScene scene(order);
    prepare(op, scene);
    const Outcome start = snapshot(scene);
    const Steps startSteps = stepsOf(scene.history);
    const NormalRun normal = runNormally(op, scene);
    const bool reads = op.committing == Operation::None;
    EXPECT_NE(normal.committed.selector->isEqual(start.selector), !reads) << op.name;
    EXPECT_NE(normal.committed.host->isEqual(start.host), !reads) << op.name;
    EXPECT_NE(normal.log.empty(), !reads) << op.name;
    if (!reads) {
        EXPECT_GE(normal.callsBeforeCommit, 0) << op.name << " commits nothing";
        EXPECT_GT(normal.nbCalls, normal.callsBeforeCommit)
            << op.name << " has no fault after its commit";
    }
    // Every change is a step, but for a renumbering, which renumbers the kept states instead.
    EXPECT_EQ(normal.steps.undo, startSteps.undo + (reads || renumbers(op) ? 0 : 1)) << op.name;
    for (long nth = 1; nth <= normal.nbCalls; ++nth) {
        const std::string context = op.name + " fault " + std::to_string(nth);
        prepare(op, scene);
        const Outcome before = snapshot(scene);
        const Steps stepsBefore = stepsOf(scene.history);
        EXPECT_TRUE(!op.repeatable || before.selector->isEqual(start.selector)) << context;
        EXPECT_TRUE(!op.repeatable || before.host->isEqual(start.host)) << context;
        // The run repeats the counted one up to the fault, so the fault is always reached.
        EXPECT_TRUE(runArmed(op, scene, nth)) << context;
        const auto callback =
            std::find(normal.callbackCalls.begin(), normal.callbackCalls.end(), nth);
        const bool inCallback = callback != normal.callbackCalls.end();
        const bool inCommittingObserver = contains(normal.committingObserverCalls, nth);
        const bool inOtherObserver = contains(normal.otherObserverCalls, nth);
        const bool bothWritten = inCallback || inCommittingObserver || inOtherObserver;
        const bool afterCommit = nth > normal.callsBeforeCommit;
        const bool selectorCommitted =
            bothWritten || (afterCommit && op.committing == Operation::Selector);
        const bool hostCommitted = bothWritten || (afterCommit && op.committing == Operation::Host);
        const Outcome &committed = normal.committed;
        EXPECT_TRUE(scene.selector->getSelection()->isEqual(selectorCommitted ? committed.selector
                                                                              : before.selector))
            << context;
        EXPECT_TRUE(scene.host->isEqual(hostCommitted ? committed.host : before.host)) << context;
        std::vector<std::string> expectedLog;
        if (inCallback) {
            expectedLog = without(
                normal.log, static_cast<std::size_t>(callback - normal.callbackCalls.begin()));
        } else if (inCommittingObserver) {
            expectedLog = normal.log;
        }
        EXPECT_EQ(scene.log, expectedLog) << context;
        expectHistoryConsistent(scene, before, stepsBefore, normal, false, context);
        expectMirroringWorks(scene, context);
    }
    return normal.nbCalls;
}

Vector<int> indices(std::initializer_list<int> list) { return Vector<int>(list); }

// Starts: these shapes selected; one shape alone with these points; E alone with these handles.
std::function<void(FaultScene &)> shapesOf(std::initializer_list<int> shapes) {
    const std::vector<int> list(shapes);
    return [list](FaultScene &s) {
        Vector<RCShdPtr<SeShape>> selected;
        for (const int shape : list) {
            selected.push_back(s.controller.shape(shape));
        }
        s.selector->setSelectedShapes(selected);
    };
}
std::function<void(FaultScene &)> pointsOf(int shape, std::initializer_list<int> points) {
    const Vector<int> list(points);
    return [shape, list](FaultScene &s) {
        s.selector->setSelectedShapes(s.shapes({shape}));
        s.selector->selectPoints(list);
    };
}
std::function<void(FaultScene &)> handlesOf(std::initializer_list<int> handles) {
    const std::vector<int> list(handles);
    return [list](FaultScene &s) {
        s.selector->setSelectedShapes(s.shapes({FaultScene::E}));
        for (const int handle : list) {
            s.selector->selectHandle(handle);
        }
    };
}

// The selector commits every operation but the host selection, which is the application's own
// write: the updater then reaches findShape and getShapeInterface only after it. The removal event
// comes while the removed shape's editing side is still alive, so the scene can be restored.
std::vector<Operation> operations() {
    using S = FaultScene;
    return {
        {"selectPoint", Operation::Selector, shapesOf({S::A}),
         [](S &s) { s.selector->selectPoint(2); }},
        {"selectAllPoints", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::E}));
             s.selector->selectHandle(1);
         },
         [](S &s) { s.selector->selectAllPoints(S::nbPoints); }},
        {"selectHandle", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::E}));
             s.selector->selectPoint(3);
         },
         [](S &s) { s.selector->selectHandle(2); }},
        {"setSelectedShapes", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A}));
             s.selector->selectPoint(0);
         },
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::B, S::D, S::E}));
         }},
        {"setSelectedShapes keeping its ends", Operation::Selector, shapesOf({S::A, S::B, S::E}),
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A, S::D, S::B, S::E}));
         }},
        {"setPrimarySelectedShape", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A, S::B}));
         },
         [](S &s) { s.selector->setPrimarySelectedShape(s.controller.shape(S::D), 0); }},
        {"selectAllShapes", Operation::Selector,
         [](S &s) { s.selector->setSelectedShapes(s.shapes({S::B})); },
         [](S &s) {
             Iterator<RCShdPtr<SeShape>> all = VoTest::TestShapeIterator::over(
                 {s.controller.shape(S::A), s.controller.shape(S::B), s.controller.shape(S::D),
                  s.controller.shape(S::E)});
             s.selector->selectAllShapes(all);
         }},
        {"host selection", Operation::Host,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A}));
             s.preparedItems = {PiSnItemUtil::create(s.controller.toolNode()), s.objectItem(S::B),
                                s.objectItem(S::E)};
         },
         [](S &s) {
             const SnSelection::Items items(s.preparedItems.begin(), s.preparedItems.end());
             s.host->replaceAllItems(SnSelection::create(items));
         }},
        {"shape removal", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A, S::B, S::E}));
             s.preparedId = s.controller.shape(S::B)->getId();
         },
         [](S &s) { s.controller.sendRemoval(s.preparedId); }},
        {"updateSelectionPointAdded", Operation::Selector, pointsOf(S::A, {1, 3}),
         [](S &s) { s.selector->updateSelectionPointAdded(s.controller.weak(S::A), 2); }},
        {"updateSelectionPointDeleted", Operation::Selector, pointsOf(S::A, {1, 3}),
         [](S &s) { s.selector->updateSelectionPointDeleted(s.controller.weak(S::A), 1); }},
        {"updateSelectionHandleAdded", Operation::Selector, handlesOf({1, 2}),
         [](S &s) { s.selector->updateSelectionHandleAdded(s.controller.weak(S::E), 0); }},
        {"updateSelectionHandleDeleted", Operation::Selector, handlesOf({1, 2}),
         [](S &s) { s.selector->updateSelectionHandleDeleted(s.controller.weak(S::E), 2); }},
        {"selectPoints", Operation::Selector, pointsOf(S::A, {0}),
         [](S &s) {
             s.selector->selectPoints(indices({4, 1}));
         }},
        {"selectAllHandles", Operation::Selector, pointsOf(S::E, {1}),
         [](S &s) { s.selector->selectAllHandles(S::nbHandles); }},
        {"selectNextPoint", Operation::Selector, pointsOf(S::A, {2}),
         [](S &s) { s.selector->selectNextPoint(S::nbPoints); }},
        {"selectPreviousPoint", Operation::Selector, pointsOf(S::A, {2}),
         [](S &s) { s.selector->selectPreviousPoint(S::nbPoints); }},
        {"selectNextHandle", Operation::Selector, handlesOf({1}),
         [](S &s) { s.selector->selectNextHandle(S::nbHandles); }},
        {"selectPreviousHandle", Operation::Selector, handlesOf({1}),
         [](S &s) { s.selector->selectPreviousHandle(S::nbHandles); }},
        {"unselectPoints", Operation::Selector, pointsOf(S::A, {1, 3}),
         [](S &s) { s.selector->unselectPoints(); }},
        {"unselectHandles", Operation::Selector, handlesOf({2}),
         [](S &s) { s.selector->unselectHandles(); }},
        // One-item changes, mirrored by the item they change.
        {"addSelectedShape", Operation::Selector, shapesOf({S::A, S::B}),
         [](S &s) { s.selector->addSelectedShape(s.controller.shape(S::D)); }},
        {"unselectShape, the primary one", Operation::Selector, shapesOf({S::A, S::B, S::D}),
         [](S &s) { s.selector->unselectShape(s.controller.shape(S::A)); }},
        {"unselectShape, leaving one with points", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A, S::B}));
             s.selector->selectPoints(indices({1, 3}));
         },
         [](S &s) { s.selector->unselectShape(s.controller.shape(S::B)); }},
        {"addSelectedPoint", Operation::Selector, pointsOf(S::A, {1, 3}),
         [](S &s) { s.selector->addSelectedPoint(4); }},
        {"unselectPoint", Operation::Selector, pointsOf(S::A, {1, 3, 4}),
         [](S &s) { s.selector->unselectPoint(3); }},
        {"addSelectedHandle", Operation::Selector, handlesOf({1}),
         [](S &s) { s.selector->addSelectedHandle(2); }},
        {"unselectHandle", Operation::Selector,
         [](S &s) {
             handlesOf({1})(s);
             s.selector->addSelectedHandle(2);
         },
         [](S &s) { s.selector->unselectHandle(1); }},
        {"selectHandles", Operation::Selector, handlesOf({1}),
         [](S &s) {
             s.selector->selectHandles(indices({3, 0}));
         }},
        {"setShapeParts of the single shape", Operation::Selector, pointsOf(S::E, {1}),
         [](S &s) {
             const Vector<int> points = indices({2, 0});
             const Vector<int> handles = indices({1});
             s.selector->setShapeParts(s.shapes({S::E}).front(), &points, &handles);
         }},
        {"setShapeParts of a shape not selected", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A, S::B}));
         },
         [](S &s) {
             const Vector<int> points = indices({1});
             s.selector->setShapeParts(s.shapes({S::E}).front(), &points, nullptr);
         }},
        {"host insertItem", Operation::Host,
         [](S &s) {
             s.host->replaceAllItems(
                 SnSelection::create(SnSelection::Items{s.objectItem(S::B), s.objectItem(S::E)}));
             s.preparedItems = {s.objectItem(S::D)};
         },
         [](S &s) { s.host->insertItem(1, s.preparedItems.front()); }},
        {"host removeItem", Operation::Host,
         [](S &s) {
             s.host->replaceAllItems(SnSelection::create(
                 SnSelection::Items{s.objectItem(S::B), s.objectItem(S::D), s.objectItem(S::E)}));
         },
         [](S &s) { s.host->removeItem(*s.host->begin()); }},
        {"resetSelection", Operation::Selector, shapesOf({S::A, S::B}),
         [](S &s) { s.selector->resetSelection(); }},
        {"replaceAllItems", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A}));
             List<RCShdPtr<SnItem const>> items;
             for (const int shape : {S::B, S::E}) {
                 items.push_back(RCShdPtr<SnItem const>(
                     new SeShapeItem(RCShdPtr<SnParts>(), s.controller.weak(shape))));
             }
             s.preparedSelection = SnSelection::create(items);
         },
         [](S &s) { s.selector->replaceAllItems(s.preparedSelection); }},
        {"host selection with input items", Operation::Host,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A}));
             const RCShdPtr<PiInput> points =
                 rcDynamicCast<PiStructuredInput>(s.controller.editing(S::E).getCurveInput())
                     ->getInput("Points", 0);
             const RCShdPtr<PiInput> point =
                 rcDynamicCast<PiMultivaluedInput>(points)->getElement(2);
             const RCShdPtr<PiPath> path = PiGraphSearch::heightFirst(
                 s.controller.toolNode(), PiIsPrimaryOutputNode::getPredicate());
             s.preparedItems = {PiSnItem<PiInput>::create(point, path), s.objectItem(S::B),
                                PiSnItem<PiInput>::create(points, path)};
         },
         [](S &s) {
             const SnSelection::Items items(s.preparedItems.begin(), s.preparedItems.end());
             s.host->replaceAllItems(SnSelection::create(items));
         }},
        // Two selected shapes lose their editing side before the removal event of one of them:
        // both leave the selection. Fresh shapes each time, since a deleted one cannot come back.
        {"shape removal with editing sides gone", Operation::Selector,
         [](S &s) {
             const int removed = s.controller.addShape("G", S::nbPoints);
             const int other = s.controller.addShape("H", S::nbPoints);
             s.selector->setSelectedShapes(s.shapes({S::A, removed, S::E, other}));
             s.preparedId = s.controller.shape(removed)->getId();
             s.controller.deleteInterfaceOnly(removed);
             s.controller.deleteInterfaceOnly(other);
         },
         [](S &s) { s.controller.sendRemoval(s.preparedId); }, false},
        // The application's own items, in its selection before the editor's change: the updater
        // compares its mirror with them, which calls into the application.
        {"setSelectedShapes over application items", Operation::Selector,
         [](S &s) {
             s.preparedItems = {PiSnItemUtil::create(s.controller.getNode()),
                                s.applicationItem(S::A), s.applicationItem(S::B)};
             s.host->replaceAllItems(SnSelection::create(
                 SnSelection::Items(s.preparedItems.begin(), s.preparedItems.end())));
         },
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::B, S::E}));
         }},
        {"shape removal over application items", Operation::Selector,
         [](S &s) {
             s.preparedItems = {s.applicationItem(S::A), s.applicationItem(S::B),
                                s.applicationItem(S::E)};
             s.host->replaceAllItems(SnSelection::create(
                 SnSelection::Items(s.preparedItems.begin(), s.preparedItems.end())));
             s.preparedId = s.controller.shape(S::B)->getId();
         },
         [](S &s) { s.controller.sendRemoval(s.preparedId); }},
        // Reads: a fault leaves everything as it was.
        {"getSelectedShapes", Operation::None, shapesOf({S::A, S::B, S::E}),
         [](S &s) {
             Vector<RCShdPtr<SeShape>> shapes;
             s.selector->getSelectedShapes(shapes);
         }},
        {"getSelectedShapeInterfaces", Operation::None, shapesOf({S::A, S::B, S::E}),
         [](S &s) {
             Vector<RCWeakPtr<SeShapeInterface>> shapes;
             s.selector->getSelectedShapeInterfaces(shapes);
         }},
        {"isShapeSelected", Operation::None, shapesOf({S::A, S::B}),
         [](S &s) { s.selector->isShapeSelected(s.controller.shape(S::E)); }},
        {"getPrimarySelectedShape", Operation::None, shapesOf({S::B, S::A}),
         [](S &s) { s.selector->getPrimarySelectedShape(); }},
    };
}

// Every counted call the library makes into the application during a change may raise. The
// selector builds its result aside, so a fault before its write leaves both selections as they
// were; a fault inside the updater's mirroring comes after that write, which stays, while the
// other selection is untouched; in either case no callback runs. A fault in a callback handler
// comes after both writes: the other lists still run and the error reaches the caller. So does a
// fault in an application's observer of either selection (see Operation). The history holds one
// step more exactly when the editor's selection changed, whether it hears of changes before the
// updater or after it, and undoes it. The update guard is down again after every fault, and no
// shape outlives its editor.
TEST(FaultInjectionTest, AFaultAtAnyApplicationCallLeavesConsistentSelections) {
    long nbFaults = 0;
    for (const HistoryOrder order : {HistoryOrder::BeforeUpdater, HistoryOrder::AfterUpdater}) {
        std::cout << "[          ] history attached "
                  << (order == HistoryOrder::BeforeUpdater ? "before" : "after")
                  << " the updater\n";
        for (const Operation &op : operations()) {
            const int nbLiveShapes = VoTest::TestShape::getNbLive();
            const long nbCalls = injectEveryFault(op, order);
            EXPECT_EQ(VoTest::TestShape::getNbLive(), nbLiveShapes) << op.name;
            // A read of the weak pointers the selector holds calls nothing in the application.
            EXPECT_TRUE(nbCalls > 0 || op.committing == Operation::None) << op.name;
            nbFaults += nbCalls;
            std::cout << "[          ] " << op.name << ": " << nbCalls << " faults\n";
        }
    }
    std::cout << "[          ] " << operations().size() << " operations twice, " << nbFaults
              << " faults\n";
    RecordProperty("injectedFaults", static_cast<int>(nbFaults));
}

// Building the updater calls getShapeSelector, getGraph, getNode and addShapeEventCb. A fault at
// any of them raises from the constructor and leaves nothing behind: no observer on either
// selection, no handler at the controller, no mirroring; an updater built afterwards works.
TEST(FaultInjectionTest, AFaultWhileTheUpdaterIsBuiltLeavesNothingSubscribed) {
    FaultScene scene;
    scene.updater = RCShdPtr<SeSelectorUpdater>();
    const auto build = [&scene] {
        return RCShdPtr<SeSelectorUpdater>(new SeSelectorUpdater(
            scene.controller,
            RCShdPtr<PrdPredicateImp<RCShdPtr<SnItem const>>>(new VoTest::TestItemPredicate)));
    };
    const int hostObservers = scene.host->getSubject().getNbObservers();
    const int selectorObservers = scene.selector->getSelection()->getSubject().getNbObservers();
    const int removalHandlers = scene.controller.removals().getNbHandlers();
    TestFaults::arm(0);
    build();
    const long nbCalls = TestFaults::calls();
    EXPECT_GE(nbCalls, 4);
    for (long nth = 1; nth <= nbCalls; ++nth) {
        const std::string context = "fault " + std::to_string(nth);
        TestFaults::arm(nth);
        EXPECT_THROW(build(), RCExNullPtr) << context;
        TestFaults::disarm();
        EXPECT_EQ(scene.host->getSubject().getNbObservers(), hostObservers) << context;
        EXPECT_EQ(scene.selector->getSelection()->getSubject().getNbObservers(), selectorObservers)
            << context;
        EXPECT_EQ(scene.controller.removals().getNbHandlers(), removalHandlers) << context;
        scene.selector->setSelectedShapes(scene.shapes({FaultScene::A}));
        EXPECT_TRUE(scene.host->isEmpty()) << context;
        EXPECT_TRUE(scene.log.empty()) << context;
        scene.selector->resetSelection();
    }
    scene.updater = build();
    expectMirroringWorks(scene, "after the faults");
    std::cout << "[          ] building the updater: " << nbCalls << " faults\n";
}

// Every operation of the iterator facade on an engine shared by a copy: a fault in the engine, its
// clone included, leaves the iterator and the copy where they were.
TEST(FaultInjectionTest, AFaultInAnIteratorEngineLeavesEveryIteratorWhereItWas) {
    using Shapes = Iterator<RCShdPtr<SeShape>>;
    FaultScene scene;
    const std::vector<RCShdPtr<SeShape>> all = {scene.controller.shape(FaultScene::A),
                                                scene.controller.shape(FaultScene::B),
                                                scene.controller.shape(FaultScene::D)};
    const std::vector<std::pair<std::string, std::function<void(Shapes &)>>> operations = {
        {"first", [](Shapes &it) { it.first(); }},
        {"last", [](Shapes &it) { it.last(); }},
        {"end", [](Shapes &it) { it.end(); }},
        {"next", [](Shapes &it) { it.next(); }},
        {"previous", [](Shapes &it) { it.previous(); }},
        {"post-increment", [](Shapes &it) { it++; }},
        {"post-decrement", [](Shapes &it) { it--; }},
        {"atBegin", [](Shapes &it) { static_cast<const Shapes &>(it).atBegin(); }},
        {"atEnd", [](Shapes &it) { static_cast<const Shapes &>(it).atEnd(); }},
        {"item", [](Shapes &it) { static_cast<const Shapes &>(it).item(); }},
        {"writable item", [](Shapes &it) { it.item(); }},
        {"getCardinality", [](Shapes &it) { it.getCardinality(); }},
    };
    // Where an iterator stands, read without faults: the shape there, or null at the end.
    const auto where = [](const Shapes &it) {
        return it.atEnd() ? RCShdPtr<SeShape>() : it.item();
    };
    long nbFaults = 0;
    for (const auto &[name, operation] : operations) {
        for (long nth = 1;; ++nth) {
            Shapes shapes = VoTest::TestShapeIterator::over(all);
            shapes.next();
            const Shapes copy(shapes); // shares the engine: a move clones first
            TestFaults::arm(nth);
            bool raised = false;
            try {
                operation(shapes);
            } catch (const RCExNullPtr &) {
                raised = true;
            }
            TestFaults::disarm();
            if (!raised) {
                break;
            }
            ++nbFaults;
            EXPECT_EQ(where(shapes), all[1]) << name << " fault " << nth;
            EXPECT_EQ(where(copy), all[1]) << name << " fault " << nth;
        }
    }
    EXPECT_GE(nbFaults, static_cast<long>(operations.size()));
    std::cout << "[          ] iterator operations: " << nbFaults << " faults\n";
    RecordProperty("injectedFaults", static_cast<int>(nbFaults));
}

// Changes that commit through the selector's restorable commit: a batch and the history's
// restores. Every fault before the announcement leaves both selections as they were and runs no
// callback, whether it comes before the commit (the batch is abandoned) or within its mirroring
// (the selector puts its selection back and the updater mirrors that without callbacks); the
// history keeps its steps.
std::vector<Operation> undoneOperations() {
    using S = FaultScene;
    const auto twoSteps = [](S &s) {
        s.selector->setSelectedShapes(s.shapes({S::A}));
        s.selector->setSelectedShapes(s.shapes({S::B, S::E}));
        s.history.clear();
        s.selector->selectPoint(1);
        s.selector->setPrimarySelectedShape(s.controller.shape(S::E), 2);
        s.selector->selectHandle(1);
        s.preparedId = s.controller.shape(S::A)->getId();
    };
    return {
        {"batch", Operation::Selector, twoSteps,
         [](S &s) {
             SeSelectionBatch batch(s.selector);
             s.selector->setSelectedShapes(s.shapes({S::A, S::B, S::D}));
             s.controller.sendRemoval(s.preparedId);
             s.selector->selectPoint(3);
             SeSelectionBatch inner(s.selector);
             s.selector->updateSelectionPointAdded(s.controller.weak(S::B), 0);
             inner.commit();
             batch.commit();
         }},
        // The removal is still pending at the commit: the commit settles it, and a fault there
        // abandons the batch.
        {"batch ending in a removal", Operation::Selector, twoSteps,
         [](S &s) {
             SeSelectionBatch batch(s.selector);
             s.selector->setSelectedShapes(s.shapes({S::A, S::B, S::D}));
             s.controller.sendRemoval(s.preparedId);
             batch.commit();
         }},
        {"undo", Operation::Selector, twoSteps, [](S &s) { s.history.undo(); }},
        // Steps of one item, undone as the splice they were.
        {"undo of one added point", Operation::Selector,
         [](S &s) {
             pointsOf(S::A, {1, 3})(s);
             s.selector->addSelectedPoint(4);
         },
         [](S &s) { s.history.undo(); }},
        {"undo of one unselected shape", Operation::Selector,
         [](S &s) {
             shapesOf({S::A, S::B, S::D})(s);
             s.selector->unselectShape(s.controller.shape(S::B));
         },
         [](S &s) { s.history.undo(); }},
        {"redo", Operation::Selector,
         [twoSteps](S &s) {
             twoSteps(s);
             s.history.undo();
             s.history.undo();
         },
         [](S &s) { s.history.redo(); }},
    };
}

// A fault in a callback handler, or in an observer of the editor's selection, comes after the
// change was announced: the change then stands, as for any other change, and the error reaches the
// caller. A fault in an observer of the application's selection comes within the mirroring. The
// history is where the change leaves it, in either attach order.
TEST(FaultInjectionTest, AFaultInABatchOrARestoreLeavesBothSelectionsAsTheyWere) {
    for (const HistoryOrder order : {HistoryOrder::BeforeUpdater, HistoryOrder::AfterUpdater}) {
        for (const Operation &op : undoneOperations()) {
            FaultScene scene(order);
            prepare(op, scene);
            const NormalRun normal = runNormally(op, scene);
            EXPECT_GT(normal.nbCalls, 0) << op.name;
            ASSERT_FALSE(normal.callbackCalls.empty()) << op.name;
            for (long nth = 1; nth <= normal.nbCalls; ++nth) {
                const std::string context =
                    op.name + " fault " + std::to_string(nth) +
                    (order == HistoryOrder::BeforeUpdater ? ", history first" : ", history last");
                prepare(op, scene);
                const Outcome before = snapshot(scene);
                const Steps stepsBefore = stepsOf(scene.history);
                EXPECT_TRUE(runArmed(op, scene, nth)) << context;
                const auto callback =
                    std::find(normal.callbackCalls.begin(), normal.callbackCalls.end(), nth);
                const bool inCallback = callback != normal.callbackCalls.end();
                const bool inEditorObserver = contains(normal.committingObserverCalls, nth);
                const bool announced = inCallback || inEditorObserver;
                const Outcome &expected = announced ? normal.committed : before;
                EXPECT_TRUE(scene.selector->getSelection()->isEqual(expected.selector)) << context;
                EXPECT_TRUE(scene.host->isEqual(expected.host)) << context;
                const std::vector<std::string> expectedLog =
                    inCallback
                        ? without(normal.log,
                                  static_cast<std::size_t>(callback - normal.callbackCalls.begin()))
                    : inEditorObserver ? normal.log
                                       : std::vector<std::string>();
                EXPECT_EQ(scene.log, expectedLog) << context;
                EXPECT_FALSE(scene.selector->isBatchOpen()) << context;
                expectHistoryConsistent(scene, before, stepsBefore, normal, false, context);
                expectMirroringWorks(scene, context);
            }
        }
    }
}

// Memory may run out at any allocation inside any operation of both sweeps, the library's own, the
// application's and the observers' alike: see failEveryAllocation for what must hold then. The
// test binary's allocator fails the chosen allocation; the suite's run under LeakSanitizer tells a
// failure that leaks.
TEST(FaultInjectionTest, AnAllocationFailureAnywhereLeavesConsistentSelections) {
    std::vector<Operation> sweep = operations();
    for (Operation &op : undoneOperations()) {
        sweep.push_back(std::move(op));
    }
    long nbFailures = 0;
    for (const HistoryOrder order : {HistoryOrder::BeforeUpdater, HistoryOrder::AfterUpdater}) {
        std::cout << "[          ] history attached "
                  << (order == HistoryOrder::BeforeUpdater ? "before" : "after")
                  << " the updater\n";
        for (const Operation &op : sweep) {
            const int nbLiveShapes = VoTest::TestShape::getNbLive();
            const long nbAllocations = failEveryAllocation(op, order);
            EXPECT_EQ(VoTest::TestShape::getNbLive(), nbLiveShapes) << op.name;
            EXPECT_TRUE(nbAllocations > 0 || op.committing == Operation::None) << op.name;
            nbFailures += nbAllocations;
            std::cout << "[          ] " << op.name << ": " << nbAllocations
                      << " allocation failures\n";
        }
    }
    std::cout << "[          ] " << sweep.size() << " operations twice, " << nbFailures
              << " allocation failures\n";
    RecordProperty("allocationFailures", static_cast<int>(nbFailures));
}

} // namespace
