#include "platform/tui/ScreenBuffer.h"

namespace tui {

char PlainCharacter(const Cell& cell) {
    if ((cell.attr & attr::kLine) == 0) {
        return cell.ch;
    }
    switch (cell.ch) {
        case 'q':
            return '-';
        case 'x':
            return '|';
        case 'a':
            return '#';
        default:
            return '+';
    }
}

void ScreenBuffer::Resize(int columns, int rows) {
    m_nColumns = columns > 0 ? columns : 0;
    m_nRows = rows > 0 ? rows : 0;
    m_cells.assign(static_cast<std::size_t>(m_nColumns) * m_nRows, Cell{});
    m_shown = m_cells;
    m_bShownKnown = false;
}

void ScreenBuffer::Clear() {
    m_cells.assign(m_cells.size(), Cell{});
}

std::vector<ScreenBuffer::Span> ScreenBuffer::Damage() const {
    std::vector<Span> spans;
    for (int row = 0; row < m_nRows; ++row) {
        int column = 0;
        while (column < m_nColumns) {
            auto differs = [&](int c) {
                return !m_bShownKnown || !(m_cells[Index(c, row)] == m_shown[Index(c, row)]);
            };
            if (!differs(column)) {
                ++column;
                continue;
            }
            int start = column;
            while (column < m_nColumns && differs(column)) {
                ++column;
            }
            spans.push_back({row, start, column - start});
        }
    }
    return spans;
}

void ScreenBuffer::MarkShown() {
    m_shown = m_cells;
    m_bShownKnown = true;
}

std::string ScreenBuffer::RowText(int row) const {
    std::string text;
    for (int column = 0; column < m_nColumns; ++column) {
        text += PlainCharacter(At(column, row));
    }
    return text;
}

std::string ScreenBuffer::ToText() const {
    std::string text;
    for (int row = 0; row < m_nRows; ++row) {
        text += RowText(row);
        text += '\n';
    }
    return text;
}

}  // namespace tui
