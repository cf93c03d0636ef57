#include "host/graph/PiInput.h"

#include "host/graph/PiNode.h"

#include <utility>

namespace Vo {

PiInput::PiInput(int id, std::string name, PiNode *owner) noexcept
    : PiGraphObject(id, std::move(name), owner) {}

PiInput::~PiInput() noexcept = default;

RCShdPtr<PiNode> PiInput::getNode() const { return getOwnerNode(); }

bool PiInput::isMultivalued() const { return false; }

int PiInput::getNbSubInputs() const noexcept { return 0; }

RCShdPtr<PiInput> PiInput::getSubInput(int) const { return RCShdPtr<PiInput>(); }

RCShdPtr<PiInput> PiInput::getParentInput() const { return RCShdPtr<PiInput>(parent); }

int PiInput::getIndex() const noexcept {
    if (parent != nullptr) {
        parent->settleIndices();
    }
    return index;
}

void PiInput::settleIndices() const noexcept {}

std::string PiInput::getPlace() const {
    std::string place;
    for (const PiInput *input = this; input != nullptr;) {
        const PiInput *holder = input->parent;
        std::string step = input->getName();
        if (holder != nullptr && holder->isMultivalued()) {
            step = holder->getName() + "[" + std::to_string(input->getIndex()) + "]";
            holder = holder->parent; // the element stands for its input
        }
        place = place.empty() ? step : step + "/" + place;
        input = holder;
    }
    return place;
}

} // namespace Vo
