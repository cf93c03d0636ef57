#pragma once

#include "BenchScene.h"

#include "SeSelectionHistory.h"
#include "SeShapeSelector.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/selection/SnSelection.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// One-item changes against a selection of n: each workload builds an editor with its updater and
// history (not measured), then gives a change and its way back, which together leave the scene as
// they found it, so that the pair can be measured again and again. Shared by the benchmarks and
// the complexity guard's "one-item change" class.
namespace VoOneItem {

// A scene and the pair of changes measured on it; setUp, when given, runs before each pair and is
// not measured: it brings the scene into the order the pair is measured in (a whole change made
// just before, an object of another scene ended).
struct Toggle {
    std::shared_ptr<void> scene;
    std::function<void()> change;
    std::function<void()> back;
    std::function<void()> setUp = {};
};

// What the guard holds a workload to, from 10^3 to 10^5: O(1) (its instructions grow under 2x);
// O(1) beside the selection lists (the same, once the instructions of the application's and the
// editor's contiguous item lists are left out: their memmove of the later pointers when an item
// leaves or enters the middle, and SnSelection::removeItem's look-up from the front); or nothing,
// its growth only recorded.
enum class Growth { constant, constantBesideTheLists, recorded };

struct Workload {
    const char *name;
    Toggle (*prepare)(int n);
    Growth growth;
    bool hasSetUp = false; // its toggle brings a set-up (measured without it)
};

inline void check(bool holds, const char *what) {
    if (!holds) {
        throw std::runtime_error(what);
    }
}

// An editor with n + 1 shapes of `points` points each, the history attached.
struct Scene {
    Scene(int n, int points) : editor(n + 1, points), history(editor.selector) {}
    VoBench::SceneEditor editor;
    Vo::SeSelectionHistory history;
};

// A scene of n + 1 shapes, the first n of them selected.
inline std::shared_ptr<Scene> sceneWithShapesSelected(int n) {
    auto scene = std::make_shared<Scene>(n, 1);
    scene->editor.selector->setSelectedShapes(scene->editor.firstShapes(n));
    return scene;
}

// The first n of n + 1 shapes selected; the last one comes in and goes out.
inline Toggle shapeAtTheEnd(int n) {
    auto scene = sceneWithShapesSelected(n);
    Vo::SeShapeSelector &selector = *scene->editor.selector;
    const Vo::RCShdPtr<Vo::SeShape> last = scene->editor.shape(n);
    return {scene, [&selector, last] { selector.addSelectedShape(last); },
            [&selector, last] {
                selector.unselectShape(last);
                check(selector.getNbSelectedShape() > 0, "shape not unselected");
            }};
}

// The whole list passed again with one shape more, then without it: the selector reads the n
// shapes (O(n)) and changes the selection by the one that differs.
inline Toggle listWithOneShapeMore(int n) {
    auto scene = std::make_shared<Scene>(n, 1);
    Vo::SeShapeSelector &selector = *scene->editor.selector;
    const Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> shorter = scene->editor.firstShapes(n);
    const Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> longer = scene->editor.firstShapes(n + 1);
    selector.setSelectedShapes(shorter);
    return {scene, [&selector, longer] { selector.setSelectedShapes(longer); },
            [&selector, shorter, n] {
                selector.setSelectedShapes(shorter);
                check(selector.getNbSelectedShape() == n, "shape not unselected");
            }};
}

// The shape in the middle of n selected ones goes out, and the history brings it back.
inline Toggle shapeInTheMiddleAndUndo(int n) {
    auto scene = sceneWithShapesSelected(n);
    Vo::SeShapeSelector &selector = *scene->editor.selector;
    const Vo::RCShdPtr<Vo::SeShape> middle = scene->editor.shape(n / 2);
    Vo::SeSelectionHistory &history = scene->history;
    return {scene, [&selector, middle] { selector.unselectShape(middle); },
            [&history] { check(history.undo(), "nothing to undo"); }};
}

// Undo and redo of a step that added one shape to n selected ones.
inline Toggle undoRedoOneShape(int n) {
    auto scene = sceneWithShapesSelected(n);
    Vo::SeShapeSelector &selector = *scene->editor.selector;
    selector.addSelectedShape(scene->editor.shape(n));
    Vo::SeSelectionHistory &history = scene->history;
    return {scene, [&history] { check(history.undo(), "nothing to undo"); },
            [&history] { check(history.redo(), "nothing to redo"); }};
}

// The application appends the object of the scene's shape n to its selection, then takes it out.
inline Toggle objectOfShapeInAndOut(const std::shared_ptr<Scene> &scene, int n) {
    const Vo::RCShdPtr<Vo::SnSelection> host = scene->editor.hostSelection();
    const Vo::RCShdPtr<Vo::SnItem const> item =
        Vo::PiSnItemUtil::createFromBase(scene->editor.object(n));
    return {scene, [host, item] { host->insertItem(host->getNbItems(), item); },
            [host, item] { check(host->removeItem(item), "item not there"); }};
}

// The application appends the object of one more shape to its selection of n, then takes it out.
inline Toggle applicationItemAtTheEnd(int n) {
    auto scene = std::make_shared<Scene>(n, 1);
    VoBench::SceneEditor &editor = scene->editor;
    Vo::Vector<Vo::RCShdPtr<Vo::SnItem const>> items;
    for (int i = 0; i < n; ++i) {
        items.push_back(Vo::PiSnItemUtil::createFromBase(editor.object(i)));
    }
    editor.hostSelection()->replaceAllItems(Vo::SnSelection::createTaking(std::move(items)));
    return objectOfShapeInAndOut(scene, n);
}

// Of n selected shapes, the last one's removal event comes (the shape itself stays, as when the
// application hides it from the editor), then the shape is selected again.
inline Toggle removalEventAndBack(int n) {
    auto scene = sceneWithShapesSelected(n);
    VoBench::SceneEditor &editor = scene->editor;
    Vo::SeShapeSelector &selector = *editor.selector;
    const Vo::RCShdPtr<Vo::SeShape> last = editor.shape(n - 1);
    return {scene, [&editor, last] { editor.sendRemoval(last->getId()); },
            [&selector, last] {
                check(!selector.isShapeSelected(last), "removal event not applied");
                selector.addSelectedShape(last);
            }};
}

// Of n selected shapes, the first (the primary one, with a point selected) gets its removal event,
// then the history brings it back, point and all.
inline Toggle removalOfThePrimaryAndUndo(int n) {
    auto scene = std::make_shared<Scene>(n, 2);
    VoBench::SceneEditor &editor = scene->editor;
    Vo::SeShapeSelector &selector = *editor.selector;
    selector.setSelectedShapes(editor.firstShapes(n));
    selector.addSelectedPoint(1);
    const Vo::RCShdPtr<Vo::SeShape> primary = editor.shape(0);
    Vo::SeSelectionHistory &history = scene->history;
    return {scene, [&editor, primary] { editor.sendRemoval(primary->getId()); },
            [&selector, &history] {
                check(history.undo(), "nothing to undo");
                check(selector.getSelection()->getPrimaryItem()->hasParts(), "point not back");
            }};
}

// One shape with n + 1 points, the first n selected in order; the last comes in and goes out.
inline Toggle pointAtTheEnd(int n) {
    auto scene = std::make_shared<Scene>(0, n + 1);
    Vo::SeShapeSelector &selector = *scene->editor.selector;
    selector.selectAllPoints(n);
    return {scene, [&selector, n] { selector.addSelectedPoint(n); },
            [&selector, n] { selector.unselectPoint(n); }};
}

// Undo and redo of a step that appended one point to n selected ones.
inline Toggle undoRedoOnePoint(int n) {
    auto scene = std::make_shared<Scene>(0, n + 1);
    Vo::SeShapeSelector &selector = *scene->editor.selector;
    selector.selectAllPoints(n);
    selector.addSelectedPoint(n);
    Vo::SeSelectionHistory &history = scene->history;
    return {scene, [&history] { check(history.undo(), "nothing to undo"); },
            [&history] { check(history.redo(), "nothing to redo"); }};
}

// Of n selected points, the middle one's element is deleted from the graph, then inserted again:
// the application's report renumbers the selection each time.
inline Toggle pointDeletedAndInserted(int n) {
    auto scene = std::make_shared<Scene>(0, n);
    VoBench::SceneEditor &editor = scene->editor;
    Vo::SeShapeSelector &selector = *editor.selector;
    selector.selectAllPoints(n);
    const Vo::RCShdPtr<Vo::PiMultivaluedInput> points = editor.points(0);
    const Vo::RCWeakPtr<Vo::SeShapeInterface> shape = editor.shapeInterface(0);
    const int middle = n / 2;
    return {scene,
            [&selector, points, shape, middle] {
                points->removeElement(middle);
                selector.updateSelectionPointDeleted(shape, middle);
            },
            [&selector, points, shape, middle] {
                points->insertElement(middle);
                selector.updateSelectionPointAdded(shape, middle);
                selector.addSelectedPoint(middle);
            }};
}

// The first of n + 1 shapes come in by one whole list (setSelectedShapes, after the selection was
// emptied), then the last one comes in and goes out: the first one-item changes after a whole one.
// The history is kept at its depth, as in an editor that has run a while (a depth of 4, so that
// the guard's few pairs reach it): each change drops the step recorded four changes before, and
// the first one-item change lets go of the step the whole list dropped.
inline Toggle firstShapeAfterAWholeList(int n) {
    auto scene = std::make_shared<Scene>(n, 1);
    scene->history.setDepth(4);
    Vo::SeShapeSelector &selector = *scene->editor.selector;
    const Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> whole = scene->editor.firstShapes(n);
    const Vo::RCShdPtr<Vo::SeShape> last = scene->editor.shape(n);
    return {scene, [&selector, last] { selector.addSelectedShape(last); },
            [&selector, last] {
                selector.unselectShape(last);
                check(selector.getNbSelectedShape() > 0, "shape not unselected");
            },
            [&selector, whole] {
                selector.resetSelection();
                selector.setSelectedShapes(whole);
            }};
}

// Another editor, on a graph of its own, with a few shapes all selected: one of them is deleted
// the application's way (its editing side released, then its removal event), and a new one takes
// its place, selected there too.
class OtherScene {
public:
    OtherScene() : editor(kShapes, 1) {
        editor.selector->setSelectedShapes(editor.firstShapes(kShapes));
    }
    void endOneShape() {
        editor.deleteShape(last);
        last = editor.appendShape(1);
        editor.selector->addSelectedShape(editor.shape(last));
    }

private:
    static constexpr int kShapes = 4;
    VoBench::SceneEditor editor;
    int last = kShapes - 1;
};

// A scene and the other editor whose shape ends before each pair.
struct SceneBesideAnother {
    SceneBesideAnother(int n, int points) : scene(n, points) {}
    Scene scene;
    OtherScene other;
};

// Undo and redo of a step that added one shape to n selected ones, each pair right after a shape of
// another editor ended.
inline Toggle undoRedoAfterAnotherSceneEnded(int n) {
    auto both = std::make_shared<SceneBesideAnother>(n, 1);
    Vo::SeShapeSelector &selector = *both->scene.editor.selector;
    selector.setSelectedShapes(both->scene.editor.firstShapes(n));
    selector.addSelectedShape(both->scene.editor.shape(n));
    Vo::SeSelectionHistory &history = both->scene.history;
    OtherScene &other = both->other;
    return {both, [&history] { check(history.undo(), "nothing to undo"); },
            [&history] { check(history.redo(), "nothing to redo"); },
            [&other] { other.endOneShape(); }};
}

// One shape with n + 1 points, the first n selected; the last comes in and goes out, each pair
// right after a shape of another editor ended.
inline Toggle pointAfterAnotherSceneEnded(int n) {
    auto both = std::make_shared<SceneBesideAnother>(0, n + 1);
    Vo::SeShapeSelector &selector = *both->scene.editor.selector;
    selector.selectAllPoints(n);
    OtherScene &other = both->other;
    return {both, [&selector, n] { selector.addSelectedPoint(n); },
            [&selector, n] { selector.unselectPoint(n); }, [&other] { other.endOneShape(); }};
}

// The editor selected n shapes, so the application's selection holds the editor's node item and
// their objects; the application appends the object of one more shape, then takes it out.
inline Toggle applicationItemBesideTheEditorNode(int n) {
    auto scene = sceneWithShapesSelected(n);
    check(scene->editor.hostSelection()->getNbItems() == n + 1, "the editor's node item missing");
    return objectOfShapeInAndOut(scene, n);
}

// Of n selected shapes, the last one is deleted the example application's way (its editing side
// released, then its removal event); then a new shape is made and selected after the others.
inline Toggle removalOfAReleasedShape(int n) {
    auto scene = sceneWithShapesSelected(n);
    VoBench::SceneEditor &editor = scene->editor;
    Vo::SeShapeSelector &selector = *editor.selector;
    auto last = std::make_shared<int>(n - 1);
    return {scene,
            [&editor, &selector, last, n] {
                editor.deleteShape(*last);
                check(selector.getNbSelectedShape() == n - 1, "deleted shape still selected");
            },
            [&editor, &selector, last] {
                *last = editor.appendShape(1);
                selector.addSelectedShape(editor.shape(*last));
            }};
}

inline const std::vector<Workload> &workloads() {
    static const std::vector<Workload> all{
        {"OneItemShapeAtTheEnd", shapeAtTheEnd, Growth::constant},
        {"OneItemUndoRedoOfOneShape", undoRedoOneShape, Growth::constant},
        {"OneItemShapeInTheMiddleThenUndo", shapeInTheMiddleAndUndo,
         Growth::constantBesideTheLists},
        {"OneItemListWithOneShapeMore", listWithOneShapeMore, Growth::recorded},
        {"OneItemApplicationItemAtTheEnd", applicationItemAtTheEnd, Growth::constant},
        {"OneItemRemovalEventThenBack", removalEventAndBack, Growth::constant},
        {"OneItemRemovalOfThePrimaryThenUndo", removalOfThePrimaryAndUndo,
         Growth::constantBesideTheLists},
        {"OneItemPointAtTheEnd", pointAtTheEnd, Growth::constant},
        {"OneItemUndoRedoOfOnePoint", undoRedoOnePoint, Growth::constant},
        {"OneItemPointDeletedThenInserted", pointDeletedAndInserted, Growth::recorded},
        {"OneItemFirstShapeAfterAWholeList", firstShapeAfterAWholeList, Growth::constant, true},
        {"OneItemUndoRedoAfterAnotherSceneEnded", undoRedoAfterAnotherSceneEnded, Growth::constant,
         true},
        {"OneItemPointAfterAnotherSceneEnded", pointAfterAnotherSceneEnded, Growth::constant, true},
        {"OneItemApplicationItemBesideTheEditorNode", applicationItemBesideTheEditorNode,
         Growth::constant},
        {"OneItemRemovalOfAReleasedShape", removalOfAReleasedShape, Growth::constant},
    };
    return all;
}

} // namespace VoOneItem
