#pragma once

#include "foundation/CbHandler.h"

#include <pybind11/pybind11.h>

#include <functional>
#include <utility>

namespace VoPython {

// A Python callable on one of the library's callback lists (CbHandler<T>): each call converts the
// value into the callable's arguments and calls it. Owns the callable and the conversion; the
// editor owns the handler until it is unsubscribed. What the callable raises passes to the
// library, which hands it to the caller of the operation by its own rules.
template <class T> class PyHandler : public Vo::CbHandler<T> {
public:
    // The arguments for one value; none when empty.
    using Convert = std::function<pybind11::tuple(const T &)>;

    explicit PyHandler(pybind11::function callable, Convert convert = Convert())
        : function(std::move(callable)), arguments(std::move(convert)) {}

    using Vo::CbHandler<T>::call;
    // The callable may end its own subscription, which destroys this handler: everything the call
    // needs is on the stack before the callable runs, and nothing of the handler is read after.
    void call(const T &value) override {
        const pybind11::tuple given = arguments ? arguments(value) : pybind11::tuple();
        const pybind11::object callable = function;
        callable(*given);
    }

private:
    pybind11::function function;
    Convert arguments;
};

} // namespace VoPython
