#include "host/graph/PiNode.h"

#include "host/graph/PiGraph.h"
#include "host/graph/PiStructuredInput.h"

#include "PiInputFactory.h"

#include <algorithm>
#include <utility>

namespace Vo {

PiNode::PiNode(PiGraph &owner, int id, std::string name, int nodeFlags) noexcept
    : PiGraphObject(id, std::move(name), this), graph(&owner), flags(nodeFlags) {}

PiNode::~PiNode() noexcept {
    inputs.detachAll();
    objects.detachAll();
}

bool PiNode::isTool() const noexcept { return (flags & Tool) != 0; }

bool PiNode::isPrimaryOutput() const noexcept { return (flags & PrimaryOutput) != 0; }

RCShdPtr<PiGraph> PiNode::getGraph() const { return RCShdPtr<PiGraph>(graph); }

int PiNode::getNbDownstream() const noexcept { return static_cast<int>(downstream.size()); }

RCShdPtr<PiNode> PiNode::getDownstream(int index) const {
    const bool valid = index >= 0 && index < getNbDownstream();
    return RCShdPtr<PiNode>(valid ? downstream[index] : nullptr);
}

int PiNode::getNbInputs() const noexcept { return inputs.getSize(); }

RCShdPtr<PiInput> PiNode::getInput(int index) const { return inputs.get(index); }

RCShdPtr<PiInput> PiNode::findInput(const std::string &name) const { return inputs.find(name); }

int PiNode::getNbObjects() const noexcept { return objects.getSize(); }

RCShdPtr<PiGraphObject> PiNode::getObject(int index) const { return objects.get(index); }

RCShdPtr<PiGraphObject> PiNode::addObject(const std::string &name) {
    const int id = getGraph()->takeNextId();
    RCShdPtr<PiGraphObject> object(new PiGraphObject(id, name, this));
    objects.append(object);
    return object;
}

RCShdPtr<PiInput> PiNode::addInput(const std::string &name) {
    return inputs.appendUnique(name, [&] { return PiInputFactory(*this).createPlain(name); });
}

RCShdPtr<PiStructuredInput> PiNode::addStructuredInput(const std::string &name) {
    return inputs.appendUnique(name, [&] { return PiInputFactory(*this).createStructured(name); });
}

RCShdPtr<PiMultivaluedInput>
PiNode::addMultivaluedInput(const std::string &name, PiMultivaluedInput::ElementKind elementKind,
                            const Vector<std::string> &componentNames) {
    return inputs.appendUnique(name, [&] {
        return PiInputFactory(*this).createMultivalued(name, elementKind, componentNames);
    });
}

RCShdPtr<PiStructuredInput> PiNode::addCurveInput(const std::string &name, int nbPoints) {
    RCShdPtr<PiStructuredInput> curve = addStructuredInput(name);
    if (!curve.isNull()) {
        curve->addMultivaluedInput("Points", PiMultivaluedInput::ElementKind::Composite, {"x", "y"})
            ->appendElements(nbPoints);
    }
    return curve;
}

RCShdPtr<PiStructuredInput> PiNode::addSingleValuedCurveInput(const std::string &name) {
    RCShdPtr<PiStructuredInput> curve = addStructuredInput(name);
    if (!curve.isNull()) {
        curve->addInput("Points");
    }
    return curve;
}

RCShdPtr<PiMultivaluedInput> PiNode::addGradientInput(const std::string &name, int nbHandles) {
    RCShdPtr<PiMultivaluedInput> gradient = addMultivaluedInput(
        name, PiMultivaluedInput::ElementKind::Structured, {"position", "color"});
    if (!gradient.isNull()) {
        gradient->appendElements(nbHandles);
    }
    return gradient;
}

bool PiNode::removeObject(const PiGraphObject &object) noexcept { return objects.remove(object); }

bool PiNode::removeInput(const PiInput &input) noexcept { return inputs.remove(input); }

bool PiNode::addDownstream(PiNode &node) {
    if (std::find(downstream.begin(), downstream.end(), &node) != downstream.end()) {
        return false;
    }
    downstream.push_back(&node);
    return true;
}

void PiNode::removeDownstream(const PiNode &node) noexcept {
    downstream.erase(std::remove(downstream.begin(), downstream.end(), &node), downstream.end());
}

void PiNode::leaveGraph() noexcept {
    graph = nullptr;
    downstream.clear();
}

} // namespace Vo
