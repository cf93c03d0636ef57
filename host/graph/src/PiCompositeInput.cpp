#include "host/graph/PiCompositeInput.h"

#include "host/IteratorImpVector.h"

#include <utility>

namespace Vo {

PiCompositeInput::PiCompositeInput(int id, std::string name, PiNode *owner) noexcept
    : PiInput(id, std::move(name), owner), components(this) {}

PiCompositeInput::~PiCompositeInput() noexcept = default;

Iterator<RCShdPtr<PiInput>> PiCompositeInput::getInputs(int) const {
    return IteratorImpVector<RCShdPtr<PiInput>>::makeIterator(components.snapshot());
}

int PiCompositeInput::getNbInputs() const noexcept { return components.getSize(); }

void PiCompositeInput::detachFromNode() noexcept {
    PiInput::detachFromNode();
    components.detachAll();
}

} // namespace Vo
