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

// Halves first: two finite values near the largest double have a finite midpoint, but no finite
// sum.
double midway(double a, double b) { return a / 2 + b / 2; }

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

int AppShapeInterface::countElements(const Vo::SeShapeInterface &shape,
                                     Vo::SeSelectionSnapshot::Elements elements) {
    const auto *ours = dynamic_cast<const AppShapeInterface *>(&shape);
    if (ours == nullptr) {
        return -1;
    }
    return elements == Vo::SeSelectionSnapshot::Elements::points ? ours->getNbPoints()
                                                                 : ours->getNbHandles();
}

RCShdPtr<Vo::PiInput> AppShapeInterface::component(const RCShdPtr<PiMultivaluedInput> &input,
                                                   int index, int component) {
    const RCShdPtr<Vo::PiInput> element =
        input.isNull() ? RCShdPtr<Vo::PiInput>() : input->getElement(index);
    return element.isNull() ? element : element->getSubInput(component);
}

bool AppShapeInterface::getPoint(int index, double &x, double &y) const {
    const RCShdPtr<Vo::PiInput> first = component(points, index, 0);
    if (first.isNull()) {
        return false;
    }
    x = first->getValue();
    y = component(points, index, 1)->getValue();
    return true;
}

bool AppShapeInterface::setPoint(int index, double x, double y) {
    const RCShdPtr<Vo::PiInput> first = component(points, index, 0);
    if (first.isNull()) {
        return false;
    }
    first->setValue(x);
    component(points, index, 1)->setValue(y);
    return true;
}

double AppShapeInterface::getHandle(int index) const {
    const RCShdPtr<Vo::PiInput> position = component(gradient, index, 0);
    return position.isNull() ? 0 : position->getValue();
}

bool AppShapeInterface::setHandle(int index, double value) {
    const RCShdPtr<Vo::PiInput> position = component(gradient, index, 0);
    if (!position.isNull()) {
        position->setValue(value);
    }
    return !position.isNull();
}

void AppShapeInterface::placeNewPoint(int index) {
    double x = 0;
    double y = 0;
    double otherX = 0;
    double otherY = 0;
    const bool before = getPoint(index - 1, x, y);
    const bool after = getPoint(index + 1, otherX, otherY);
    if (before && after) {
        setPoint(index, midway(x, otherX), midway(y, otherY));
    } else if (before || after) {
        setPoint(index, before ? x : otherX, before ? y : otherY);
    }
}

void AppShapeInterface::placeNewHandle(int index) {
    const int count = getNbHandles();
    const double before = index > 0 ? getHandle(index - 1) : getHandle(index + 1);
    const double after = index + 1 < count ? getHandle(index + 1) : before;
    setHandle(index, midway(before, after));
}

bool AppShapeInterface::insertPoint(int index) {
    if (!points.isNull()) {
        const bool inserted = insertElement(points, index);
        if (inserted) {
            placeNewPoint(index);
        }
        return inserted;
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

bool AppShapeInterface::insertHandle(int index) {
    const bool inserted = insertElement(gradient, index);
    if (inserted) {
        placeNewHandle(index);
    }
    return inserted;
}

bool AppShapeInterface::removeHandle(int index) { return removeElement(gradient, index); }

} // namespace VoExample
