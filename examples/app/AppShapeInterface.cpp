#include "AppShapeInterface.h"

#include "AppShape.h"

#include <VoShape/foundation/RCShdPtr.h>

#include <utility>

namespace VoExample {

using Vo::PiMultivaluedInput;
using Vo::RCShdPtr;

namespace {

bool insertElement(const RCShdPtr<PiMultivaluedInput> &input, int index) {
    return !input.isNull() && !input->insertElement(index).isNull();
}

bool removeElement(const RCShdPtr<PiMultivaluedInput> &input, int index) {
    return !input.isNull() && input->removeElement(index);
}

// Takes the input of that name, if the node has one and it is new, out of it.
void removeInput(Vo::PiNode &node, const std::string &name, bool isNew) noexcept {
    const RCShdPtr<Vo::PiInput> input = isNew ? node.findInput(name) : RCShdPtr<Vo::PiInput>();
    if (!input.isNull()) {
        node.removeInput(*input);
    }
}

} // namespace

Vo::RCOwner<AppShapeInterface> AppShapeInterface::create(Vo::PiNode &toolNode,
                                                         const std::string &name, int nbPoints,
                                                         int nbHandles, bool singleValuedPoints) {
    const std::string curveName = name + ".curve";
    const std::string gradientName = name + ".gradient";
    // What was there before is not this shape's to remove.
    const bool curveNew = toolNode.findInput(curveName).isNull();
    const bool gradientNew = toolNode.findInput(gradientName).isNull();
    const RCShdPtr<Vo::PiGraphObject> object = toolNode.addObject(name);
    try {
        const RCShdPtr<Vo::PiStructuredInput> curve =
            singleValuedPoints ? toolNode.addSingleValuedCurveInput(curveName)
                               : toolNode.addCurveInput(curveName, nbPoints);
        const RCShdPtr<PiMultivaluedInput> gradient =
            nbHandles > 0 ? toolNode.addGradientInput(gradientName, nbHandles)
                          : RCShdPtr<PiMultivaluedInput>();
        Vo::RCOwner<AppShapeInterface> owner(
            new AppShapeInterface(name, curve, gradient, singleValuedPoints ? nbPoints : 0));
        // The model side exists only once the owner can hand out the weak pointer it keeps.
        owner.get()->shape = RCShdPtr<Vo::SeShape>(new AppShape(object, owner.getWeak()));
        return owner;
    } catch (...) {
        // Out of memory part way: the shape is built whole or not at all.
        removeInput(toolNode, gradientName, gradientNew);
        removeInput(toolNode, curveName, curveNew);
        toolNode.removeObject(*object);
        throw;
    }
}

AppShapeInterface::AppShapeInterface(std::string shapeName,
                                     const RCShdPtr<Vo::PiStructuredInput> &curveInput,
                                     const RCShdPtr<PiMultivaluedInput> &gradientInput,
                                     int plainPoints)
    : name(std::move(shapeName)), curve(curveInput),
      points(Vo::rcDynamicCastOrNull<PiMultivaluedInput>(curve->getInput("Points", 0))),
      gradient(gradientInput), nbPlainPoints(plainPoints) {}

AppShapeInterface::~AppShapeInterface() = default;

int AppShapeInterface::getNbPoints() const noexcept {
    return points.isNull() ? nbPlainPoints : points->getNbElements();
}

int AppShapeInterface::getNbHandles() const noexcept {
    return gradient.isNull() ? 0 : gradient->getNbElements();
}

bool AppShapeInterface::insertPoint(int index) {
    if (!points.isNull()) {
        return insertElement(points, index);
    }
    if (index < 0 || index > nbPlainPoints) {
        return false;
    }
    ++nbPlainPoints;
    return true;
}

bool AppShapeInterface::removePoint(int index) {
    if (!points.isNull()) {
        return removeElement(points, index);
    }
    if (index < 0 || index >= nbPlainPoints) {
        return false;
    }
    --nbPlainPoints;
    return true;
}

bool AppShapeInterface::insertHandle(int index) { return insertElement(gradient, index); }

bool AppShapeInterface::removeHandle(int index) { return removeElement(gradient, index); }

} // namespace VoExample
