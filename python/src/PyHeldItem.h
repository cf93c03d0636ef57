#pragma once

#include <pybind11/pybind11.h>

namespace VoPython {

// What the module's wrappers of a library item (Item, SelectedItem) share: two are equal when the
// items they hold are (SnItem::isEqual), and a wrapper equals nothing of another class. Holds
// nothing.
class PyHeldItem {
public:
    PyHeldItem() = delete;

    template <class Wrapper> static bool equals(const Wrapper &held, pybind11::object other) {
        return pybind11::isinstance<Wrapper>(other) &&
               held.getItem()->isEqual(*other.cast<const Wrapper &>().getItem());
    }
};

} // namespace VoPython
