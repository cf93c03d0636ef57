#include "SeSelectorUpdater.h"
#include "SeShape.h"
#include "SeShapeSelector.h"
#include "app/TestCallRecorder.h"
#include "app/TestController.h"
#include "app/TestFaults.h"
#include "app/TestItemPredicate.h"
#include "app/TestShape.h"
#include "app/TestShapeIterator.h"

#include "foundation/Iterator.h"
#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/ObObserver.h"
#include "host/ObSubject.h"
#include "host/PiGraphObjectSnItemConst.h"
#include "host/PiSnItemUtil.h"
#include "host/PrdPredicateImp.h"
#include "host/RCExNullPtr.h"
#include "host/SnItem.h"
#include "host/SnSelection.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
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

// One editor with shapes A, B (multi-valued "Points"), D (one single-valued "Points") and E (a
// gradient as well), its updater, recorders on the selector's three callback lists and commit
// probes on both selections.
struct FaultScene {
    enum ShapeIndex { A, B, D, E };
    static constexpr int nbPoints = 6;
    static constexpr int nbHandles = 4;

    FaultScene() {
        controller.addShape("A", nbPoints);
        controller.addShape("B", nbPoints);
        controller.addShape("D", nbPoints, 0, true);
        controller.addShape("E", nbPoints, nbHandles);
        selector->addPrimarySelectionChangedCallback(&primaryCalls);
        selector->addShapeSelectionChangedCallback(&shapeCalls);
        selector->addSelectionChangedCallback(&selectionCalls);
        updater = RCShdPtr<SeSelectorUpdater>(new SeSelectorUpdater(
            controller,
            RCShdPtr<PrdPredicateImp<RCShdPtr<SnItem const>>>(new VoTest::TestItemPredicate)));
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

    VoTest::TestController controller;
    RCShdPtr<SeShapeSelector> selector = controller.getShapeSelector();
    RCShdPtr<SnSelection> host = controller.hostSelection();
    CommitProbe selectorProbe{*selector->getSelection()};
    CommitProbe hostProbe{*host};
    std::vector<std::string> log;
    VoTest::TestCallRecorder primaryCalls{"primary", log};
    VoTest::TestCallRecorder shapeCalls{"shapes", log};
    VoTest::TestCallRecorder selectionCalls{"selection", log};
    RCShdPtr<SeSelectorUpdater> updater;
    // What a start prepares for its run, so that the run itself makes no counted call of its own.
    std::vector<RCShdPtr<SnItem const>> preparedItems;
    int preparedId = 0;
};

// An operation under fault injection. The committing side is the selection the operation writes
// first; the updater mirrors that write into the other one from within the write's notification.
// A fault before the write leaves both selections as they were; a fault in the updater leaves the
// write in place (the selector, or the application, has committed) and the other side as it was.
struct Operation {
    enum Side { Selector, Host };
    std::string name;
    Side committing;
    std::function<void(FaultScene &)> start;
    std::function<void(FaultScene &)> run;
};

struct Outcome {
    RCShdPtr<SnSelection const> selector;
    RCShdPtr<SnSelection const> host;
};

Outcome snapshot(const FaultScene &scene) {
    return {RCShdPtr<SnSelection const>(scene.selector->getSelection()->clone()),
            RCShdPtr<SnSelection const>(scene.host->clone())};
}

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
// emptied first, so that the start's own change of the editor's selection is mirrored in full.
void prepare(const Operation &op, FaultScene &scene) {
    scene.host->replaceAllItems(SnSelection::create());
    scene.selector->resetSelection();
    op.start(scene);
    scene.log.clear();
    scene.selectorProbe.reset();
    scene.hostProbe.reset();
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

// Injects a fault at every counted call the operation makes, one run each from the restored
// starting state; returns their number.
long injectEveryFault(const Operation &op) {
    FaultScene scene;
    prepare(op, scene);
    const Outcome start = snapshot(scene);
    EXPECT_FALSE(runArmed(op, scene, 0)) << op.name;
    const long nbCalls = TestFaults::calls();
    const CommitProbe &probe =
        op.committing == Operation::Selector ? scene.selectorProbe : scene.hostProbe;
    const long callsBeforeCommit = probe.getCallsBefore();
    const Outcome committed = snapshot(scene);
    EXPECT_GE(callsBeforeCommit, 0) << op.name << " commits nothing";
    EXPECT_FALSE(committed.selector->isEqual(start.selector)) << op.name;
    EXPECT_FALSE(committed.host->isEqual(start.host)) << op.name;
    EXPECT_FALSE(scene.log.empty()) << op.name;
    EXPECT_GT(nbCalls, callsBeforeCommit) << op.name << " has no fault after its commit";
    for (long nth = 1; nth <= nbCalls; ++nth) {
        const std::string context = op.name + " fault " + std::to_string(nth);
        prepare(op, scene);
        const Outcome before = snapshot(scene);
        EXPECT_TRUE(before.selector->isEqual(start.selector)) << context;
        EXPECT_TRUE(before.host->isEqual(start.host)) << context;
        // The run repeats the counted one up to the fault, so the fault is always reached.
        EXPECT_TRUE(runArmed(op, scene, nth)) << context;
        const bool afterCommit = nth > callsBeforeCommit;
        const bool selectorCommitted = afterCommit && op.committing == Operation::Selector;
        const bool hostCommitted = afterCommit && op.committing == Operation::Host;
        EXPECT_TRUE(scene.selector->getSelection()->isEqual(selectorCommitted ? committed.selector
                                                                              : before.selector))
            << context;
        EXPECT_TRUE(scene.host->isEqual(hostCommitted ? committed.host : before.host)) << context;
        EXPECT_TRUE(scene.log.empty()) << context;
        expectMirroringWorks(scene, context);
    }
    return nbCalls;
}

// The selector commits every operation but the host selection, which is the application's own
// write: the updater then reaches findShape and getShapeInterface only after it. The removal event
// comes while the removed shape's editing side is still alive, so the scene can be restored.
std::vector<Operation> operations() {
    using S = FaultScene;
    return {
        {"selectPoint", Operation::Selector,
         [](S &s) { s.selector->setSelectedShapes(s.shapes({S::A})); },
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
        {"updateSelectionPointAdded", Operation::Selector,
         [](S &s) {
             s.selector->setSelectedShapes(s.shapes({S::A}));
             Vector<int> points;
             points.push_back(1);
             points.push_back(3);
             s.selector->selectPoints(points);
         },
         [](S &s) { s.selector->updateSelectionPointAdded(s.controller.weak(S::A), 2); }},
    };
}

// Every counted call the library makes into the application during a change may raise. The
// selector builds its result aside, so a fault before its write leaves both selections as they
// were; a fault inside the updater's mirroring comes after that write, which stays, while the
// other selection is untouched. Either way no callback runs, the update guard is down again, and
// no shape outlives its editor.
TEST(FaultInjectionTest, AFaultAtAnyApplicationCallLeavesConsistentSelections) {
    long nbFaults = 0;
    for (const Operation &op : operations()) {
        const int nbLiveShapes = VoTest::TestShape::getNbLive();
        const long nbCalls = injectEveryFault(op);
        EXPECT_EQ(VoTest::TestShape::getNbLive(), nbLiveShapes) << op.name;
        EXPECT_GT(nbCalls, 0) << op.name;
        nbFaults += nbCalls;
    }
    RecordProperty("injectedFaults", static_cast<int>(nbFaults));
}

} // namespace
