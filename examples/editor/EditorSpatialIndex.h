#pragma once

#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace VoEditor {

// Where the points of every shape lie, for picking: a uniform grid of square cells over the scene,
// each cell listing the points in it. A point moves, and a shape's points come and go, at a cost
// per point that does not depend on how many points there are; a lookup costs the cells it meets
// (never more than the cells in use) and the points in them. Owns its copy of the positions.
class EditorSpatialIndex {
public:
    struct Entry {
        QPointF at;
        int slot;
        int index;
    };

    // An empty index with cells cellSize scene units wide.
    explicit EditorSpatialIndex(double cellSize = 1);

    // Empties the index and gives its cells that size.
    void clear(double cellSize);
    // A cell size that puts a few points in a cell for that many points spread over extent.
    static double suggestCellSize(const QRectF &extent, std::size_t nbPoints);

    // The slot's points, at their index, replacing any the slot had.
    void setShape(int slot, const std::vector<QPointF> &points);
    void removeShape(int slot);
    // The point index of slot, which must be in the index, now lies at to.
    void move(int slot, int index, const QPointF &to);

    // The point nearest to at, no farther than maxDistance, of slot only, or of any slot when
    // only is -1; false when there is none. Ties go to the lower slot, then the lower index.
    bool findNearest(const QPointF &at, double maxDistance, int only, Entry &found) const;
    // The points inside rect (edges included), of slot only or of any slot, in no set order.
    std::vector<Entry> findIn(const QRectF &rect, int only) const;
    std::size_t size() const noexcept { return count; }

private:
    using Key = std::int64_t;
    struct Place {
        Key cell;
        std::uint32_t offset;
    };

    Key keyOf(const QPointF &at) const;
    static Key keyOf(std::int64_t column, std::int64_t row);
    std::int64_t columnOf(double x) const;
    void insert(const Entry &entry);
    void erase(int slot, int index);
    // Calls visit for each cell that meets rect: by walking the rectangle's cells, or all cells
    // when those are fewer.
    template <class Visit> void forCells(const QRectF &rect, Visit visit) const;

    double cellSize;
    std::unordered_map<Key, std::vector<Entry>> cells;
    // For each slot and index, where its entry is; cell -1 for none.
    std::vector<std::vector<Place>> places;
    std::size_t count = 0;
};

} // namespace VoEditor
