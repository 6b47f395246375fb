#include "platform/tui/HitMap.h"

#include "platform/tui/Canvas.h"

namespace tui {

void HitMap::Add(const ui::CellRect& area, ui::Window* window, int item) {
    if (area.columns > 0 && area.rows > 0) {
        m_regions.push_back({area, {window, item}});
    }
}

HitMap::Hit HitMap::At(int column, int row) const {
    for (auto it = m_regions.rbegin(); it != m_regions.rend(); ++it) {
        if (ContainsCell(it->area, column, row)) {
            return it->hit;
        }
    }
    return {};
}

}  // namespace tui
