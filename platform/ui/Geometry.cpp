#include "platform/ui/Geometry.h"

#include <algorithm>

namespace ui {

namespace {

// Nearest multiple of `unit`, halves rounded up, for negative values too.
int NearestLine(int value, int unit) {
    int twice = 2 * value + unit;
    int line = twice / (2 * unit);
    if (twice % (2 * unit) != 0 && twice < 0) {
        --line;
    }
    return line;
}

}  // namespace

CellRect DialogUnitsToCells(const Rect& rect) {
    CellRect cells;
    cells.column = NearestLine(rect.x, kBaseUnitX);
    cells.row = NearestLine(rect.y, kBaseUnitY);
    cells.columns = std::max(1, NearestLine(rect.x + rect.cx, kBaseUnitX) - cells.column);
    cells.rows = std::max(1, NearestLine(rect.y + rect.cy, kBaseUnitY) - cells.row);
    return cells;
}

}  // namespace ui
