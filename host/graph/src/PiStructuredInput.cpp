#include "host/graph/PiStructuredInput.h"

#include "host/IteratorImpVector.h"
#include "host/graph/PiNode.h"

#include "PiInputFactory.h"

#include <utility>

namespace Vo {

PiStructuredInput::PiStructuredInput(int id, std::string name, PiNode *owner) noexcept
    : PiInput(id, std::move(name), owner), inputs(this) {}

PiStructuredInput::~PiStructuredInput() noexcept = default;

RCShdPtr<PiInput> PiStructuredInput::getInput(const std::string &name, int) const {
    return inputs.find(name);
}

Iterator<RCShdPtr<PiInput>> PiStructuredInput::getInputs(int) const {
    return IteratorImpVector<RCShdPtr<PiInput>>::makeIterator(inputs.snapshot());
}

int PiStructuredInput::getNbInputs() const noexcept { return inputs.getSize(); }

RCShdPtr<PiInput> PiStructuredInput::addInput(const std::string &name) {
    return inputs.appendUnique(name, [&] { return PiInputFactory(*getNode()).createPlain(name); });
}

RCShdPtr<PiMultivaluedInput>
PiStructuredInput::addMultivaluedInput(const std::string &name,
                                       PiMultivaluedInput::ElementKind elementKind,
                                       const Vector<std::string> &componentNames) {
    return inputs.appendUnique(name, [&] {
        return PiInputFactory(*getNode()).createMultivalued(name, elementKind, componentNames);
    });
}

void PiStructuredInput::detachFromNode() noexcept {
    PiInput::detachFromNode();
    inputs.detachAll();
}

} // namespace Vo
