#include "SessionPlaces.h"

#include "SessionHostItems.h"

#include "foundation/RCShdPtr.h"

namespace VoSession {

const SessionPlaces::Known &SessionPlaces::known(const Vo::PiInput &input) {
    const auto found = inputs.find(&input);
    if (found != inputs.end()) {
        return found->second;
    }
    Known made;
    make(input, made); // may add the input's parents first
    return inputs.emplace(&input, std::move(made)).first->second;
}

// As PiInput::getPlace walks, from the parent's place: a plain input adds its name, an element its
// multi-valued input's name and its index (the multi-valued input stands for it), and an input of
// the node starts the place. Each step hangs from the node while the one above it does.
void SessionPlaces::make(const Vo::PiInput &input, Known &into) {
    const Vo::RCShdPtr<Vo::PiInput> parent = input.getParentInput();
    into.place.clear();
    if (parent.isNull()) {
        into.reachable = SessionHostItems::isReachable(input);
        if (into.reachable) {
            into.place = input.getPlace();
        }
        return;
    }
    into.reachable = input.getIndex() >= 0 && known(*parent).reachable;
    if (!into.reachable) {
        return;
    }
    if (!parent->isMultivalued()) {
        into.place.append(known(*parent).place).append(1, '/').append(input.getName());
        return;
    }
    const Vo::RCShdPtr<Vo::PiInput> holder = parent->getParentInput();
    if (!holder.isNull()) {
        into.place.append(known(*holder).place).append(1, '/');
    }
    into.place.append(parent->getName())
        .append(1, '[')
        .append(std::to_string(input.getIndex()))
        .append(1, ']');
}

void SessionPlaces::placeOf(const Vo::PiInput &input, std::string &into) {
    const Vo::RCShdPtr<Vo::PiInput> parent = input.getParentInput();
    if (!parent.isNull() && !parent->isMultivalued()) {
        if (lastParent != parent.get()) {
            make(*parent, parentKnown);
            lastParent = parent.get();
        }
        const Known &held = parentKnown;
        if (held.reachable && input.getIndex() >= 0) {
            into.assign(held.place).append(1, '/').append(input.getName());
            return;
        }
    }
    into = SessionHostItems::placeOf(input);
}

} // namespace VoSession
