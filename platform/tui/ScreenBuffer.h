// The screen as cells, with what the terminal shows now, so that only changed cells are sent.
//
// The front end paints the whole scene into the buffer each time something changed (a terminal
// is small), then asks for the damage: the runs of cells that differ from what the terminal
// shows. After writing them it marks the buffer shown. Used by one thread (the user-interface
// thread of the front end); plain data, no terminal needed.
#pragma once

#include <string>
#include <vector>

#include "platform/tui/Cell.h"

namespace tui {

class ScreenBuffer {
  public:
    struct Span {  // `length` cells of one row, starting at `column`
        int row = 0;
        int column = 0;
        int length = 0;
        bool operator==(const Span&) const = default;
    };

    // A new size forgets what the terminal shows: everything counts as damaged.
    void Resize(int columns, int rows);
    int Columns() const { return m_nColumns; }
    int Rows() const { return m_nRows; }

    // Blanks the whole painting (not what is shown).
    void Clear();
    bool Contains(int column, int row) const {
        return column >= 0 && row >= 0 && column < m_nColumns && row < m_nRows;
    }
    Cell& At(int column, int row) { return m_cells[Index(column, row)]; }
    const Cell& At(int column, int row) const { return m_cells[Index(column, row)]; }
    const Cell* RowCells(int row) const { return &m_cells[Index(0, row)]; }

    // Runs of cells, row by row, whose painting differs from what is shown.
    std::vector<Span> Damage() const;
    // The terminal now shows the painting.
    void MarkShown();
    // The terminal's content is unknown (cleared, garbled): the next damage is everything.
    void Invalidate() { m_bShownKnown = false; }

    // The painting as text, rows ended by '\n', lines drawn as - | +.
    std::string RowText(int row) const;
    std::string ToText() const;

  private:
    int Index(int column, int row) const { return row * m_nColumns + column; }

    int m_nColumns = 0;
    int m_nRows = 0;
    std::vector<Cell> m_cells;
    std::vector<Cell> m_shown;
    bool m_bShownKnown = false;
};

}  // namespace tui
