#include "host/graph/PiMultivaluedInput.h"

#include "host/graph/PiNode.h"

#include "PiInputFactory.h"

#include <algorithm>
#include <utility>

namespace Vo {

PiMultivaluedInput::PiMultivaluedInput(int id, std::string name, PiNode *owner, ElementKind kind,
                                       Vector<std::string> components) noexcept
    : PiInput(id, std::move(name), owner), elementKind(kind), componentNames(std::move(components)),
      elements(this) {}

PiMultivaluedInput::~PiMultivaluedInput() noexcept = default;

bool PiMultivaluedInput::isMultivalued() const { return true; }

int PiMultivaluedInput::getNbElements() const noexcept { return elements.getSize(); }

RCShdPtr<PiInput> PiMultivaluedInput::getElement(int index) const { return elements.get(index); }

PiMultivaluedInput::ElementKind PiMultivaluedInput::getElementKind() const noexcept {
    return elementKind;
}

const Vector<std::string> &PiMultivaluedInput::getComponentNames() const noexcept {
    return componentNames;
}

void PiMultivaluedInput::appendElements(int count) {
    if (count <= 0) {
        return;
    }
    PiInputFactory factory(*getNode());
    elements.reserve(elements.getSize() + count);
    for (int i = 0; i < count; ++i) {
        elements.append(factory.createElement(*this));
    }
}

RCShdPtr<PiInput> PiMultivaluedInput::insertElement(int index) {
    if (index < 0 || index > elements.getSize()) {
        return RCShdPtr<PiInput>();
    }
    RCShdPtr<PiInput> element = PiInputFactory(*getNode()).createElement(*this);
    tellMoving();
    elements.insert(index, element);
    return element;
}

bool PiMultivaluedInput::removeElement(int index) noexcept {
    if (!elements.isIndex(index)) {
        return false;
    }
    tellMoving();
    elements.remove(index);
    return true;
}

void PiMultivaluedInput::watchElements(PiElementsWatcher &watcher) const {
    watchers.push_back(&watcher);
}

void PiMultivaluedInput::unwatchElements(PiElementsWatcher &watcher) const noexcept {
    watchers.erase(std::remove(watchers.begin(), watchers.end(), &watcher), watchers.end());
}

// Each watch ends as it is told: the list is emptied first, so a watcher may unwatch meanwhile.
void PiMultivaluedInput::tellMoving() noexcept {
    std::vector<PiElementsWatcher *> told;
    told.swap(watchers);
    for (PiElementsWatcher *watcher : told) {
        watcher->elementsMoving();
    }
}

void PiMultivaluedInput::detachFromNode() noexcept {
    PiInput::detachFromNode();
    elements.detachAll();
}

} // namespace Vo
