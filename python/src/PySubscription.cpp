#include "PySubscription.h"

namespace py = pybind11;

namespace VoPython {

void PySubscription::bind(py::module_ &module) {
    py::class_<PySubscription>(
        module, "Subscription",
        "A handler on one of the library's callback lists. remove() (or the end of a `with` "
        "block) takes it off; removing it twice does nothing. A handler may remove itself or "
        "others while it runs.")
        .def_property_readonly(
            "active",
            [](const PySubscription &subscription) {
                return subscription.editor->isSubscribed(subscription.subscription);
            },
            "Whether the handler is still subscribed.")
        .def_readonly("list", &PySubscription::what, "The list the handler is on.")
        .def(
            "remove",
            [](PySubscription &subscription) {
                subscription.editor->unsubscribe(subscription.subscription);
            },
            "Unsubscribes the handler; nothing once it is removed.")
        .def(
            "__enter__", [](py::object self) { return self; },
            "The subscription, which the block's end removes.")
        .def(
            "__exit__",
            [](PySubscription &subscription, const py::args &) {
                subscription.editor->unsubscribe(subscription.subscription);
                return false;
            },
            "Removes the subscription; never swallows the exception.")
        .def("__repr__", [](const PySubscription &subscription) {
            return "<voshape.Subscription " + subscription.what +
                   (subscription.editor->isSubscribed(subscription.subscription) ? " active>"
                                                                                 : " removed>");
        });
}

} // namespace VoPython
