#include "SessionPlaces.h"

#include "SessionHostItems.h"

#include "foundation/RCShdPtr.h"

#include <charconv>

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
// multi-valued input's stem and its index (the multi-valued input stands for it), and an input of
// the node starts the place. Each step hangs from the node while the one above it does.
void SessionPlaces::make(const Vo::PiInput &input, Known &into) {
    const Vo::RCShdPtr<Vo::PiInput> parent = input.getParentInput();
    into.place.clear();
    if (parent.isNull()) {
        into.reachable = SessionHostItems::isReachable(input);
        if (into.reachable) {
            into.place = input.getPlace();
        }
    } else {
        const Known &above = known(*parent);
        into.reachable = input.getIndex() >= 0 && above.reachable;
        if (into.reachable && parent->isMultivalued()) {
            into.place.append(above.stem);
            appendIndex(input.getIndex(), into.place);
        } else if (into.reachable) {
            into.place.append(above.place);
            into.place.push_back('/');
            into.place.append(input.getName());
        }
    }
    if (into.reachable && input.isMultivalued()) {
        makeStem(input, parent.get(), into);
    }
}

// What its elements' places start with: the place of the input above it, '/' and its name, or its
// name alone for an input of the node. Made once for all the elements.
void SessionPlaces::makeStem(const Vo::PiInput &input, const Vo::PiInput *parent, Known &into) {
    into.stem.clear();
    if (parent != nullptr) {
        into.stem.append(known(*parent).place);
        into.stem.push_back('/');
    }
    into.stem.append(input.getName());
}

// "[index]" without a string made for the number: an element's place is made for every point.
void SessionPlaces::appendIndex(int index, std::string &into) {
    char digits[16] = {'['};
    char *const end = std::to_chars(digits + 1, digits + sizeof digits - 1, index).ptr;
    *end = ']';
    into.append(digits, static_cast<std::size_t>(end + 1 - digits));
}

const std::string *SessionPlaces::parentPlaceOf(const Vo::PiInput &input) {
    const Vo::RCShdPtr<Vo::PiInput> parent = input.getParentInput();
    if (parent.isNull() || parent->isMultivalued()) {
        return nullptr;
    }
    if (lastParent != parent.get()) {
        make(*parent, parentKnown);
        lastParent = parent.get();
    }
    return parentKnown.reachable && input.getIndex() >= 0 ? &parentKnown.place : nullptr;
}

void SessionPlaces::placeOf(const Vo::PiInput &input, std::string &into) {
    if (const std::string *parentPlace = parentPlaceOf(input)) {
        into.assign(*parentPlace);
        into.push_back('/');
        into.append(input.getName());
        return;
    }
    into = SessionHostItems::placeOf(input);
}

} // namespace VoSession
