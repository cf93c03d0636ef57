#include "PyItemDicts.h"

#include "SessionHostItems.h"

#include "host/graph/PiPath.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <typeinfo>

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

// Eight bytes at a time: a place is read for every item.
bool isAscii(const std::string &text) {
    std::uint64_t seen = 0;
    std::size_t at = 0;
    for (; at + sizeof seen <= text.size(); at += sizeof seen) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        seen |= word;
    }
    for (; at < text.size(); ++at) {
        seen |= static_cast<unsigned char>(text[at]);
    }
    return (seen & 0x8080808080808080u) == 0;
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
      inputKind(interned("input")) {}

py::handle PyItemDicts::shared(const std::string &text) {
    const auto found = strings.find(text);
    return found != strings.end() ? found->second : strings.emplace(text, utf8(text)).first->second;
}

py::handle PyItemDicts::nodeName(const Vo::PiNode &node) {
    const auto found = names.find(&node);
    return found != names.end() ? found->second
                                : names.emplace(&node, shared(node.getName())).first->second;
}

// An empty dictionary takes its first string key into a table for string keys, which the others
// join; a presized one is made for keys of any kind, where each insertion costs more.
py::dict PyItemDicts::dictOf(py::handle kind, py::handle name, py::handle path) {
    py::dict dict = py::reinterpret_steal<py::dict>(PyDict_New());
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
    const std::vector<py::handle> &nodes = pathNames(item.getPath().get());
    py::list path(nodes.size());
    for (std::size_t at = 0; at < nodes.size(); ++at) {
        PyList_SET_ITEM(path.ptr(), static_cast<Py_ssize_t>(at), nodes[at].inc_ref().ptr());
    }
    return dictOf(inputKind, placeName(*input), path);
}

// An ASCII place under its parent's (nearly every one) is written straight into the string, the
// parent's place and the input's name, without a copy in between nor the decoder's pass.
py::str PyItemDicts::placeName(const Vo::PiInput &input) {
    const std::string *parentPlace = places.parentPlaceOf(input);
    const std::string &name = input.getName();
    if (parentPlace == nullptr || !isAscii(*parentPlace) || !isAscii(name)) {
        places.placeOf(input, place);
        return utf8(place);
    }
    const std::size_t size = parentPlace->size() + 1 + name.size();
    auto made = py::reinterpret_steal<py::str>(PyUnicode_New(static_cast<Py_ssize_t>(size), 0x7f));
    if (!made) {
        throw py::error_already_set();
    }
    char *into = std::copy(parentPlace->begin(), parentPlace->end(),
                           static_cast<char *>(PyUnicode_DATA(made.ptr())));
    *into++ = '/';
    std::copy(name.begin(), name.end(), into);
    return made;
}

// The items of a run share their path: its names are looked up when the path changes. The
// selection holds every item's path while its list is made, so a path seen is never another one
// at the same address; no path at all (null) reads as the empty one, which starts the run.
const std::vector<py::handle> &PyItemDicts::pathNames(const Vo::PiPath *path) {
    if (path == lastPath) {
        return lastNames;
    }
    lastPath = path;
    lastNames.clear();
    for (int at = 0; at < path->getNbNodes(); ++at) {
        lastNames.push_back(nodeName(*path->getNode(at)));
    }
    return lastNames;
}

// Input items of that very class take the quick way, the exact type being cheaper to check than
// a cast; any other item (a class derived from it too) is described as one item alone.
py::dict PyItemDicts::of(const Vo::SnItem &item) {
    using InputItem = Vo::PiSnItem<Vo::PiInput>;
    if (typeid(item) == typeid(InputItem)) {
        return inputDict(static_cast<const InputItem &>(item));
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
