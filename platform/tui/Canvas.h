// Drawing into a ScreenBuffer through a window onto it: coordinates are relative to the
// canvas's origin and nothing lands outside its clip rectangle. Cheap to copy; it refers to the
// buffer, which must outlive it.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/tui/ScreenBuffer.h"
#include "platform/ui/Geometry.h"

namespace tui {

class Canvas {
  public:
    explicit Canvas(ScreenBuffer& buffer);

    // A canvas for `area` (relative to this one), clipped to this one's clip as well.
    Canvas Sub(const ui::CellRect& area) const;
    int Columns() const { return m_area.columns; }
    int Rows() const { return m_area.rows; }
    // The canvas's place on the screen.
    const ui::CellRect& Area() const { return m_area; }
    // `area` (relative) in screen cells, clipped to what this canvas may paint.
    ui::CellRect ToScreen(const ui::CellRect& area) const;

    void Put(int column, int row, char ch, std::uint8_t attributes = 0);
    // Writes at most `width` cells (all of it when negative); returns the cells written.
    int Text(int column, int row, std::string_view text, std::uint8_t attributes = 0,
             int width = -1);
    // As Text, but "&x" underlines x and "&&" is one '&'.
    int Label(int column, int row, std::string_view text, std::uint8_t attributes = 0,
              int width = -1);
    void Fill(const ui::CellRect& area, char ch = ' ', std::uint8_t attributes = 0);
    // Adds attributes to the cells already painted there.
    void Mark(const ui::CellRect& area, std::uint8_t attributes);
    void HorizontalLine(int column, int row, int length, std::uint8_t attributes = 0);
    void VerticalLine(int column, int row, int length, std::uint8_t attributes = 0);
    void Frame(const ui::CellRect& area, std::uint8_t attributes = 0);

  private:
    Canvas(ScreenBuffer& buffer, const ui::CellRect& area, const ui::CellRect& clip);

    ScreenBuffer* m_pBuffer;
    ui::CellRect m_area;  // screen cells; the origin of the coordinates
    ui::CellRect m_clip;  // screen cells
};

// Intersection of two rectangles (empty: zero columns or rows).
ui::CellRect Intersect(const ui::CellRect& a, const ui::CellRect& b);
bool ContainsCell(const ui::CellRect& area, int column, int row);

// The text a label shows, without its '&' marks.
std::string LabelText(std::string_view text);

}  // namespace tui
