#include "PyItemDicts.h"

#include "SessionHostItems.h"

#include "host/graph/PiPath.h"

namespace py = pybind11;

namespace VoPython {

namespace {

py::str interned(const char *text) {
    return py::reinterpret_steal<py::str>(PyUnicode_InternFromString(text));
}

py::str utf8(const std::string &text) {
    PyObject *made =
        PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), nullptr);
    if (made == nullptr) {
        throw py::error_already_set();
    }
    return py::reinterpret_steal<py::str>(made);
}

void check(int status) {
    if (status != 0) {
        throw py::error_already_set();
    }
}

// Holds the interpreter's cyclic garbage collector off while it lives, then leaves it as it was.
// Through the gc module, which every Python the module builds for has (a few microseconds).
class CollectorPause {
public:
    CollectorPause() : gc(py::module_::import("gc")), wasOn(gc.attr("isenabled")().cast<bool>()) {
        gc.attr("disable")();
    }
    ~CollectorPause() {
        if (!wasOn) {
            return;
        }
        PyObject *done = PyObject_CallMethod(gc.ptr(), "enable", nullptr);
        if (done == nullptr) {
            PyErr_Clear(); // a destructor raises nothing; the collector then stays off
        }
        Py_XDECREF(done);
    }
    CollectorPause(const CollectorPause &) = delete;
    CollectorPause &operator=(const CollectorPause &) = delete;

private:
    py::module_ gc;
    bool wasOn;
};

} // namespace

PyItemDicts::PyItemDicts()
    : kindKey(interned("kind")), nameKey(interned("name")), pathKey(interned("path")),
      inputKind(interned("input")), inputTemplate(dictOf(inputKind, py::none(), py::none())) {}

py::handle PyItemDicts::shared(const std::string &text) {
    const auto found = strings.find(text);
    return found != strings.end() ? found->second : strings.emplace(text, utf8(text)).first->second;
}

py::handle PyItemDicts::nodeName(const Vo::PiNode &node) {
    const auto found = names.find(&node);
    return found != names.end() ? found->second
                                : names.emplace(&node, shared(node.getName())).first->second;
}

py::dict PyItemDicts::dictOf(py::handle kind, py::handle name, py::handle path) {
    py::dict dict = py::reinterpret_steal<py::dict>(_PyDict_NewPresized(path ? 3 : 2));
    if (!dict) {
        throw py::error_already_set();
    }
    check(PyDict_SetItem(dict.ptr(), kindKey.ptr(), kind.ptr()));
    check(PyDict_SetItem(dict.ptr(), nameKey.ptr(), name.ptr()));
    if (path) {
        check(PyDict_SetItem(dict.ptr(), pathKey.ptr(), path.ptr()));
    }
    return dict;
}

py::dict PyItemDicts::of(const VoSession::SessionState::HostItem &described) {
    if (described.kind != "input") {
        return dictOf(shared(described.kind), utf8(described.name), py::handle());
    }
    py::list path(described.path.size());
    for (std::size_t at = 0; at < described.path.size(); ++at) {
        path[at] = shared(described.path[at]);
    }
    return dictOf(inputKind, utf8(described.name), path);
}

py::dict PyItemDicts::inputDict(const Vo::PiSnItem<Vo::PiInput> &item) {
    const Vo::RCShdPtr<Vo::PiInput const> input = item.getInput();
    if (input.isNull()) {
        return of(VoSession::SessionHostItems::describe(item));
    }
    places.placeOf(*input, place);
    const Vo::RCShdPtr<Vo::PiPath const> walked = item.getPath();
    const int length = walked.isNull() ? 0 : walked->getNbNodes();
    py::list path(static_cast<std::size_t>(length));
    for (int at = 0; at < length; ++at) {
        PyList_SET_ITEM(path.ptr(), at, nodeName(*walked->getNode(at)).inc_ref().ptr());
    }
    py::dict dict = py::reinterpret_steal<py::dict>(PyDict_Copy(inputTemplate.ptr()));
    if (!dict) {
        throw py::error_already_set();
    }
    check(PyDict_SetItem(dict.ptr(), nameKey.ptr(), utf8(place).ptr()));
    check(PyDict_SetItem(dict.ptr(), pathKey.ptr(), path.ptr()));
    return dict;
}

py::dict PyItemDicts::of(const Vo::SnItem &item) {
    if (const auto *input = dynamic_cast<const Vo::PiSnItem<Vo::PiInput> *>(&item)) {
        return inputDict(*input);
    }
    return of(VoSession::SessionHostItems::describe(item));
}

// The collector is held off while the list is made: dictionaries of strings and lists of strings
// make no cycles, and a pass every few hundred of them would walk the young ones again and again.
py::list PyItemDicts::listOf(const Vo::SnSelection &selection) {
    const CollectorPause pause;
    return listOfAll(selection);
}

py::list PyItemDicts::listOfAll(const Vo::SnSelection &selection) {
    PyItemDicts dicts;
    py::list made(static_cast<std::size_t>(selection.getNbItems()));
    Py_ssize_t at = 0;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : selection) {
        PyList_SET_ITEM(made.ptr(), at++, dicts.of(*item).release().ptr());
    }
    return made;
}

} // namespace VoPython
