#include "TuiTestKit.h"

#include <sstream>

#include "platform/tui/TemplateCells.h"

namespace tuitest {

using tui::Cells;
using tui::Line;
using ui::ControlKind;

const ui::Module& TestModule() {
    static const ui::Module* module = [] {
        auto* m = new ui::Module("tui tests");
        m->AddIcon(1, ui::Image{16, 16, {"[==]", "[__]"}});

        ui::DialogTemplate small;
        small.id = kSmallDialog;
        small.title = "Small";
        small.cx = 40 * ui::kBaseUnitX;
        small.cy = 8 * ui::kBaseUnitY;
        small.style = ui::style::kCaption | ui::style::kSystemMenu;
        ui::ControlTemplate icon = Line(ControlKind::Icon, -1, "", Cells(1, 1, 4, 2));
        icon.resource = 1;
        ui::ControlTemplate drop =
            Line(ControlKind::DropDownList, kDropId, "", Cells(24, 3, 14, 4));
        drop.initialData = {"First", "Second", "Third"};
        small.controls = {
            icon,
            Line(ControlKind::Text, -1, "&Name:", Cells(6, 1, 7, 1)),
            Line(ControlKind::Edit, kEditId, "", Cells(14, 1, 15, 1)),
            Line(ControlKind::CheckBox, kCheckId, "&Tick me", Cells(6, 3, 16, 1)),
            drop,
            Line(ControlKind::ProgressBar, kProgressId, "", Cells(6, 5, 32, 1)),
            Line(ControlKind::PushButton, ui::kIdOk, "OK", Cells(10, 6, 10, 1),
                 ui::style::kDefaultButton),
            Line(ControlKind::PushButton, ui::kIdCancel, "&Cancel", Cells(22, 6, 12, 1)),
        };
        m->AddDialog(small);

        ui::DialogTemplate first;
        first.id = kFirstPage;
        first.title = "General";
        first.cx = 50 * ui::kBaseUnitX;
        first.cy = 6 * ui::kBaseUnitY;
        first.controls = {
            Line(ControlKind::Text, -1, "Page one text", Cells(1, 1, 20, 1)),
            Line(ControlKind::PushButton, kPageButtonId, "&Press", Cells(1, 3, 12, 1)),
        };
        m->AddDialog(first);
        ui::DialogTemplate second = first;
        second.id = kSecondPage;
        second.title = "Advanced";
        second.controls = {
            Line(ControlKind::Text, -1, "Page two text", Cells(1, 1, 20, 1)),
            Line(ControlKind::GroupBox, -1, "Group", Cells(25, 0, 20, 5)),
        };
        m->AddDialog(second);

        ui::DialogTemplate list;
        list.id = kListDialog;
        list.title = "List";
        list.cx = 30 * ui::kBaseUnitX;
        list.cy = 8 * ui::kBaseUnitY;
        list.controls = {
            Line(ControlKind::ListView, kListId, "", Cells(1, 1, 20, 5),
                 ui::style::kReportView | ui::style::kSingleSelection | ui::style::kNoColumnHeader |
                     ui::style::kEditLabels),
            Line(ControlKind::PushButton, ui::kIdOk, "OK", Cells(22, 1, 7, 1),
                 ui::style::kDefaultButton),
        };
        m->AddDialog(list);

        ui::DialogTemplate text;
        text.id = kLongTextDialog;
        text.title = "Text";
        text.cx = 30 * ui::kBaseUnitX;
        text.cy = 6 * ui::kBaseUnitY;
        text.controls = {
            Line(ControlKind::Text, kTextId, "", Cells(1, 1, 20, 3)),
        };
        m->AddDialog(text);
        return m;
    }();
    return *module;
}

std::vector<std::string> Painted::Lines() const {
    std::vector<std::string> lines;
    for (int row = 0; row < screen.Rows(); ++row) {
        lines.push_back(screen.RowText(row));
    }
    return lines;
}

std::vector<std::string> Painted::Block(const ui::CellRect& area) const {
    std::vector<std::string> block;
    for (int row = area.row; row < area.row + area.rows; ++row) {
        block.push_back(screen.RowText(row).substr(area.column, area.columns));
    }
    return block;
}

ui::CellRect Painted::Find(const std::string& what) const {
    for (int row = 0; row < screen.Rows(); ++row) {
        std::size_t at = screen.RowText(row).find(what);
        if (at != std::string::npos) {
            return {static_cast<int>(at), row, static_cast<int>(what.size()), 1};
        }
    }
    return {-1, -1, 0, 0};
}

void Paint(Painted& painted, const std::vector<ui::Window*>& windows, int columns, int rows,
           bool bBusy) {
    if (painted.screen.Columns() != columns || painted.screen.Rows() != rows) {
        painted.screen.Resize(columns, rows);
    }
    painted.painter.Paint(painted.screen, windows, bBusy);
    painted.text = painted.screen.ToText();
}

}  // namespace tuitest
