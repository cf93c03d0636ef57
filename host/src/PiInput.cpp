#include "host/PiInput.h"

#include "host/PiNode.h"

#include <utility>

namespace Vo {

PiInput::PiInput(int id, std::string name, PiNode *owner) noexcept
    : PiGraphObject(id, std::move(name), owner) {}

PiInput::~PiInput() noexcept = default;

RCShdPtr<PiNode> PiInput::getNode() const { return getOwnerNode(); }

bool PiInput::isMultivalued() const { return false; }

} // namespace Vo
