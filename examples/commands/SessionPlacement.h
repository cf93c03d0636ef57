#pragma once

namespace VoSession {

// Where a shape whose scene gives no positions is put: shapes take the cells of a grid, row by row
// in scene order, as square as the count of shapes makes it; in its cell a shape's points run left
// to right, evenly spaced, along a wave with one crest and one trough, and its handles are evenly
// spaced along its gradient. Scene units, y downwards. Depends only on the slot, the number of
// slots and the counts, so a scene reads the same every time. Holds nothing.
class SessionPlacement {
public:
    struct Point {
        double x;
        double y;
    };

    static constexpr double cellWidth = 300;
    static constexpr double cellHeight = 200;

    SessionPlacement() = delete;

    static Point getPoint(int slot, int nbSlots, int index, int count);
    static double getHandle(int index, int count);
    // The top left corner of the slot's cell.
    static Point getCell(int slot, int nbSlots);
};

} // namespace VoSession
