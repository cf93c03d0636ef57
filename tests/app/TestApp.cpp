#include "TestController.h"
#include "TestFaults.h"
#include "TestItemPredicate.h"
#include "TestOwner.h"
#include "TestShape.h"
#include "TestShapeInterface.h"

#include "host/graph/PiCompositionGraphInterface.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiStructuredInput.h"

#include <typeinfo>

namespace VoTest {

using namespace Vo;

TestShape::TestShape(const RCShdPtr<PiGraphObject> &graphObject,
                     const RCWeakPtr<SeShapeInterface> &editingSide)
    : object(graphObject), editing(editingSide) {
    ++nbLive;
}
TestShape::~TestShape() { --nbLive; }

TestShapeInterface::TestShapeInterface(const RCShdPtr<PiInput> &curveInput,
                                       const RCShdPtr<PiInput> &gradientInput)
    : curve(curveInput), gradient(gradientInput) {}
TestShapeInterface::~TestShapeInterface() = default;

TestOwner::TestOwner(const RCShdPtr<PiGraphObject> &graphObject) : object(graphObject) {}
TestOwner::~TestOwner() = default;

bool TestItemPredicate::evaluate(const RCShdPtr<SnItem const> &item) const {
    TestFaults::count();
    const auto *graphItem = dynamic_cast<const PiGraphObjectSnItemConst *>(item.get());
    return graphItem != nullptr &&
           dynamic_cast<const PiNode *>(graphItem->getGraphObject().get()) == nullptr;
}

TestController::TestController()
    : compositionGraph(PiGraph::create()), editorNode(compositionGraph->addNode("ShapeEditor")),
      roto(compositionGraph->addNode("Roto", PiNode::Tool)),
      output(compositionGraph->addNode("Output", PiNode::PrimaryOutput)),
      selector(new SeShapeSelector) {
    compositionGraph->connect(roto, output);
}

TestController::TestController(const RCShdPtr<PiGraph> &sharedGraph, const std::string &suffix)
    : compositionGraph(sharedGraph), editorNode(sharedGraph->addNode("ShapeEditor" + suffix)),
      roto(sharedGraph->addNode("Roto" + suffix, PiNode::Tool)),
      output(sharedGraph->addNode("Output" + suffix, PiNode::PrimaryOutput)),
      selector(new SeShapeSelector) {
    compositionGraph->connect(roto, output);
}

TestController::~TestController() = default;

int TestController::addShape(const std::string &name, int nbPoints, int nbHandles,
                             bool singleValuedPoints) {
    const RCShdPtr<PiInput> curve =
        singleValuedPoints ? RCShdPtr<PiInput>(roto->addSingleValuedCurveInput(name + ".curve"))
                           : RCShdPtr<PiInput>(roto->addCurveInput(name + ".curve", nbPoints));
    const RCShdPtr<PiInput> gradient =
        nbHandles > 0 ? RCShdPtr<PiInput>(roto->addGradientInput(name + ".gradient", nbHandles))
                      : RCShdPtr<PiInput>();
    const RCShdPtr<PiGraphObject> object = roto->addObject(name);
    RCOwner<TestShapeInterface> owner(new TestShapeInterface(curve, gradient));
    owner.get()->setShape(
        RCShdPtr<SeShape>(new TestShape(object, RCWeakPtr<SeShapeInterface>(owner.getWeak()))));
    shapes.push_back(std::move(owner));
    shapeObjects.push_back(object);
    return static_cast<int>(shapes.size()) - 1;
}

RCShdPtr<SeShape> TestController::shape(int index) const {
    const TestShapeInterface *editingSide = shapes.at(static_cast<std::size_t>(index)).get();
    return editingSide ? editingSide->model() : RCShdPtr<SeShape>();
}

RCWeakPtr<SeShapeInterface> TestController::weak(int index) const {
    return RCWeakPtr<SeShapeInterface>(shapes.at(static_cast<std::size_t>(index)).getWeak());
}

TestShapeInterface &TestController::editing(int index) const {
    return *shapes.at(static_cast<std::size_t>(index)).get();
}

void TestController::deleteInterfaceOnly(int index) {
    shapes.at(static_cast<std::size_t>(index)).reset();
}

void TestController::deleteShape(int index) {
    const int id = shapeObjects.at(static_cast<std::size_t>(index))->getId();
    deleteInterfaceOnly(index);
    sendRemoval(id);
}

void TestController::sendRemoval(int shapeId) {
    removalDispatcher.call(SeShapeEvent::ShapeRemoved(shapeId, RCShdPtr<SeObject const>()));
}

RCShdPtr<PiNode> TestController::getNode() {
    TestFaults::count();
    return editorNode;
}

RCShdPtr<PiGraph const> TestController::getGraph() {
    TestFaults::count();
    return compositionGraph;
}

RCShdPtr<SeShapeSelector> TestController::getShapeSelector() {
    TestFaults::count();
    return selector;
}

RCShdPtr<SnSelection> TestController::hostSelection() const {
    const RCWeakAccessor<PiNodeController const> controller(compositionGraph->getNodeController());
    return dynamic_cast<const PiCompositionGraphInterface &>(*controller).getSelection();
}

RCShdPtr<SeShape> TestController::findShape(const RCShdPtr<PiGraphObject const> &object) {
    TestFaults::count();
    for (std::size_t i = 0; i < shapes.size(); ++i) {
        if (!shapes[i].isNull() &&
            PiGraphObject::areEqual(object, RCShdPtr<PiGraphObject const>(shapeObjects[i]))) {
            return shapes[i].get()->model();
        }
    }
    return RCShdPtr<SeShape>();
}

void TestController::addShapeEventCb(const SeShapeEvent &prototype,
                                     CbHandler<SeShapeEvent const> *handler) {
    TestFaults::count();
    if (typeid(prototype) == typeid(SeShapeEvent::ShapeRemoved)) {
        removalDispatcher.addHandler(handler);
    } else {
        otherEventsDispatcher.addHandler(handler);
    }
}

} // namespace VoTest
