#include "SessionPlacement.h"

#include <algorithm>
#include <cmath>

namespace VoSession {

namespace {

const double pi = 3.14159265358979323846;
// Evenly spaced points from the first to the last take these angles, so that a crest and a trough
// lie between them and no three points of a short curve fall on one line.
const double firstAngle = pi / 8;
const double angleRange = 1.5 * pi;
// The wave's room in its cell: a margin all round, and a band at the top for the name.
const double margin = 20;
const double titleBand = 30;

} // namespace

SessionPlacement::Point SessionPlacement::getCell(int slot, int nbSlots) {
    const int columns = std::max(1, static_cast<int>(std::ceil(std::sqrt(std::max(nbSlots, 1)))));
    return {(slot % columns) * cellWidth, (slot / columns) * cellHeight};
}

SessionPlacement::Point SessionPlacement::getPoint(int slot, int nbSlots, int index, int count) {
    const Point cell = getCell(slot, nbSlots);
    const double along = count > 1 ? static_cast<double>(index) / (count - 1) : 0.5;
    const double width = cellWidth - 2 * margin;
    const double height = cellHeight - titleBand - 2 * margin;
    return {cell.x + margin + width * (index + 0.5) / std::max(count, 1),
            cell.y + titleBand + margin +
                height * (0.5 - 0.45 * std::sin(firstAngle + angleRange * along))};
}

double SessionPlacement::getHandle(int index, int count) {
    return (index + 0.5) / std::max(count, 1);
}

} // namespace VoSession
