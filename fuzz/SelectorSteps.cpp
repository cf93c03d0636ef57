// The selection fuzzer's selector operations: each is run on the reference model and on the
// step's editor, with shapes of the editor's layer and indices that may lie outside the shape.

#include "ModelItem.h"
#include "ModelSelection.h"
#include "ReferenceModel.h"
#include "SelectionStep.h"

#include "SeShape.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnSelection.h"

#include <string>
#include <vector>

namespace VoFuzz {

namespace {

using Selector = Vo::SeShapeSelector;

Vo::RCShdPtr<Vo::SeShape> shapeOf(const SelectionStep &step, const std::string &name) {
    return step.scene.shape(name)->getShape();
}

void runSetShapes(SelectionStep &step) {
    std::vector<std::string> names;
    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> shapes;
    for (int count = step.in.next() % 4; count > 0; --count) {
        const std::string name = step.pickShape(step.e);
        if (!name.empty()) {
            names.push_back(name);
            shapes.push_back(shapeOf(step, name));
        }
    }
    step.say("setSelectedShapes " + SelectionStep::join(names, " "));
    step.runSelector([=](const ModelItems &) { return ModelSelection::wholes(names); },
                     [&](Selector &selector) { selector.setSelectedShapes(shapes); });
}

// One shape of the layer: made primary alone (with a point, maybe one it lacks), added, taken out.
void runOneShape(SelectionStep &step, int kind) {
    const std::string name = step.pickShape(step.e);
    const std::uint8_t argument = step.in.next();
    if (name.empty()) {
        return;
    }
    const Vo::RCShdPtr<Vo::SeShape> shape = shapeOf(step, name);
    if (kind == 0) {
        const int points = step.model().getShapes().get(name).points;
        const int point = argument % 2 == 0 ? -1 : (argument / 2) % (points + 2);
        step.say("setPrimarySelectedShape " + name, {point});
        step.runSelector(
            [=](const ModelItems &) { return ModelSelection::primaryAlone(name, point); },
            [&](Selector &selector) { selector.setPrimarySelectedShape(shape, point); });
    } else if (kind == 1) {
        step.say("addSelectedShape " + name);
        step.runSelector(
            [=](const ModelItems &items) { return ModelSelection::addShape(items, name); },
            [&](Selector &selector) { selector.addSelectedShape(shape); });
    } else {
        step.say("unselectShape " + name);
        step.runSelector(
            [=](const ModelItems &items) { return ModelSelection::unselectShape(items, name); },
            [&](Selector &selector) { selector.unselectShape(shape); });
    }
}

// The operations on the primary shape that take one index, and their names.
struct IndexOperation {
    const char *name;
    ModelItems (*model)(ModelItems, bool, int);
    void (Selector::*points)(int);
    void (Selector::*handles)(int);
};

ModelItems selectOne(ModelItems items, bool points, int index) {
    return ModelSelection::selectIndices(std::move(items), points, {index});
}
ModelItems selectNext(ModelItems items, bool points, int count) {
    return ModelSelection::selectNeighbour(std::move(items), points, count, true);
}
ModelItems selectPrevious(ModelItems items, bool points, int count) {
    return ModelSelection::selectNeighbour(std::move(items), points, count, false);
}

const IndexOperation indexOperations[] = {
    {"select", &selectOne, &Selector::selectPoint, &Selector::selectHandle},
    {"selectAll", &ModelSelection::selectAllIndices, &Selector::selectAllPoints,
     &Selector::selectAllHandles},
    {"selectNext", &selectNext, &Selector::selectNextPoint, &Selector::selectNextHandle},
    {"selectPrevious", &selectPrevious, &Selector::selectPreviousPoint,
     &Selector::selectPreviousHandle},
    {"addSelected", &ModelSelection::addIndex, &Selector::addSelectedPoint,
     &Selector::addSelectedHandle},
    {"unselect", &ModelSelection::unselectIndex, &Selector::unselectPoint,
     &Selector::unselectHandle},
};

// A live shape of the step's layer, and points and handles drawn for it, up to one past its
// last: either set may be given or left out (null). The bytes are read whether or not a shape is
// left; the name is empty then.
struct DrawnParts {
    explicit DrawnParts(SelectionStep &step) : name(step.pickShape(step.e)) {
        const std::uint8_t mode = step.in.next();
        const ModelShapes::Shape *shape =
            name.empty() ? nullptr : &step.model().getShapes().get(name);
        points = step.drawIndices(3, (shape == nullptr ? 0 : shape->points) + 2);
        handles = step.drawIndices(2, (shape == nullptr ? 0 : shape->handles) + 2);
        givesPoints = (mode & 1U) != 0;
        givesHandles = (mode & 2U) != 0;
        libraryPoints.assign(points.begin(), points.end());
        libraryHandles.assign(handles.begin(), handles.end());
    }
    const std::vector<int> *modelPoints() const { return givesPoints ? &points : nullptr; }
    const std::vector<int> *modelHandles() const { return givesHandles ? &handles : nullptr; }
    const Vo::Vector<int> *pointsGiven() const { return givesPoints ? &libraryPoints : nullptr; }
    const Vo::Vector<int> *handlesGiven() const { return givesHandles ? &libraryHandles : nullptr; }
    void say(SelectionStep &step) const {
        step.say(" " + name);
        step.say(givesPoints ? " points" : " null", givesPoints ? points : std::vector<int>());
        step.say(givesHandles ? " handles" : " null", givesHandles ? handles : std::vector<int>());
    }

    std::string name;
    std::vector<int> points;
    std::vector<int> handles;
    bool givesPoints = false;
    bool givesHandles = false;
    Vo::Vector<int> libraryPoints;
    Vo::Vector<int> libraryHandles;
};

} // namespace

void runShapeStep(SelectionStep &step, int kind) {
    if (kind == 0) {
        runSetShapes(step);
    } else if (kind == 1) {
        step.say("selectAllShapes");
        const std::vector<std::string> layer = step.model().getShapes().live(step.e);
        step.runSelector(
            [=](const ModelItems &items) { return ModelSelection::selectAll(items, layer); },
            [&](Selector &selector) {
                selector.selectAllShapes(
                    step.scene.editor(step.e).getController().getLayer().getShapes());
            });
    } else if (kind == 2) {
        step.say("resetSelection");
        step.runSelector([](const ModelItems &) { return ModelItems(); },
                         [](Selector &selector) { selector.resetSelection(); });
    } else {
        runOneShape(step, kind - 3);
    }
}

// setShapeParts of any live shape of the layer, selected or not, primary or not.
void runShapePartsStep(SelectionStep &step) {
    const DrawnParts drawn(step);
    if (drawn.name.empty()) {
        return;
    }
    step.say("setShapeParts");
    drawn.say(step);
    const Vo::RCShdPtr<Vo::SeShape> shape = shapeOf(step, drawn.name);
    step.runSelector(
        [&](const ModelItems &items) {
            return ModelSelection::setShapeParts(items, drawn.name, drawn.modelPoints(),
                                                 drawn.modelHandles());
        },
        [&](Selector &selector) {
            selector.setShapeParts(shape, drawn.pointsGiven(), drawn.handlesGiven());
        });
}

// The selector's replaceAllItems with up to three items of the layer's shapes, each whole or
// with parts, repeats kept: parts of shapes that are not primary.
void runReplaceAllStep(SelectionStep &step) {
    ModelItems items;
    const Vo::RCShdPtr<Vo::SnSelection> written = Vo::SnSelection::create();
    step.say("replaceAllItems");
    for (int count = step.in.next() % 4; count > 0; --count) {
        const DrawnParts drawn(step);
        if (drawn.name.empty()) {
            continue;
        }
        drawn.say(step);
        items.push_back(
            ModelSelection::itemOf(drawn.name, drawn.modelPoints(), drawn.modelHandles()));
        Vo::RCShdPtr<Vo::SnParts> parts;
        if (!items.back().whole) {
            const Vo::RCShdPtr<Vo::SeShapeParts> exact(new Vo::SeShapeParts);
            for (int point : drawn.givesPoints ? drawn.points : std::vector<int>()) {
                exact->appendPoint(point);
            }
            for (int handle : drawn.givesHandles ? drawn.handles : std::vector<int>()) {
                exact->appendHandle(handle);
            }
            parts = exact;
        }
        written->addItem(Vo::RCShdPtr<Vo::SnItem const>(
            new Vo::SeShapeItem(parts, shapeOf(step, drawn.name)->getShapeInterface())));
    }
    step.expected = step.model().replaceAll(step.e, items);
    step.runLibrary([&] { step.selector().replaceAllItems(written); });
}

// A point or handle operation on the primary shape, its indices drawn up to one past the
// shape's last; select-all now and then one past the end too.
void runPartsStep(SelectionStep &step, bool points) {
    const ModelItems &items = step.model().current(step.e);
    const ModelShapes::Shape *primary =
        items.empty() ? nullptr : &step.model().getShapes().get(items.front().shape);
    const int count = primary == nullptr ? 0 : (points ? primary->points : primary->handles);
    const int kind = step.in.next() % 8;
    const int index = step.in.next() % (count + 2);
    const std::string side = points ? "Point" : "Handle";
    if (kind == 6) {
        const std::vector<int> indices = step.drawIndices(3, count + 2);
        const Vo::Vector<int> given(indices.begin(), indices.end());
        step.say("select" + side + "s", indices);
        step.runSelector(
            [=](const ModelItems &now) {
                return ModelSelection::selectIndices(now, points, indices);
            },
            [&](Selector &selector) {
                points ? selector.selectPoints(given) : selector.selectHandles(given);
            });
        return;
    }
    if (kind == 7) {
        step.say("unselect" + side + "s");
        step.runSelector(
            [=](const ModelItems &now) { return ModelSelection::unselectSide(now, points); },
            [&](Selector &selector) {
                points ? selector.unselectPoints() : selector.unselectHandles();
            });
        return;
    }
    const IndexOperation &operation = indexOperations[kind];
    // select-all and stepping take the shape's count; the rest an index.
    const bool counted = kind >= 1 && kind <= 3;
    const int argument = !counted ? index : count + (kind == 1 && index == 0 ? 1 : 0);
    step.say(operation.name + side, {argument});
    step.runSelector([=](const ModelItems &now) { return operation.model(now, points, argument); },
                     [&](Selector &selector) {
                         (selector.*(points ? operation.points : operation.handles))(argument);
                     });
}

} // namespace VoFuzz
