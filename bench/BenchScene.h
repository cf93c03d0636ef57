#pragma once

#include "SeIdentityKey.h"
#include "SeSelectorUpdater.h"
#include "SeShape.h"
#include "SeShapeEditorControllerInterface.h"
#include "SeShapeInterface.h"
#include "SeShapeSelector.h"

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/IteratorImpVector.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiCompositionGraphInterface.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiMultivaluedInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiStructuredInput.h"
#include "host/PrdPredicateImp.h"
#include "host/RCOwner.h"
#include "host/selection/SnSelection.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// Scaffolding shared by the benchmarks that drive a selector through its updater: an editor on a
// small composition graph whose tool node holds shapes of composite x/y points.
namespace VoBench {

// The editing side of one shape: its curve, and a share of its model side.
class CurveShapeInterface : public Vo::SeShapeInterface {
public:
    explicit CurveShapeInterface(const Vo::RCShdPtr<Vo::PiInput> &curveInput) : curve(curveInput) {}
    void setShape(const Vo::RCShdPtr<Vo::SeShape> &model) { shape = model; }
    Vo::RCShdPtr<Vo::SeShape> getShape() override { return shape; }
    Vo::RCShdPtr<Vo::PiInput> getCurveInput() override { return curve; }

private:
    Vo::RCShdPtr<Vo::SeShape> shape;
    Vo::RCShdPtr<Vo::PiInput> curve;
};

// The model side of one shape: its graph object and its editing side, weakly. Equal to the shapes
// of the same graph object, and promising so by that object's address as identity key, as an
// application's shapes would.
class CurveShape : public Vo::SeShape, public Vo::SeIdentityKey {
public:
    CurveShape(const Vo::RCShdPtr<Vo::PiGraphObject> &graphObject,
               const Vo::RCWeakPtr<Vo::SeShapeInterface> &side)
        : object(graphObject), editing(side) {}
    Vo::RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return object; }
    Vo::RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return object; }
    Vo::RCWeakPtr<Vo::SeObjectInterface> getObjectInterface() const override { return {}; }
    Vo::RCWeakPtr<Vo::SeShapeInterface> getShapeInterface() const override { return editing; }
    std::uint64_t getIdentityKey() const noexcept override {
        return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(object.get()));
    }

private:
    ~CurveShape() override = default;

    Vo::RCShdPtr<Vo::PiGraphObject> object;
    Vo::RCWeakPtr<Vo::SeShapeInterface> editing;
};

// Accepts every item that the updater's tool-node test lets through.
class AnyItem : public Vo::PrdPredicateImp<Vo::RCShdPtr<Vo::SnItem const>> {
public:
    bool evaluate(const Vo::RCShdPtr<Vo::SnItem const> &) const override { return true; }
};

// An editor on a composition graph "ShapeEditor", "Roto" (tool) -> "Output" (primary output), with
// nbShapes shapes of nbPoints points each inside "Roto", the first selected as primary; its updater
// mirrors the editor's selection into the host's and back. Owns the shapes' editing sides as an
// application does, and finds a shape from its graph object by a table, not a walk.
class SceneEditor : public Vo::SeShapeEditorControllerInterface {
public:
    SceneEditor(int nbShapes, int nbPoints)
        : graph(Vo::PiGraph::create()), editorNode(graph->addNode("ShapeEditor")),
          roto(graph->addNode("Roto", Vo::PiNode::Tool)),
          output(graph->addNode("Output", Vo::PiNode::PrimaryOutput)),
          selector(new Vo::SeShapeSelector),
          shapes(std::make_shared<std::vector<Vo::RCShdPtr<Vo::SeShape>>>()) {
        graph->connect(roto, output);
        for (int i = 0; i < nbShapes; ++i) {
            appendShape(nbPoints);
        }
        updater = Vo::RCShdPtr<Vo::SeSelectorUpdater>(new Vo::SeSelectorUpdater(
            *this, Vo::RCShdPtr<Vo::PrdPredicateImp<Vo::RCShdPtr<Vo::SnItem const>>>(new AnyItem)));
        selector->setPrimarySelectedShape(shape(0), -1);
    }
    SceneEditor(const SceneEditor &) = delete;
    SceneEditor &operator=(const SceneEditor &) = delete;
    ~SceneEditor() override { detachUpdater(); }

    Vo::RCShdPtr<Vo::PiNode> getNode() override { return editorNode; }
    Vo::RCShdPtr<Vo::PiGraph const> getGraph() override { return graph; }
    Vo::RCShdPtr<Vo::SeShapeSelector> getShapeSelector() override { return selector; }
    Vo::RCShdPtr<Vo::SeShape>
    findShape(const Vo::RCShdPtr<Vo::PiGraphObject const> &candidate) override {
        const auto found = byObject.find(candidate.get());
        return found == byObject.end() ? Vo::RCShdPtr<Vo::SeShape>() : shape(found->second);
    }
    void addShapeEventCb(const Vo::SeShapeEvent &,
                         Vo::CbHandler<Vo::SeShapeEvent const> *handler) override {
        removals.addHandler(handler);
    }

    // Deletes a shape's editing side, as the application does, then sends its removal event.
    void deleteShape(int index) {
        const int id = shape(index)->getId();
        owners.at(static_cast<std::size_t>(index)).reset();
        sendRemoval(id);
    }
    void sendRemoval(int shapeId) {
        removals.call(Vo::SeShapeEvent::ShapeRemoved(shapeId, Vo::RCShdPtr<Vo::SeObject const>()));
    }
    // One more shape of nbPoints points, after the others; its index.
    int appendShape(int nbPoints) {
        const int index = static_cast<int>(shapes->size());
        const std::string name = "S" + std::to_string(index);
        curves.push_back(roto->addCurveInput(name + ".curve", nbPoints));
        objects.push_back(roto->addObject(name));
        Vo::RCOwner<CurveShapeInterface> owner(
            new CurveShapeInterface(Vo::RCShdPtr<Vo::PiInput>(curves.back())));
        owner.get()->setShape(Vo::RCShdPtr<Vo::SeShape>(
            new CurveShape(objects.back(), Vo::RCWeakPtr<Vo::SeShapeInterface>(owner.getWeak()))));
        byObject.emplace(objects.back().get(), index);
        shapes->push_back(owner.get()->getShape());
        owners.push_back(std::move(owner));
        return index;
    }
    // The first nbShapes shapes, in order.
    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> firstShapes(int nbShapes) const {
        return Vo::Vector<Vo::RCShdPtr<Vo::SeShape>>(shapes->begin(), shapes->begin() + nbShapes);
    }

    // Nobody mirrors either selection any more.
    void detachUpdater() { updater = Vo::RCShdPtr<Vo::SeSelectorUpdater>(); }

    Vo::RCShdPtr<Vo::SnSelection> hostSelection() const {
        const Vo::RCWeakAccessor<Vo::PiNodeController const> controller(graph->getNodeController());
        return dynamic_cast<const Vo::PiCompositionGraphInterface &>(*controller).getSelection();
    }
    Vo::RCShdPtr<Vo::SeShape> shape(int index) const {
        return shapes->at(static_cast<std::size_t>(index));
    }
    Vo::RCWeakPtr<Vo::SeShapeInterface> shapeInterface(int index) const {
        return Vo::RCWeakPtr<Vo::SeShapeInterface>(
            owners.at(static_cast<std::size_t>(index)).getWeak());
    }
    Vo::RCShdPtr<Vo::PiStructuredInput> curve(int index) const {
        return curves.at(static_cast<std::size_t>(index));
    }
    Vo::RCShdPtr<Vo::PiGraphObject> object(int index) const {
        return objects.at(static_cast<std::size_t>(index));
    }
    Vo::RCShdPtr<Vo::PiMultivaluedInput> points(int index) const {
        return Vo::rcDynamicCast<Vo::PiMultivaluedInput>(curve(index)->getInput("Points", 0));
    }
    // A fresh walk over every shape, in order.
    Vo::Iterator<Vo::RCShdPtr<Vo::SeShape>> iterateShapes() const {
        return Vo::IteratorImpVector<Vo::RCShdPtr<Vo::SeShape>>::makeIterator(shapes);
    }
    // The component inputs of every point of a shape, in point then component order.
    std::vector<Vo::RCShdPtr<Vo::PiInput>> pointComponents(int index) const {
        const Vo::RCShdPtr<Vo::PiMultivaluedInput> all = points(index);
        std::vector<Vo::RCShdPtr<Vo::PiInput>> components;
        for (int i = 0; i < all->getNbElements(); ++i) {
            for (Vo::Iterator<Vo::RCShdPtr<Vo::PiInput>> component =
                     Vo::rcDynamicCast<Vo::PiCompositeInput>(all->getElement(i))->getInputs(1);
                 !component.atEnd(); component.next()) {
                components.push_back(component.item());
            }
        }
        return components;
    }

    Vo::RCShdPtr<Vo::PiGraph> graph;
    Vo::RCShdPtr<Vo::PiNode> editorNode;
    Vo::RCShdPtr<Vo::PiNode> roto;
    Vo::RCShdPtr<Vo::PiNode> output;
    Vo::RCShdPtr<Vo::SeShapeSelector> selector;

private:
    std::vector<Vo::RCShdPtr<Vo::PiStructuredInput>> curves;
    std::vector<Vo::RCShdPtr<Vo::PiGraphObject>> objects;
    std::vector<Vo::RCOwner<CurveShapeInterface>> owners;
    std::shared_ptr<std::vector<Vo::RCShdPtr<Vo::SeShape>>> shapes;
    std::unordered_map<const Vo::PiGraphObject *, int> byObject;
    Vo::RCShdPtr<Vo::SeSelectorUpdater> updater;
    Vo::CbDispatcher<Vo::SeShapeEvent const> removals;
};

} // namespace VoBench
