#include "EditorSpatialIndex.h"

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <limits>

namespace VoEditor {

namespace {

// Columns and rows are kept to 31 bits each, so that a key packs both; far beyond any scene.
const std::int64_t maxColumn = (std::int64_t(1) << 30) - 1;
const EditorSpatialIndex::Entry none{QPointF(), -1, -1};

bool before(const EditorSpatialIndex::Entry &a, const EditorSpatialIndex::Entry &b) {
    return a.slot != b.slot ? a.slot < b.slot : a.index < b.index;
}

} // namespace

EditorSpatialIndex::EditorSpatialIndex(double size) : cellSize(size) {}

void EditorSpatialIndex::clear(double size) {
    cellSize = size > 0 && std::isfinite(size) ? size : 1;
    cells.clear();
    places.clear();
    count = 0;
}

double EditorSpatialIndex::suggestCellSize(const QRectF &extent, std::size_t nbPoints) {
    const double area = std::max(extent.width(), 1.0) * std::max(extent.height(), 1.0);
    // About four points a cell when they are spread evenly.
    return std::sqrt(4 * area / static_cast<double>(std::max<std::size_t>(nbPoints, 1)));
}

std::int64_t EditorSpatialIndex::columnOf(double x) const {
    const double column = std::floor(x / cellSize);
    return static_cast<std::int64_t>(
        std::clamp(column, -static_cast<double>(maxColumn), static_cast<double>(maxColumn)));
}

EditorSpatialIndex::Key EditorSpatialIndex::keyOf(std::int64_t column, std::int64_t row) {
    return ((column + maxColumn) << 31) | (row + maxColumn);
}

EditorSpatialIndex::Key EditorSpatialIndex::keyOf(const QPointF &at) const {
    return keyOf(columnOf(at.x()), columnOf(at.y()));
}

void EditorSpatialIndex::insert(const Entry &entry) {
    const Key key = keyOf(entry.at);
    std::vector<Entry> &cell = cells[key];
    places[static_cast<std::size_t>(entry.slot)][static_cast<std::size_t>(entry.index)] = {
        key, static_cast<std::uint32_t>(cell.size())};
    cell.push_back(entry);
    ++count;
}

// The cell's last entry takes the place of the one erased.
void EditorSpatialIndex::erase(int slot, int index) {
    Place &place = places[static_cast<std::size_t>(slot)][static_cast<std::size_t>(index)];
    const auto found = cells.find(place.cell);
    std::vector<Entry> &cell = found->second;
    const Entry &last = cell.back();
    places[static_cast<std::size_t>(last.slot)][static_cast<std::size_t>(last.index)].offset =
        place.offset;
    cell[place.offset] = last;
    cell.pop_back();
    if (cell.empty()) {
        cells.erase(found);
    }
    place.cell = -1;
    --count;
}

void EditorSpatialIndex::setShape(int slot, const std::vector<QPointF> &points) {
    removeShape(slot);
    if (places.size() <= static_cast<std::size_t>(slot)) {
        places.resize(static_cast<std::size_t>(slot) + 1);
    }
    places[static_cast<std::size_t>(slot)].assign(points.size(), Place{-1, 0});
    for (std::size_t index = 0; index < points.size(); ++index) {
        insert({points[index], slot, static_cast<int>(index)});
    }
}

void EditorSpatialIndex::removeShape(int slot) {
    if (static_cast<std::size_t>(slot) >= places.size()) {
        return;
    }
    std::vector<Place> &shape = places[static_cast<std::size_t>(slot)];
    for (std::size_t index = 0; index < shape.size(); ++index) {
        if (shape[index].cell != -1) {
            erase(slot, static_cast<int>(index));
        }
    }
    std::vector<Place>().swap(shape);
}

void EditorSpatialIndex::move(int slot, int index, const QPointF &to) {
    const Place place = places[static_cast<std::size_t>(slot)][static_cast<std::size_t>(index)];
    if (place.cell == keyOf(to)) {
        cells.find(place.cell)->second[place.offset].at = to;
        return;
    }
    erase(slot, index);
    insert({to, slot, index});
}

template <class Visit> void EditorSpatialIndex::forCells(const QRectF &rect, Visit visit) const {
    const std::int64_t left = columnOf(rect.left());
    const std::int64_t right = columnOf(rect.right());
    const std::int64_t top = columnOf(rect.top());
    const std::int64_t bottom = columnOf(rect.bottom());
    const double walked = (static_cast<double>(right - left) + 1) * (bottom - top + 1);
    if (walked > static_cast<double>(cells.size())) {
        for (const auto &cell : cells) {
            visit(cell.second);
        }
        return;
    }
    for (std::int64_t row = top; row <= bottom; ++row) {
        for (std::int64_t column = left; column <= right; ++column) {
            const auto found = cells.find(keyOf(column, row));
            if (found != cells.end()) {
                visit(found->second);
            }
        }
    }
}

bool EditorSpatialIndex::findNearest(const QPointF &at, double maxDistance, int only,
                                     Entry &found) const {
    const QRectF reach(at.x() - maxDistance, at.y() - maxDistance, 2 * maxDistance,
                       2 * maxDistance);
    Entry best = none;
    double bestDistance = maxDistance;
    forCells(reach, [&](const std::vector<Entry> &cell) {
        for (const Entry &entry : cell) {
            if (only != -1 && entry.slot != only) {
                continue;
            }
            const double distance = QLineF(at, entry.at).length();
            if (distance < bestDistance ||
                (distance == bestDistance && (best.slot < 0 || before(entry, best)))) {
                bestDistance = distance;
                best = entry;
            }
        }
    });
    found = best;
    return best.slot >= 0;
}

std::vector<EditorSpatialIndex::Entry> EditorSpatialIndex::findIn(const QRectF &rect,
                                                                  int only) const {
    std::vector<Entry> inside;
    const QRectF box = rect.normalized();
    forCells(box, [&](const std::vector<Entry> &cell) {
        for (const Entry &entry : cell) {
            if ((only == -1 || entry.slot == only) && entry.at.x() >= box.left() &&
                entry.at.x() <= box.right() && entry.at.y() >= box.top() &&
                entry.at.y() <= box.bottom()) {
                inside.push_back(entry);
            }
        }
    });
    return inside;
}

} // namespace VoEditor
