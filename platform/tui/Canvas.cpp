#include "platform/tui/Canvas.h"

#include <algorithm>
#include <string>

namespace tui {

ui::CellRect Intersect(const ui::CellRect& a, const ui::CellRect& b) {
    int left = std::max(a.column, b.column);
    int top = std::max(a.row, b.row);
    int right = std::min(a.column + a.columns, b.column + b.columns);
    int bottom = std::min(a.row + a.rows, b.row + b.rows);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

bool ContainsCell(const ui::CellRect& area, int column, int row) {
    return column >= area.column && row >= area.row && column < area.column + area.columns &&
           row < area.row + area.rows;
}

std::string LabelText(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        plain += text[i];
    }
    return plain;
}

Canvas::Canvas(ScreenBuffer& buffer)
    : Canvas(buffer, {0, 0, buffer.Columns(), buffer.Rows()},
             {0, 0, buffer.Columns(), buffer.Rows()}) {}

Canvas::Canvas(ScreenBuffer& buffer, const ui::CellRect& area, const ui::CellRect& clip)
    : m_pBuffer(&buffer), m_area(area), m_clip(clip) {}

Canvas Canvas::Sub(const ui::CellRect& area) const {
    ui::CellRect screen{m_area.column + area.column, m_area.row + area.row, area.columns,
                        area.rows};
    return Canvas(*m_pBuffer, screen, Intersect(m_clip, screen));
}

ui::CellRect Canvas::ToScreen(const ui::CellRect& area) const {
    return Intersect(m_clip,
                     {m_area.column + area.column, m_area.row + area.row, area.columns, area.rows});
}

void Canvas::Put(int column, int row, char ch, std::uint8_t attributes) {
    int x = m_area.column + column;
    int y = m_area.row + row;
    if (ContainsCell(m_clip, x, y) && m_pBuffer->Contains(x, y)) {
        m_pBuffer->At(x, y) = {ch, attributes};
    }
}

int Canvas::Text(int column, int row, std::string_view text, std::uint8_t attributes, int width) {
    int count = static_cast<int>(text.size());
    if (width >= 0) {
        count = std::min(count, width);
    }
    for (int i = 0; i < count; ++i) {
        char ch = text[i];
        Put(column + i, row, (ch == '\t' || ch == '\r' || ch == '\n') ? ' ' : ch, attributes);
    }
    return count;
}

int Canvas::Label(int column, int row, std::string_view text, std::uint8_t attributes, int width) {
    int written = 0;
    for (std::size_t i = 0; i < text.size() && (width < 0 || written < width); ++i) {
        std::uint8_t a = attributes;
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&') {
                a |= attr::kUnderline;
            }
        }
        Put(column + written, row, text[i], a);
        ++written;
    }
    return written;
}

void Canvas::Fill(const ui::CellRect& area, char ch, std::uint8_t attributes) {
    for (int row = area.row; row < area.row + area.rows; ++row) {
        for (int column = area.column; column < area.column + area.columns; ++column) {
            Put(column, row, ch, attributes);
        }
    }
}

void Canvas::Mark(const ui::CellRect& area, std::uint8_t attributes) {
    ui::CellRect screen = ToScreen(area);
    for (int row = screen.row; row < screen.row + screen.rows; ++row) {
        for (int column = screen.column; column < screen.column + screen.columns; ++column) {
            if (m_pBuffer->Contains(column, row)) {
                m_pBuffer->At(column, row).attr |= attributes;
            }
        }
    }
}

void Canvas::HorizontalLine(int column, int row, int length, std::uint8_t attributes) {
    for (int i = 0; i < length; ++i) {
        Put(column + i, row, 'q', attributes | attr::kLine);
    }
}

void Canvas::VerticalLine(int column, int row, int length, std::uint8_t attributes) {
    for (int i = 0; i < length; ++i) {
        Put(column, row + i, 'x', attributes | attr::kLine);
    }
}

void Canvas::Frame(const ui::CellRect& area, std::uint8_t attributes) {
    if (area.columns < 2 || area.rows < 2) {
        return;
    }
    int right = area.column + area.columns - 1;
    int bottom = area.row + area.rows - 1;
    HorizontalLine(area.column + 1, area.row, area.columns - 2, attributes);
    HorizontalLine(area.column + 1, bottom, area.columns - 2, attributes);
    VerticalLine(area.column, area.row + 1, area.rows - 2, attributes);
    VerticalLine(right, area.row + 1, area.rows - 2, attributes);
    std::uint8_t line = attributes | attr::kLine;
    Put(area.column, area.row, 'l', line);
    Put(right, area.row, 'k', line);
    Put(area.column, bottom, 'm', line);
    Put(right, bottom, 'j', line);
}

}  // namespace tui
