// How each kind of control looks in cells.
#include <algorithm>
#include <string>

#include "platform/tui/Painter.h"
#include "platform/tui/TextWrap.h"
#include "platform/ui/Button.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Static.h"
#include "platform/ui/UpDown.h"

namespace tui {

namespace {

constexpr std::uint8_t kHighlight = attr::kReverse;

// Where the rows of a list view or text start so that `wanted` (-1: keep) is shown.
int FirstRowShowing(int first, int wanted, int rows, int count) {
    if (wanted >= 0) {
        if (wanted < first) {
            first = wanted;
        } else if (wanted >= first + rows) {
            first = wanted - rows + 1;
        }
    }
    return std::clamp(first, 0, std::max(0, count - rows));
}

// A control's label; a disabled control's mnemonic is not shown, as it cannot be used.
void PaintLabel(Canvas& area, int column, const ui::Window& control, std::uint8_t look, int width) {
    if (control.IsEnabled()) {
        area.Label(column, 0, control.Text(), look, width);
    } else {
        area.Text(column, 0, LabelText(control.Text()), look, width);
    }
}

}  // namespace

void Painter::PaintControl(Canvas& client, ui::Window& control, bool bActive) {
    ui::CellRect cells = ui::DialogUnitsToCells(control.Bounds());
    Canvas area = client.Sub(cells);
    bool bFocus = bActive && control.HasFocus();
    std::uint8_t look = control.IsEnabled() ? 0 : attr::kDim;
    switch (control.Kind()) {
        case ui::WindowKind::PropertyPage:
        case ui::WindowKind::Dialog:
            PaintChildren(area, control, bActive);
            return;
        case ui::WindowKind::Text:
            PaintText(area, control, look);
            return;
        case ui::WindowKind::GroupBox: {
            area.Frame({0, 0, area.Columns(), area.Rows()}, look);
            std::string caption = control.Text().empty() ? "" : " " + control.Text() + " ";
            area.Label(2, 0, caption, look, std::max(0, area.Columns() - 4));
            return;
        }
        case ui::WindowKind::EtchedLine:
            area.HorizontalLine(0, 0, area.Columns(), look);
            return;
        case ui::WindowKind::Icon:
        case ui::WindowKind::Picture:
            PaintImage(area, control);
            return;
        case ui::WindowKind::PushButton:
        case ui::WindowKind::CheckBox:
            PaintButton(area, control, bFocus, look);
            break;
        case ui::WindowKind::Edit:
            PaintEdit(area, control, bFocus, look);
            break;
        case ui::WindowKind::DropDownList:
            PaintDropDown(area, static_cast<ui::DropDownList&>(control), bFocus, look);
            return;
        case ui::WindowKind::ListView:
            PaintList(area, static_cast<ui::ListView&>(control), bFocus, look);
            return;
        case ui::WindowKind::UpDown:
            PaintUpDown(area, control, look);
            return;
        case ui::WindowKind::ProgressBar:
            PaintProgress(area, control, look);
            return;
        default:
            return;
    }
    Hit(area, {0, 0, area.Columns(), area.Rows()}, &control);
}

void Painter::PaintText(Canvas& area, ui::Window& text, std::uint8_t look) {
    std::vector<std::string> lines = WrapText(text.Text(), area.Columns());
    int rows = area.Rows();
    int count = static_cast<int>(lines.size());
    if (count <= rows) {
        for (int i = 0; i < count; ++i) {
            area.Label(0, i, lines[i], look);
        }
        return;
    }
    // Too long for its box: the last column becomes a scroll bar and the text can scroll.
    lines = WrapText(text.Text(), area.Columns() - 1);
    count = static_cast<int>(lines.size());
    auto previous = m_lastFirstRow.find(&text);
    int first =
        FirstRowShowing(previous == m_lastFirstRow.end() ? 0 : previous->second, -1, rows, count);
    m_firstRow[&text] = first;
    m_maxFirstRow[&text] = count - rows;
    for (int i = 0; i < rows && first + i < count; ++i) {
        area.Label(0, i, lines[first + i], look);
    }
    int bar = area.Columns() - 1;
    area.VerticalLine(bar, 0, rows, look);
    int thumb = rows <= 1 ? 0 : first * (rows - 1) / std::max(1, count - rows);
    area.Put(bar, thumb, 'a', look | attr::kLine);
}

bool Painter::ScrollText(const ui::Window& text, int delta) {
    auto first = m_firstRow.find(&text);
    if (first == m_firstRow.end()) {
        return false;
    }
    int moved = std::clamp(first->second + delta, 0, m_maxFirstRow[&text]);
    if (moved == first->second) {
        return false;
    }
    first->second = moved;
    return true;
}

void Painter::PaintButton(Canvas& area, ui::Window& window, bool bFocus, std::uint8_t look) {
    auto& button = static_cast<ui::Button&>(window);
    std::uint8_t focus = bFocus ? kHighlight : 0;
    if (button.Kind() == ui::WindowKind::CheckBox) {
        area.Text(0, 0, button.IsChecked() ? "[X]" : "[ ]", look);
        PaintLabel(area, 4, button, look | focus, std::max(0, area.Columns() - 4));
        return;
    }
    std::string label = LabelText(button.Text());
    int width = static_cast<int>(label.size());
    // "[ Label ]", or "[Label]" when that does not fit, or the label cut to the button.
    bool bPadded = width + 4 <= area.Columns();
    int box = std::min(width + (bPadded ? 4 : 2), area.Columns());
    int left = (area.Columns() - box) / 2;
    std::uint8_t shown = look | focus | (button.IsDefault() ? attr::kBold : 0);
    area.Fill({left, 0, box, 1}, ' ', shown);
    area.Put(left, 0, button.IsDefault() ? '<' : '[', shown);
    PaintLabel(area, left + (bPadded ? 2 : 1), button, shown, std::max(0, box - 2));
    area.Put(left + box - 1, 0, button.IsDefault() ? '>' : ']', shown);
}

void Painter::PaintEdit(Canvas& area, ui::Window& window, bool bFocus, std::uint8_t look) {
    auto& edit = static_cast<ui::Edit&>(window);
    bool bBrackets = area.Columns() >= 3;
    int field = area.Columns() - (bBrackets ? 2 : 0);
    int left = bBrackets ? 1 : 0;
    if (bBrackets) {
        area.Put(0, 0, '[', look);
        area.Put(area.Columns() - 1, 0, ']', look);
    }
    const std::string& text = edit.Text();
    int caret = static_cast<int>(std::min(edit.SelectionEnd(), text.size()));
    int offset = std::max(0, caret - (field - 1));
    std::uint8_t fieldLook = look | (edit.IsEnabled() ? attr::kUnderline : 0);
    area.Fill({left, 0, field, 1}, ' ', fieldLook);
    area.Text(left, 0, std::string_view(text).substr(std::min<std::size_t>(offset, text.size())),
              fieldLook, field);
    if (!bFocus) {
        return;
    }
    int from = static_cast<int>(std::min(edit.SelectionStart(), edit.SelectionEnd()));
    int to = static_cast<int>(std::max(edit.SelectionStart(), edit.SelectionEnd()));
    if (from < to) {
        area.Mark({left + from - offset, 0, to - from, 1}, kHighlight);
    }
    ui::CellRect caretCell = area.ToScreen({left + caret - offset, 0, 1, 1});
    if (caretCell.columns > 0) {
        m_cursor = {caretCell.column, caretCell.row, true};
    }
}

void Painter::PaintDropDown(Canvas& area, ui::DropDownList& list, bool bFocus, std::uint8_t look) {
    // Only the first row is the field; the rest of a template's rectangle is where the entries
    // drop down.
    int width = area.Columns();
    std::uint8_t focus = bFocus ? kHighlight : 0;
    area.Put(0, 0, '[', look);
    area.Fill({1, 0, std::max(0, width - 4), 1}, ' ', look | focus);
    area.Text(1, 0, list.ItemText(list.CurSel()), look | focus, std::max(0, width - 4));
    area.Text(width - 3, 0, "|v]", look);
    Hit(area, {0, 0, width, 1}, &list);
    if (m_pDropped == &list && bFocus) {
        m_bDroppedShown = true;
    }
}

void Painter::PaintDroppedEntries(Canvas& screen, const Canvas& client, ui::DropDownList& list) {
    ui::CellRect field = ui::DialogUnitsToCells(list.Bounds());
    for (const ui::Window* parent = list.Parent(); parent && parent->Parent();
         parent = parent->Parent()) {
        ui::CellRect offset = ui::DialogUnitsToCells(parent->Bounds());
        field.column += offset.column;
        field.row += offset.row;
    }
    field.column += client.Area().column;
    field.row += client.Area().row;
    // Below the field when the entries fit there or there is more room there, else above.
    int count = list.Count();
    int roomBelow = screen.Rows() - (field.row + 1) - 2;
    int roomAbove = field.row - 2;
    bool bBelow = roomBelow >= count || roomBelow >= roomAbove;
    int rows = std::min(count, bBelow ? roomBelow : roomAbove);
    if (rows <= 0) {
        return;
    }
    ui::CellRect frame{field.column, bBelow ? field.row + 1 : field.row - rows - 2, field.columns,
                       rows + 2};
    int first = FirstRowShowing(0, list.CurSel(), rows, count);
    screen.Fill(frame);
    screen.Frame(frame);
    Hit(screen, frame, &list, -1);
    for (int i = 0; i < rows && first + i < count; ++i) {
        int index = first + i;
        std::uint8_t look = index == list.CurSel() ? kHighlight : 0;
        ui::CellRect row{frame.column + 1, frame.row + 1 + i, frame.columns - 2, 1};
        screen.Fill(row, ' ', look);
        screen.Text(row.column, row.row, list.ItemText(index), look, row.columns);
        Hit(screen, row, &list, index);
    }
}

void Painter::PaintList(Canvas& outer, ui::ListView& list, bool bFocus, std::uint8_t look) {
    Hit(outer, {0, 0, outer.Columns(), outer.Rows()}, &list, -1);
    Canvas area = outer;
    if (outer.Columns() >= 4 && outer.Rows() >= 3) {
        outer.Frame({0, 0, outer.Columns(), outer.Rows()}, look | (bFocus ? attr::kBold : 0));
        area = outer.Sub({1, 1, outer.Columns() - 2, outer.Rows() - 2});
    }
    int top = 0;
    int column = 1;  // column 0 marks the focused row
    if (list.HasHeader()) {
        for (const ui::ListView::Column& header : list.Columns()) {
            int width = std::max(1, header.width / ui::kBaseUnitX);
            area.Text(column, 0, header.text, look | attr::kBold, width - 1);
            column += width;
        }
        top = 1;
    }
    int rows = area.Rows() - top;
    int count = list.ItemCount();
    int wanted = list.FocusedItem() >= 0 ? list.FocusedItem() : list.FirstSelected();
    if (list.IsRenaming()) {
        wanted = list.RenamingItem();
    }
    auto previous = m_lastFirstRow.find(&list);
    int first = FirstRowShowing(previous == m_lastFirstRow.end() ? 0 : previous->second, wanted,
                                rows, count);
    m_firstRow[&list] = first;
    // The rows' one column reaches the list's right edge: cells are coarser than the pixels
    // its width was chosen in, and a label cut short at the column would lose its end.
    int width = area.Columns() - 1;
    const ui::ImageList* images = list.Images();
    int iconWidth = images ? std::max(1, images->Width() / ui::kBaseUnitX) : 0;
    for (int i = 0; i < rows && first + i < count; ++i) {
        int index = first + i;
        int row = top + i;
        bool bSelected = list.ItemState(index, ui::kItemSelected) != 0;
        std::uint8_t rowLook = look | (bSelected ? kHighlight : 0);
        if (bFocus && index == list.FocusedItem()) {
            area.Put(0, row, '>', look | attr::kBold);
        }
        int at = 1;
        if (images) {
            const ui::Image* icon = images->Get(list.ItemImage(index));
            if (icon && !icon->rows.empty()) {
                area.Text(at, row, icon->rows[0], look, std::min(iconWidth, width));
            }
            at += iconWidth + 1;
        }
        int room = std::max(0, 1 + width - at);
        if (list.IsRenaming() && index == list.RenamingItem()) {
            const std::string& label = list.RenameText();
            int offset = std::max(0, static_cast<int>(label.size()) - (room - 1));
            area.Fill({at, row, room, 1}, ' ', attr::kUnderline);
            area.Text(at, row, std::string_view(label).substr(offset), attr::kUnderline, room);
            ui::CellRect caret =
                area.ToScreen({at + static_cast<int>(label.size()) - offset, row, 1, 1});
            if (bFocus && caret.columns > 0) {
                m_cursor = {caret.column, caret.row, true};
            }
        } else {
            area.Fill({at, row, room, 1}, ' ', rowLook);
            area.Text(at, row, list.ItemText(index), rowLook, room);
        }
        Hit(area, {0, row, area.Columns(), 1}, &list, index);
    }
}

void Painter::PaintUpDown(Canvas& area, ui::Window& upDown, std::uint8_t look) {
    // Up above down when there are two rows, else side by side.
    if (area.Rows() >= 2) {
        area.Put(0, 0, '^', look);
        area.Put(0, 1, 'v', look);
        Hit(area, {0, 0, area.Columns(), 1}, &upDown, 0);
        Hit(area, {0, 1, area.Columns(), area.Rows() - 1}, &upDown, 1);
    } else {
        area.Put(0, 0, '^', look);
        area.Put(1, 0, 'v', look);
        Hit(area, {0, 0, 1, 1}, &upDown, 0);
        Hit(area, {1, 0, std::max(1, area.Columns() - 1), 1}, &upDown, 1);
    }
}

void Painter::PaintProgress(Canvas& area, ui::Window& window, std::uint8_t look) {
    auto& bar = static_cast<ui::ProgressBar&>(window);
    int percent = std::clamp(bar.Percent(), 0, 100);
    bool bBrackets = area.Columns() >= 8;
    int inner = area.Columns() - (bBrackets ? 2 : 0);
    int left = bBrackets ? 1 : 0;
    if (bBrackets) {
        area.Put(0, 0, '[', look);
        area.Put(area.Columns() - 1, 0, ']', look);
    }
    int filled = inner * percent / 100;
    area.Fill({left, 0, filled, 1}, 'a', look | attr::kLine);
    std::string figure = " " + std::to_string(percent) + "% ";
    int at = left + std::max(0, (inner - static_cast<int>(figure.size())) / 2);
    area.Text(at, 0, figure, look | attr::kBold, inner);
}

void Painter::PaintImage(Canvas& area, ui::Window& window) {
    const ui::Image* image = static_cast<ui::Static&>(window).GetImage();
    if (!image) {
        return;
    }
    for (std::size_t row = 0; row < image->rows.size(); ++row) {
        area.Text(0, static_cast<int>(row), image->rows[row], 0, area.Columns());
    }
}

}  // namespace tui
