#include "AppLayerInterface.h"

#include "AppLayer.h"

#include "foundation/RCWeakPtr.h"
#include "host/IteratorImpVector.h"

#include <algorithm>
#include <memory>

namespace VoExample {

using Vo::RCShdPtr;
using Vo::SeShape;

Vo::RCOwner<AppLayerInterface> AppLayerInterface::create(const RCShdPtr<Vo::PiNode> &toolNode) {
    Vo::RCOwner<AppLayerInterface> owner(new AppLayerInterface(toolNode));
    // As for shapes: the model side needs the weak pointer that only the owner can give.
    owner.get()->layer = RCShdPtr<Vo::SeObject>(
        new AppLayer(toolNode, Vo::RCWeakPtr<Vo::SeObjectInterface>(owner.getWeak())));
    return owner;
}

AppLayerInterface::AppLayerInterface(const RCShdPtr<Vo::PiNode> &node) : toolNode(node) {}

AppLayerInterface::~AppLayerInterface() = default;

AppShapeInterface *AppLayerInterface::addShape(const std::string &name, int nbPoints, int nbHandles,
                                               bool singleValuedPoints) {
    if (find(name) != shapes.end()) {
        return nullptr;
    }
    shapes.reserve(shapes.size() + 1); // so that the shape, once built, is kept
    shapes.push_back(
        AppShapeInterface::create(*toolNode, name, nbPoints, nbHandles, singleValuedPoints));
    return shapes.back().get();
}

bool AppLayerInterface::removeShape(const std::string &name) {
    const auto found = find(name);
    if (found == shapes.end()) {
        return false;
    }
    AppShapeInterface &shape = *found->get();
    removed.push_back({shape.getId(), shape.getShape()->getGraphObject(), shape.getCurveInput(),
                       shape.getGradientInput()});
    shapes.erase(found); // the owner's destruction deletes the editing side
    return true;
}

bool AppLayerInterface::removeFromGraph(int id) {
    const auto found = std::find_if(removed.begin(), removed.end(),
                                    [id](const Leftovers &shape) { return shape.id == id; });
    if (found == removed.end()) {
        return false;
    }
    toolNode->removeObject(*found->object);
    toolNode->removeInput(*found->curve);
    if (!found->gradient.isNull()) {
        toolNode->removeInput(*found->gradient);
    }
    removed.erase(found);
    return true;
}

AppShapeInterface &AppLayerInterface::getShapeAt(int index) const {
    return *shapes.at(static_cast<std::size_t>(index)).get();
}

AppShapeInterface *AppLayerInterface::findShape(const std::string &name) const {
    const auto found = find(name);
    return found == shapes.end() ? nullptr : found->get();
}

RCShdPtr<SeShape>
AppLayerInterface::findShape(const RCShdPtr<Vo::PiGraphObject const> &object) const {
    for (const Vo::RCOwner<AppShapeInterface> &shape : shapes) {
        const RCShdPtr<SeShape> model = shape.get()->getShape();
        if (Vo::PiGraphObject::areEqual(object, model->getGraphObject())) {
            return model;
        }
    }
    return RCShdPtr<SeShape>();
}

Vo::Iterator<RCShdPtr<SeShape>> AppLayerInterface::getShapes() const {
    auto models = std::make_shared<std::vector<RCShdPtr<SeShape>>>();
    models->reserve(shapes.size());
    for (const Vo::RCOwner<AppShapeInterface> &shape : shapes) {
        models->push_back(shape.get()->getShape());
    }
    return Vo::IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(std::move(models));
}

std::vector<Vo::RCOwner<AppShapeInterface>>::const_iterator
AppLayerInterface::find(const std::string &name) const {
    return std::find_if(shapes.begin(), shapes.end(),
                        [&name](const auto &shape) { return shape.get()->getName() == name; });
}

} // namespace VoExample
