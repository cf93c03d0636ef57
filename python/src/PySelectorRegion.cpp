// The selector's region selection (PySelector::selectPointsIn, selectShapesIn).
#include "PyModuleError.h"
#include "PyRegion.h"
#include "PySelector.h"

#include "AppShapeInterface.h"
#include "SeShapeItem.h"

#include "host/selection/SnSelection.h"

#include <string>
#include <vector>

namespace py = pybind11;

namespace VoPython {

namespace {

enum class Mode { replace, add, remove };

Mode modeFrom(const std::string &mode) {
    if (mode == "replace") {
        return Mode::replace;
    }
    if (mode == "add") {
        return Mode::add;
    }
    if (mode == "remove") {
        return Mode::remove;
    }
    throw PyModuleError(PyModuleError::Kind::Value,
                        "mode \"" + mode + "\" (expected \"replace\", \"add\" or \"remove\")");
}

// Marks of the indices 0 .. count - 1 that the region holds.
std::vector<char> pointsInside(const VoExample::AppShapeInterface &shape, const PyRegion &region) {
    std::vector<char> inside(static_cast<std::size_t>(shape.getNbPoints()), 0);
    for (std::size_t index = 0; index < inside.size(); ++index) {
        double x = 0;
        double y = 0;
        shape.getPoint(static_cast<int>(index), x, y);
        inside[index] = region.contains(x, y) ? 1 : 0;
    }
    return inside;
}

bool marked(const std::vector<char> &marks, int index) {
    return index >= 0 && static_cast<std::size_t>(index) < marks.size() &&
           marks[static_cast<std::size_t>(index)] != 0;
}

// A shape with points, each of which the region holds.
bool wholeInside(const VoExample::AppShapeInterface &shape, const PyRegion &region) {
    const int count = shape.getNbPoints();
    if (shape.hasSingleValuedPoints() || count == 0) {
        return false;
    }
    for (int index = 0; index < count; ++index) {
        double x = 0;
        double y = 0;
        shape.getPoint(index, x, y);
        if (!region.contains(x, y)) {
            return false;
        }
    }
    return true;
}

} // namespace

void PySelector::selectPointsIn(py::handle region, const std::string &mode) const {
    const PyRegion area = PyRegion::from(region);
    const Mode how = modeFrom(mode);
    Vo::SeShapeSelector &target = changing();
    const Vo::RCWeakPtr<Vo::SeShapeInterface> primary = target.getPrimarySelectedShapeInterface();
    if (primary.isNull()) {
        return; // none, or a gone one: as the point operations, nothing changes
    }
    const std::size_t record = editor->recordOf(primary);
    const VoExample::AppShapeInterface &shape = editor->live(record);
    if (shape.hasSingleValuedPoints()) {
        throw PyModuleError(PyModuleError::Kind::Value,
                            "select_points_in: the primary shape \"" + shape.getName() +
                                "\" has a single-valued curve, whose points have no positions");
    }
    const std::vector<char> inside = pointsInside(shape, area);
    Vo::Vector<int> points;
    Vo::Vector<int> handles;
    target.getSelectedPoints(points);
    target.getSelectedHandles(handles);
    Vo::Vector<int> result;
    if (how == Mode::remove) {
        for (const int index : points) {
            if (!marked(inside, index)) {
                result.push_back(index);
            }
        }
    } else {
        std::vector<char> taken(inside.size(), 0);
        if (how == Mode::add) {
            result = points;
            for (const int index : points) {
                if (marked(inside, index)) {
                    taken[static_cast<std::size_t>(index)] = 1;
                }
            }
        }
        for (std::size_t index = 0; index < inside.size(); ++index) {
            if (inside[index] != 0 && taken[index] == 0) {
                result.push_back(static_cast<int>(index));
            }
        }
    }
    if (how != Mode::replace && result.size() == points.size()) {
        return; // nothing to add or to take out
    }
    const Vo::RCShdPtr<Vo::SeShape> model = editor->getRecord(record).model;
    if (how == Mode::remove && result.empty() && handles.empty()) {
        target.setShapeParts(model, nullptr, nullptr);
        return;
    }
    target.setShapeParts(model, &result, &handles);
}

void PySelector::selectShapesIn(py::handle region, const std::string &mode) const {
    const PyRegion area = PyRegion::from(region);
    const Mode how = modeFrom(mode);
    Vo::SeShapeSelector &target = changing();
    const std::size_t layerNow = layerIndex();
    std::vector<char> inside(editor->getNbRecords(), 0);
    for (const std::size_t record : editor->getLiveRecords()) {
        inside[record] =
            editor->getRecord(record).layer == layerNow && wholeInside(editor->live(record), area);
    }
    Vo::SnSelection::Items items;
    if (how != Mode::replace) {
        for (const Vo::RCShdPtr<Vo::SnItem const> &item : *target.getCurrentSelection()) {
            const std::size_t record =
                editor->recordOf(Vo::rcCheckedCast<const Vo::SeShapeItem>(item.get())->getData());
            if (how == Mode::add || inside[record] == 0) {
                items.push_back(item);
            }
            if (how == Mode::add) {
                inside[record] = 0; // selected already: not added again
            }
        }
    }
    if (how != Mode::remove) {
        for (std::size_t record = 0; record < inside.size(); ++record) {
            if (inside[record] != 0) {
                items.push_back(Vo::RCShdPtr<Vo::SnItem const>(new Vo::SeShapeItem(
                    Vo::RCShdPtr<Vo::SnParts>(), editor->getRecord(record).weak)));
            }
        }
    }
    target.replaceAllItems(Vo::SnSelection::create(items));
}

} // namespace VoPython
