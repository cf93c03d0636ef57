#pragma once

#include "SeSelectorUpdater.h"
#include "SeShape.h"
#include "SeShapeSelector.h"
#include "app/TestCallRecorder.h"
#include "app/TestItemPredicate.h"
#include "app/TestRaisingController.h"
#include "app/TestWriteCounter.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiPath.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiStructuredInput.h"
#include "host/PrdPredicateImp.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace VoTest {

// The scene of the updater's tests: an editor with shapes A, B, C (multi-valued "Points" of x/y
// points), D (one single-valued "Points") and E (a gradient as well), its updater, a recorder on
// each of the selector's three callback lists writing into one log, and write counters on both
// selections. Host items are described as text: "name#id" for graph objects, and
// "name#id via Roto>Output" for inputs with the names of their path's nodes ("none" for no path).
class SeSelectorUpdaterScene : public ::testing::Test {
public:
    // An updater with the application's item predicate, as the application makes one.
    static Vo::RCShdPtr<Vo::SeSelectorUpdater>
    makeUpdater(Vo::SeShapeEditorControllerInterface &c) {
        return Vo::RCShdPtr<Vo::SeSelectorUpdater>(new Vo::SeSelectorUpdater(
            c, Vo::RCShdPtr<Vo::PrdPredicateImp<Vo::RCShdPtr<Vo::SnItem const>>>(
                   new TestItemPredicate)));
    }

    // An item of the application's selection as text (see the class comment).
    static std::string describe(const Vo::SnItem &item) {
        if (const auto *object = dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(&item)) {
            return name(*object->getGraphObject());
        }
        const auto &input = dynamic_cast<const Vo::PiSnItem<Vo::PiInput> &>(item);
        return name(*input.getInput()) + " via " + pathText(input.getPath());
    }
    static std::string name(const Vo::PiGraphObject &object) {
        return object.getName() + "#" + std::to_string(object.getId());
    }
    static std::string pathText(const Vo::RCShdPtr<Vo::PiPath const> &path) {
        if (path.isNull()) {
            return "none";
        }
        std::string text;
        for (int i = 0; i < path->getNbNodes(); ++i) {
            text += (i == 0 ? "" : ">") + path->getNode(i)->getName();
        }
        return text;
    }

protected:
    enum ShapeIndex { A, B, C, D, E };
    static constexpr int nbPoints = 6;
    static constexpr int nbHandles = 4;

    SeSelectorUpdaterScene() {
        controller.addShape("A", nbPoints);
        controller.addShape("B", nbPoints);
        controller.addShape("C", nbPoints);
        controller.addShape("D", nbPoints, 0, true);
        controller.addShape("E", nbPoints, nbHandles);
        selector->addPrimarySelectionChangedCallback(&primaryCalls);
        selector->addShapeSelectionChangedCallback(&shapeCalls);
        selector->addSelectionChangedCallback(&selectionCalls);
        updater = makeUpdater(controller);
        hostWrites.reset(new TestWriteCounter(*host));
        selectorWrites.reset(new TestWriteCounter(*selector->getSelection()));
    }
    ~SeSelectorUpdaterScene() override {
        updater = Vo::RCShdPtr<Vo::SeSelectorUpdater>(); // first: it borrows the controller
    }

    // Forgets the calls and writes seen so far.
    void settle() {
        log.clear();
        hostWrites->reset();
        selectorWrites->reset();
    }

    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> shapes(std::initializer_list<int> indices) const {
        Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> list;
        for (int index : indices) {
            list.push_back(controller.shape(index));
        }
        return list;
    }
    void select(std::initializer_list<int> indices) {
        selector->setSelectedShapes(shapes(indices));
    }

    // The selected shapes' indices in the controller, in selection order; -1 for a gone shape.
    std::vector<int> selectedIndices() const {
        Vo::Vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> selected;
        selector->getSelectedShapeInterfaces(selected);
        std::vector<int> indices;
        for (const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape : selected) {
            indices.push_back(indexOf(shape));
        }
        return indices;
    }
    int indexOf(const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape) const {
        for (int i = 0; i < controller.getNbShapes(); ++i) {
            if (!shape.isNull() && shape == controller.weak(i)) {
                return i;
            }
        }
        return -1;
    }
    std::vector<int> selectedPoints() const {
        Vo::Vector<int> points;
        selector->getSelectedPoints(points);
        return std::vector<int>(points.begin(), points.end());
    }
    std::vector<int> selectedHandles() const {
        Vo::Vector<int> handles;
        selector->getSelectedHandles(handles);
        return std::vector<int>(handles.begin(), handles.end());
    }

    // Places a selection in the application's selection, as the application does.
    void hostSelects(const std::vector<Vo::RCShdPtr<Vo::SnItem const>> &items) {
        Vo::SnSelection::Items list(items.begin(), items.end());
        host->replaceAllItems(Vo::SnSelection::create(list));
    }
    Vo::RCShdPtr<Vo::SnItem const> objectItem(int shape) const {
        return Vo::RCShdPtr<Vo::SnItem const>(
            new Vo::PiGraphObjectSnItemConst(controller.shape(shape)->getGraphObject()));
    }
    Vo::RCShdPtr<Vo::SnItem const> nodeItem(const Vo::RCShdPtr<Vo::PiNode> &node) const {
        return Vo::RCShdPtr<Vo::SnItem const>(new Vo::PiSnItem<Vo::PiNode>(node));
    }

    std::vector<std::string> hostItems() const {
        std::vector<std::string> described;
        for (const Vo::RCShdPtr<Vo::SnItem const> &item : *host) {
            described.push_back(describe(*item));
        }
        return described;
    }
    // Expected descriptions, found by walking the graph.
    std::string editorNode() { return name(*controller.getNode()); }
    std::string object(int shape) const { return name(*controller.shape(shape)->getGraphObject()); }
    Vo::RCShdPtr<Vo::PiInput> pointsInput(int shape) const {
        return Vo::rcDynamicCast<Vo::PiStructuredInput>(controller.editing(shape).getCurveInput())
            ->getInput("Points", 0);
    }
    std::string pointComponent(int shape, int point, const std::string &component,
                               const std::string &path) const {
        const Vo::RCShdPtr<Vo::PiInput> element =
            Vo::rcDynamicCast<Vo::PiMultivaluedInput>(pointsInput(shape))->getElement(point);
        return componentOf(Vo::rcDynamicCast<Vo::PiCompositeInput>(element)->getInputs(0),
                           component, path);
    }
    std::string handleComponent(int shape, int handle, const std::string &component,
                                const std::string &path) const {
        const Vo::RCShdPtr<Vo::PiInput> element =
            Vo::rcDynamicCast<Vo::PiMultivaluedInput>(controller.editing(shape).getGradientInput())
                ->getElement(handle);
        return componentOf(Vo::rcDynamicCast<Vo::PiStructuredInput>(element)->getInputs(0),
                           component, path);
    }
    static std::string componentOf(Vo::Iterator<Vo::RCShdPtr<Vo::PiInput>> inputs,
                                   const std::string &component, const std::string &path) {
        for (; !inputs.atEnd(); inputs.next()) {
            if (inputs.item()->getName() == component) {
                return name(*inputs.item()) + " via " + path;
            }
        }
        return "no component " + component;
    }

    TestRaisingController controller;
    Vo::RCShdPtr<Vo::SeShapeSelector> selector = controller.getShapeSelector();
    Vo::RCShdPtr<Vo::SnSelection> host = controller.hostSelection();
    std::vector<std::string> log;
    TestCallRecorder primaryCalls{"primary", log};
    TestCallRecorder shapeCalls{"shapes", log};
    TestCallRecorder selectionCalls{"selection", log};
    Vo::RCShdPtr<Vo::SeSelectorUpdater> updater;
    std::unique_ptr<TestWriteCounter> hostWrites;
    std::unique_ptr<TestWriteCounter> selectorWrites;
};

} // namespace VoTest
