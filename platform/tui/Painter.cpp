#include "platform/tui/Painter.h"

#include <algorithm>
#include <string>

#include "platform/tui/TextWrap.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Template.h"
#include "platform/ui/Window.h"

namespace tui {

namespace {

ui::CellRect ClientCells(const ui::Window& top) {
    const ui::Rect& bounds = top.Bounds();
    return ui::DialogUnitsToCells(ui::Rect{0, 0, bounds.cx, bounds.cy});
}

constexpr const char* kBusyMark = " Busy... ";

// A sheet's own layout keeps its first and last rows empty (a margin above the tabs, the
// lower half of its buttons): its frame lies on them, which gives its pages two rows more.
bool FrameOnClientEdges(const ui::Window& top) {
    return top.Kind() == ui::WindowKind::PropertySheet;
}

}  // namespace

ui::CellRect Painter::FrameOf(const ui::Window& top, int columns, int rows) {
    ui::CellRect client = ClientCells(top);
    ui::CellRect frame{0, 0, client.columns + 2, client.rows + (FrameOnClientEdges(top) ? 0 : 2)};
    frame.column = std::max(0, (columns - frame.columns) / 2);
    frame.row = std::max(0, (rows - frame.rows) / 2);
    return frame;
}

void Painter::Paint(ScreenBuffer& screen, const std::vector<ui::Window*>& windows, bool bBusy) {
    m_hits.Clear();
    m_cursor = {};
    m_lastFirstRow.swap(m_firstRow);
    m_firstRow.clear();
    m_maxFirstRow.clear();
    m_bDroppedShown = false;
    screen.Clear();
    Canvas canvas(screen);
    m_bTooSmall = screen.Columns() < kMinColumns || screen.Rows() < kMinRows;
    if (m_bTooSmall) {
        PaintNotice(canvas);
        return;
    }
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i]->Exists()) {
            PaintTop(canvas, *windows[i], i + 1 == windows.size(), bBusy);
        }
    }
    if (!m_bDroppedShown) {
        m_pDropped = nullptr;
    }
}

void Painter::PaintNotice(Canvas& canvas) {
    std::string notice = "The terminal is too small. This program needs " +
                         std::to_string(kMinColumns) + " x " + std::to_string(kMinRows) +
                         " characters; this one has " + std::to_string(canvas.Columns()) + " x " +
                         std::to_string(canvas.Rows()) + ". Please make it larger.";
    std::vector<std::string> lines = WrapText(notice, canvas.Columns());
    int top = std::max(0, (canvas.Rows() - static_cast<int>(lines.size())) / 2);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        int width = static_cast<int>(lines[i].size());
        canvas.Text(std::max(0, (canvas.Columns() - width) / 2), top + static_cast<int>(i),
                    lines[i], attr::kBold);
    }
}

void Painter::PaintTop(Canvas& screen, ui::Window& top, bool bActive, bool bBusy) {
    ui::CellRect frame = FrameOf(top, screen.Columns(), screen.Rows());
    std::uint8_t look = bActive ? 0 : attr::kDim;
    screen.Fill(frame);
    screen.Frame(frame, look);
    Hit(screen, frame, &top);
    int right = frame.column + frame.columns - 1;
    if (top.Style() & ui::style::kCaption) {
        std::string title = " " + top.Text() + " ";
        screen.Text(frame.column + 2, frame.row, title, look | (bActive ? attr::kBold : 0),
                    std::max(0, frame.columns - 8));
    }
    if (bActive && bBusy) {
        int width = static_cast<int>(std::char_traits<char>::length(kBusyMark));
        screen.Text(right - width - 1, frame.row, kBusyMark, attr::kReverse | attr::kBold);
    } else if (top.Style() & ui::style::kSystemMenu) {
        screen.Text(right - 4, frame.row, "[x]", look);
        Hit(screen, {right - 4, frame.row, 3, 1}, &top, kCloseBox);
    }
    int inset = FrameOnClientEdges(top) ? 0 : 1;
    Canvas client = screen.Sub(
        {frame.column + 1, frame.row + inset, frame.columns - 2, frame.rows - 2 * inset});
    if (top.Kind() == ui::WindowKind::PropertySheet) {
        PaintTabs(client, top, bActive);
    }
    PaintChildren(client, top, bActive);
    if (bActive && m_pDropped && m_bDroppedShown) {
        PaintDroppedEntries(screen, client, *m_pDropped);
    }
}

void Painter::PaintTabs(Canvas& client, ui::Window& window, bool bActive) {
    auto& sheet = static_cast<ui::PropertySheet&>(window);
    ui::PropertyPage* active = sheet.ActivePage();
    if (!active || !active->Exists()) {
        return;
    }
    // A frame around the pages whose top line holds the tabs.
    ui::CellRect page = ui::DialogUnitsToCells(active->Bounds());
    ui::CellRect frame{page.column - 1, page.row - 1, page.columns + 2, page.rows + 2};
    std::uint8_t look = bActive ? 0 : attr::kDim;
    client.Frame(frame, look);
    int column = frame.column + 1;
    for (int i = 0; i < sheet.PageCount(); ++i) {
        bool bCurrent = i == sheet.ActiveIndex();
        std::string caption = LabelText(sheet.Page(i)->Caption());
        std::string tab = bCurrent ? "[" + caption + "]" : " " + caption + " ";
        int room = frame.column + frame.columns - 1 - column;
        int written = client.Text(column, frame.row, tab,
                                  look | (bCurrent ? attr::kBold | attr::kReverse : 0), room);
        Hit(client, {column, frame.row, written, 1}, &sheet, i);
        column += written;
        if (column < frame.column + frame.columns - 1) {
            ++column;  // a piece of the line between tabs
        }
    }
}

void Painter::PaintChildren(Canvas& client, const ui::Window& parent, bool bActive) {
    for (ui::Window* child : parent.Children()) {
        if (child->IsVisible()) {
            PaintControl(client, *child, bActive);
        }
    }
}

}  // namespace tui
