#include "AppLayerInterface.h"

#include "AppLayer.h"

#include <VoShape/foundation/RCWeakPtr.h>
#include <VoShape/host/IteratorImpVector.h>

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
    const auto [named, isNew] = byName.emplace(name, nullptr);
    if (!isNew) {
        return nullptr;
    }
    // Every table makes room before the shape is built: once it is in the tool node, keeping it
    // cannot fail.
    try {
        if (shapes.size() == shapes.capacity()) {
            shapes.reserve(2 * shapes.size() + 1);
        }
        byId.reserve(byId.size() + 1);
        shapes.push_back(
            AppShapeInterface::create(*toolNode, name, nbPoints, nbHandles, singleValuedPoints));
    } catch (...) {
        byName.erase(named);
        throw;
    }
    AppShapeInterface *shape = shapes.back().get();
    byId.insert(shape->getId(), shape);
    named->second = shape;
    return shape;
}

bool AppLayerInterface::removeShape(const std::string &name) {
    const auto named = byName.find(name);
    if (named == byName.end()) {
        return false;
    }
    AppShapeInterface *shape = named->second;
    removed.push_back({shape->getId(), shape->getShape()->getGraphObject(), shape->getCurveInput(),
                       shape->getGradientInput()});
    byId.erase(shape->getId());
    byName.erase(named);
    // The owner's destruction deletes the editing side.
    shapes.erase(std::find_if(shapes.begin(), shapes.end(),
                              [shape](const auto &owner) { return owner.get() == shape; }));
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
    const auto named = byName.find(name);
    return named == byName.end() ? nullptr : named->second;
}

AppShapeInterface *AppLayerInterface::findShapeById(int id) const {
    AppShapeInterface *const *found = byId.find(id);
    return found == nullptr ? nullptr : *found;
}

RCShdPtr<SeShape>
AppLayerInterface::findShape(const RCShdPtr<Vo::PiGraphObject const> &object) const {
    AppShapeInterface *found = object.isNull() ? nullptr : findShapeById(object->getId());
    if (found == nullptr) {
        return RCShdPtr<SeShape>();
    }
    // An id is unique within one graph only: the object itself must be the shape's.
    const RCShdPtr<SeShape> model = found->getShape();
    return Vo::PiGraphObject::areEqual(object, model->getGraphObject()) ? model
                                                                        : RCShdPtr<SeShape>();
}

Vo::Iterator<RCShdPtr<SeShape>> AppLayerInterface::getShapes() const {
    auto models = std::make_shared<std::vector<RCShdPtr<SeShape>>>();
    models->reserve(shapes.size());
    for (const Vo::RCOwner<AppShapeInterface> &shape : shapes) {
        models->push_back(shape.get()->getShape());
    }
    return Vo::IteratorImpVector<RCShdPtr<SeShape>>::makeIterator(std::move(models));
}

} // namespace VoExample
