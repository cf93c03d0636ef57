#include "host/graph/PiGraphObject.h"

#include "host/graph/PiNode.h"

#include <ostream>
#include <utility>

namespace Vo {

PiGraphObject::PiGraphObject(int objectId, std::string objectName, PiNode *owner) noexcept
    : id(objectId), name(std::move(objectName)), ownerNode(owner) {}

PiGraphObject::~PiGraphObject() noexcept = default;

int PiGraphObject::getId() const { return id; }

const std::string &PiGraphObject::getName() const { return name; }

const PiNode *PiGraphObject::asNode() const noexcept { return nullptr; }

RCShdPtr<PiNode> PiGraphObject::getOwnerNode() const { return RCShdPtr<PiNode>(ownerNode); }

void PiGraphObject::dump(std::ostream &out) const { out << name << '#' << id; }

bool PiGraphObject::areEqual(const RCShdPtr<PiGraphObject const> &first,
                             const RCShdPtr<PiGraphObject const> &second) noexcept {
    return first.get() == second.get();
}

void PiGraphObject::detachFromNode() noexcept { ownerNode = nullptr; }

} // namespace Vo
