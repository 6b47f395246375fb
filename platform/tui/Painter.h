// Paints the toolkit's windows into a ScreenBuffer and remembers where it put them.
//
// The front end hands it the windows it shows, lowest first; the last one is the innermost
// modal window, the only one that shows the focus (and the busy mark). Each top-level window
// is centred on the screen in a frame whose top line carries its title; its client area is its
// size in dialog units converted to cells, and its controls sit at their bounds converted the
// same way. A dialog's frame lies around its client area; a sheet's lies on the first and last
// rows of its client area, which the sheet's layout keeps empty. So on 80 x 24 cells a dialog
// may be 312 x 176 dialog units, and a sheet's pages 296 x 155. A screen smaller than
// kMinColumns x kMinRows gets a notice instead.
//
// Besides the toolkit's state the painter keeps the little that only the terminal needs: the
// first row shown of each list view and long text, and the drop-down list whose entries are
// shown. Owned by the front end and used on its thread only. The windows must exist while
// Paint runs; the hit map refers to them until the next Paint.
#pragma once

#include <map>
#include <vector>

#include "platform/tui/Canvas.h"
#include "platform/tui/HitMap.h"
#include "platform/tui/ScreenBuffer.h"

namespace ui {
class DropDownList;
class ListView;
class Window;
}  // namespace ui

namespace tui {

class Painter {
  public:
    static constexpr int kMinColumns = 80;
    static constexpr int kMinRows = 24;
    // The item of a hit on a window's close box.
    static constexpr int kCloseBox = -2;

    void Paint(ScreenBuffer& screen, const std::vector<ui::Window*>& windows, bool bBusy);

    bool IsTooSmall() const { return m_bTooSmall; }
    const HitMap& Hits() const { return m_hits; }
    struct Cursor {
        int column = 0;
        int row = 0;
        bool bVisible = false;
    };
    const Cursor& CursorPlace() const { return m_cursor; }

    // The frame of a top-level window on a screen of that size.
    static ui::CellRect FrameOf(const ui::Window& top, int columns, int rows);

    // Scrolls a long text (the help viewer's) by rows; false when it did not move.
    bool ScrollText(const ui::Window& text, int delta);
    // The drop-down list whose entries are shown below it, or none.
    void SetDropped(ui::DropDownList* list) { m_pDropped = list; }
    ui::DropDownList* Dropped() const { return m_pDropped; }

  private:
    void PaintNotice(Canvas& canvas);
    void PaintTop(Canvas& screen, ui::Window& top, bool bActive, bool bBusy);
    void PaintTabs(Canvas& client, ui::Window& sheet, bool bActive);
    void PaintChildren(Canvas& client, const ui::Window& parent, bool bActive);
    void PaintControl(Canvas& client, ui::Window& control, bool bActive);

    void PaintText(Canvas& area, ui::Window& text, std::uint8_t look);
    void PaintButton(Canvas& area, ui::Window& button, bool bFocus, std::uint8_t look);
    void PaintEdit(Canvas& area, ui::Window& edit, bool bFocus, std::uint8_t look);
    void PaintDropDown(Canvas& area, ui::DropDownList& list, bool bFocus, std::uint8_t look);
    // Over everything else, and beyond the window when it needs the room.
    void PaintDroppedEntries(Canvas& screen, const Canvas& client, ui::DropDownList& list);
    void PaintList(Canvas& area, ui::ListView& list, bool bFocus, std::uint8_t look);
    void PaintUpDown(Canvas& area, ui::Window& upDown, std::uint8_t look);
    void PaintProgress(Canvas& area, ui::Window& bar, std::uint8_t look);
    void PaintImage(Canvas& area, ui::Window& image);

    void Hit(const Canvas& canvas, const ui::CellRect& area, ui::Window* window, int item = -1) {
        m_hits.Add(canvas.ToScreen(area), window, item);
    }

    HitMap m_hits;
    Cursor m_cursor;
    bool m_bTooSmall = false;
    ui::DropDownList* m_pDropped = nullptr;
    bool m_bDroppedShown = false;
    // List views and long texts: the first row shown, and how far it may go; only the windows
    // of the last painting are kept.
    std::map<const ui::Window*, int> m_firstRow;
    std::map<const ui::Window*, int> m_lastFirstRow;
    std::map<const ui::Window*, int> m_maxFirstRow;
};

}  // namespace tui
