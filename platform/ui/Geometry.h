// Places and sizes. Templates place windows in dialog units; a terminal cell is 4 x 8 of them.
// A "pixel" of the pages (column widths, placement offsets) is one dialog unit, so the dialog
// base units are 4 horizontally and 8 vertically.
#pragma once

#include "platform/sys/Export.h"

namespace ui {

struct Rect {  // dialog units
    int x = 0;
    int y = 0;
    int cx = 0;
    int cy = 0;
    bool operator==(const Rect&) const = default;
};

struct CellRect {  // terminal cells
    int column = 0;
    int row = 0;
    int columns = 0;
    int rows = 0;
    bool operator==(const CellRect&) const = default;
};

inline constexpr int kBaseUnitX = 4;  // dialog units per cell column
inline constexpr int kBaseUnitY = 8;  // dialog units per cell row

// Both edges are rounded to the nearest cell line (halves up); a rectangle of any size keeps
// at least one cell in each direction, so small controls never vanish.
QUILAN_EXPORT CellRect DialogUnitsToCells(const Rect& rect);

}  // namespace ui
