#pragma once

#include "SessionPlaces.h"
#include "SessionState.h"

#include "host/graph/PiInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiPath.h"
#include "host/graph/PiSnItem.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"

#include <pybind11/pybind11.h>

#include <string>
#include <unordered_map>
#include <vector>

namespace VoPython {

// The dictionaries of the application's selection ({"kind", "name"} and, for an input, "path"),
// in the session's words (SessionHostItems), made with the interpreter's own calls: the keys and
// kinds made once, the node names of a path once a run of items sharing it, and the place of
// each parent input once (SessionPlaces), so that a run of inputs costs a dictionary, a name and a
// path list each. Every dictionary and path list is the caller's own. Holds Python strings: the
// GIL's thread only.
class PyItemDicts {
public:
    PyItemDicts();

    // The dictionary of one item.
    pybind11::dict of(const Vo::SnItem &item);
    // The dictionary of an item already described.
    pybind11::dict of(const VoSession::SessionState::HostItem &described);
    // The dictionaries of every item of the selection, in order.
    static pybind11::list listOf(const Vo::SnSelection &selection);

private:
    static pybind11::list listOfAll(const Vo::SnSelection &selection);
    pybind11::dict inputDict(const Vo::PiSnItem<Vo::PiInput> &item);
    // The input's place, as SessionHostItems::placeOf gives it.
    pybind11::str placeName(const Vo::PiInput &input);
    pybind11::dict dictOf(pybind11::handle kind, pybind11::handle name, pybind11::handle path);
    // The shared string of a kind or a node's name.
    pybind11::handle shared(const std::string &text);
    pybind11::handle nodeName(const Vo::PiNode &node);
    // The names of the path's nodes, for the run of items that share it.
    const std::vector<pybind11::handle> &pathNames(const Vo::PiPath *path);

    pybind11::str kindKey;
    pybind11::str nameKey;
    pybind11::str pathKey;
    pybind11::str inputKind;
    std::unordered_map<std::string, pybind11::str> strings;
    std::unordered_map<const Vo::PiNode *, pybind11::handle> names;
    const Vo::PiPath *lastPath = nullptr;
    std::vector<pybind11::handle> lastNames;
    VoSession::SessionPlaces places;
    std::string place;
};

} // namespace VoPython
