// Where the front end drew which window, so that a click can be given to the window (and list
// row, drop-down entry, up-down arrow or sheet tab) under the pointer. Rebuilt with each
// painting; the regions added last lie on top.
#pragma once

#include <vector>

#include "platform/ui/Geometry.h"

namespace ui {
class Window;
}

namespace tui {

class HitMap {
  public:
    struct Hit {
        ui::Window* window = nullptr;
        int item = -1;
    };

    void Clear() { m_regions.clear(); }
    // `area` in screen cells; regions with no cells are ignored.
    void Add(const ui::CellRect& area, ui::Window* window, int item = -1);
    // The topmost region at the cell; no window when there is none.
    Hit At(int column, int row) const;

  private:
    struct Region {
        ui::CellRect area;
        Hit hit;
    };
    std::vector<Region> m_regions;
};

}  // namespace tui
