#pragma once

#include "PyEditor.h"
#include "PyHandler.h"

#include <pybind11/pybind11.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace VoPython {

// voshape.Subscription: a Python callable's place on one of the library's callback lists, until
// remove(), the end of a `with` block, or the editor's close(). The editor owns the handler; this
// names it. Shares the editor.
class PySubscription {
public:
    PySubscription(std::shared_ptr<PyEditor> owner, int number, std::string list)
        : editor(std::move(owner)), subscription(number), what(std::move(list)) {}

    // Makes a handler of the callable, links it with `link` (which subscribes it to its list) and
    // gives the editor its ownership. Raises TypeError for an object that is not callable.
    template <class T>
    static PySubscription
    subscribe(const std::shared_ptr<PyEditor> &editor, pybind11::object callable,
              typename PyHandler<T>::Convert convert,
              const std::function<void(Vo::CbHandler<T> *)> &link, std::string list) {
        if (!PyCallable_Check(callable.ptr())) {
            throw pybind11::type_error("a handler must be callable, not " +
                                       std::string(pybind11::repr(callable)));
        }
        const auto handler = std::make_shared<PyHandler<T>>(
            pybind11::reinterpret_borrow<pybind11::function>(callable), std::move(convert));
        link(handler.get());
        const int number = editor->subscribe(handler);
        return PySubscription(editor, number, std::move(list));
    }

    static void bind(pybind11::module_ &module);

private:
    std::shared_ptr<PyEditor> editor;
    int subscription;
    std::string what;
};

} // namespace VoPython
