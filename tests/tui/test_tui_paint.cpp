// Real toolkit windows painted into cells and read back as text.
#include <gtest/gtest.h>

#include "TuiTestKit.h"
#include "platform/tui/TemplateCells.h"
#include "platform/ui/Button.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/PropertySheet.h"

namespace {

using namespace tuitest;

TEST(Paint, SmallDialogAsText) {
    OpenDialog dialog(kSmallDialog);
    dialog.ItemAs<ui::Edit>(kEditId)->SetText("Quilan");
    dialog.ItemAs<ui::Edit>(kEditId)->SelectAll();
    dialog.ItemAs<ui::Button>(kCheckId)->SetCheck(true);
    dialog.ItemAs<ui::DropDownList>(kDropId)->SetCurSel(1);
    dialog.ItemAs<ui::ProgressBar>(kProgressId)->SetPos(45);
    Painted painted;
    Paint(painted, {&dialog});

    ui::CellRect frame = tui::Painter::FrameOf(dialog, 80, 24);
    EXPECT_EQ(frame, (ui::CellRect{19, 7, 42, 10}));
    std::vector<std::string> expected = {
        "+- Small ----------------------------[x]-+", "|                                        |",
        "| [==] Name:   [Quilan       ]           |", "| [__]                                   |",
        "|      [X] Tick me       [Second    |v]  |", "|                                        |",
        "|      [############ 45%              ]  |", "|            < OK >     [ Cancel ]       |",
        "|                                        |", "+----------------------------------------+",
    };
    EXPECT_EQ(painted.Block(frame), expected) << painted.text;
    // Only the window was painted; the rest of the screen is blank.
    EXPECT_EQ(painted.Lines()[frame.row - 1], std::string(80, ' '));

    // The edit has the focus: the cursor stands after its text, which is selected.
    const tui::Painter::Cursor& cursor = painted.painter.CursorPlace();
    EXPECT_TRUE(cursor.bVisible);
    EXPECT_EQ(cursor.column, frame.column + 1 + 14 + 1 + 6);
    EXPECT_EQ(cursor.row, frame.row + 2);
    EXPECT_TRUE(painted.screen.At(frame.column + 16, frame.row + 2).attr & tui::attr::kReverse);
}

TEST(Paint, StatesShowInAttributes) {
    OpenDialog dialog(kSmallDialog);
    dialog.Item(ui::kIdCancel)->Enable(false);
    dialog.Item(kCheckId)->SetFocus();
    Painted painted;
    Paint(painted, {&dialog});
    ui::CellRect frame = tui::Painter::FrameOf(dialog, 80, 24);
    auto cell = [&](const std::string& what) {
        ui::CellRect at = painted.Find(what);
        EXPECT_GE(at.column, 0) << what;
        return painted.screen.At(at.column, at.row);
    };
    EXPECT_TRUE(cell("Cancel").attr & tui::attr::kDim);
    EXPECT_FALSE(cell("Cancel").attr & tui::attr::kUnderline);  // no mnemonic when disabled
    EXPECT_TRUE(cell("Tick").attr & tui::attr::kReverse);       // the focus
    EXPECT_TRUE(cell("Tick").attr & tui::attr::kUnderline);     // "&Tick"
    EXPECT_TRUE(cell("< OK").attr & tui::attr::kBold);          // the default button
    EXPECT_FALSE(painted.painter.CursorPlace().bVisible);
    // A hidden control is neither drawn nor hit.
    dialog.Item(kCheckId)->Show(false);
    Paint(painted, {&dialog});
    EXPECT_EQ(painted.Find("Tick").column, -1);
    EXPECT_NE(painted.painter.Hits().At(frame.column + 8, frame.row + 4).window,
              dialog.Item(kCheckId));
}

TEST(Paint, ButtonLabelsShrinkToTheirButton) {
    OpenDialog dialog(kSmallDialog);  // OK is 10 cells wide, Cancel 12
    Painted painted;
    struct Row {
        const char* label;
        const char* shown;
    };
    for (Row row : {Row{"&Apply", "[ Apply ]"}, Row{"Properties", "[Properties]"},
                    Row{"Pr&ofile Properties", "[Profile Pr]"}}) {
        SCOPED_TRACE(row.label);
        dialog.Item(ui::kIdCancel)->SetText(row.label);
        Paint(painted, {&dialog});
        EXPECT_NE(painted.text.find(row.shown), std::string::npos) << painted.text;
    }
}

TEST(Paint, HitsNameTheWindowUnderThePointer) {
    OpenDialog dialog(kSmallDialog);
    Painted painted;
    Paint(painted, {&dialog});
    ui::CellRect frame = tui::Painter::FrameOf(dialog, 80, 24);
    const tui::HitMap& hits = painted.painter.Hits();
    ui::CellRect ok = painted.Find("< OK >");
    EXPECT_EQ(hits.At(ok.column + 2, ok.row).window, dialog.Item(ui::kIdOk));
    ui::CellRect close = painted.Find("[x]");
    EXPECT_EQ(hits.At(close.column + 1, close.row).window, &dialog);
    EXPECT_EQ(hits.At(close.column + 1, close.row).item, tui::Painter::kCloseBox);
    // Empty space inside the window is the window; outside it nothing.
    EXPECT_EQ(hits.At(frame.column + 3, frame.row + 8).window, &dialog);
    EXPECT_EQ(hits.At(frame.column - 1, frame.row).window, nullptr);
    EXPECT_EQ(hits.At(0, 0).window, nullptr);
}

TEST(Paint, DroppedEntriesAreShownAndHit) {
    OpenDialog dialog(kSmallDialog);
    auto* drop = dialog.ItemAs<ui::DropDownList>(kDropId);
    drop->SetFocus();
    drop->SetCurSel(0);
    Painted painted;
    painted.painter.SetDropped(drop);
    Paint(painted, {&dialog});
    // Below the field, in a frame; the selected one highlighted.
    ui::CellRect field = painted.Find("[First");
    ui::CellRect second = painted.Find("Second");
    ASSERT_GE(second.column, 0) << painted.text;
    EXPECT_EQ(second.row, field.row + 3);
    EXPECT_EQ(second.column, field.column + 1);
    EXPECT_EQ(painted.Find("Third").row, second.row + 1);
    EXPECT_TRUE(painted.screen.At(second.column, second.row - 1).attr & tui::attr::kReverse);
    EXPECT_FALSE(painted.screen.At(second.column, second.row).attr & tui::attr::kReverse);
    tui::HitMap::Hit hit = painted.painter.Hits().At(second.column, second.row);
    EXPECT_EQ(hit.window, drop);
    EXPECT_EQ(hit.item, 1);
    // The entries go away when the list loses the focus.
    dialog.Item(kEditId)->SetFocus();
    Paint(painted, {&dialog});
    EXPECT_EQ(painted.painter.Dropped(), nullptr);
    EXPECT_EQ(painted.Find("Second").column, -1);
}

TEST(Paint, SheetShowsTabsPageAndButtons) {
    ui::PropertyPage first(TestModule(), kFirstPage);
    ui::PropertyPage second(TestModule(), kSecondPage);
    ui::PropertySheet sheet("Props", nullptr);
    sheet.SetNoApply(true);
    first.SetHasHelp(true);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    Painted painted;
    ui::HeadlessUser user;
    user.Then([&] {
            Paint(painted, {&sheet});
            EXPECT_NE(painted.text.find("[General]- Advanced -"), std::string::npos)
                << painted.text;
            EXPECT_NE(painted.text.find("Page one text"), std::string::npos);
            EXPECT_EQ(painted.text.find("Page two text"), std::string::npos);
            EXPECT_NE(painted.text.find("< OK >"), std::string::npos);
            EXPECT_NE(painted.text.find("[ Cancel ]"), std::string::npos);
            EXPECT_NE(painted.text.find("[ Help ]"), std::string::npos);
            EXPECT_EQ(painted.text.find("Apply"), std::string::npos);
            EXPECT_NE(painted.text.find("- Props -"), std::string::npos);
            // The tab's cells hit the sheet with the tab's index.
            ui::CellRect tab = painted.Find("Advanced");
            tui::HitMap::Hit hit = painted.painter.Hits().At(tab.column, tab.row);
            EXPECT_EQ(hit.window, &sheet);
            EXPECT_EQ(hit.item, 1);
        })
        .ChooseTab(1)
        .Then([&] {
            Paint(painted, {&sheet});
            EXPECT_NE(painted.text.find("+ General -[Advanced]"), std::string::npos)
                << painted.text;
            EXPECT_NE(painted.text.find("Page two text"), std::string::npos);
            EXPECT_EQ(painted.text.find("Page one text"), std::string::npos);
            EXPECT_NE(painted.text.find("+- Group -"), std::string::npos);
        })
        .Press(ui::Key::Escape);
    EXPECT_EQ(sheet.DoModal(), ui::kIdCancel);
    EXPECT_TRUE(user.Problems().empty());
}

TEST(Paint, SheetOfLargestPageFitsTheTerminal) {
    // The room a page has on an 80 x 24 terminal, chrome included: 296 x 155 dialog units.
    ui::Module module("fit");
    ui::DialogTemplate page;
    page.id = 1;
    page.title = "Page";
    page.cx = 296;
    page.cy = 155;
    page.controls = {tui::Line(ui::ControlKind::Text, -1, "Last row", ui::Rect{4, 147, 60, 8})};
    module.AddDialog(page);
    ui::PropertyPage only(module, 1);
    ui::PropertySheet sheet("Largest", nullptr);
    sheet.SetNoApply(true);
    sheet.AddPage(&only);
    Painted painted;
    ui::HeadlessUser user;
    user.Then([&] {
            ui::CellRect frame = tui::Painter::FrameOf(sheet, 80, 24);
            EXPECT_LE(frame.columns, 80);
            EXPECT_LE(frame.rows, 24);
            Paint(painted, {&sheet});
            EXPECT_NE(painted.text.find("< OK >"), std::string::npos) << painted.text;
            EXPECT_NE(painted.Lines()[frame.row + frame.rows - 1].find("+---"), std::string::npos);
        })
        .Press(ui::Key::Escape);
    sheet.DoModal();
}

TEST(Paint, NestedWindowLiesOnTopAndOnlyItShowsFocusAndBusy) {
    OpenDialog below(kSmallDialog);
    OpenDialog above(kListDialog);
    Painted painted;
    Paint(painted, {&below, &above}, 80, 24, true);
    ui::CellRect frame = tui::Painter::FrameOf(above, 80, 24);
    EXPECT_NE(painted.Lines()[frame.row].find("- List -"), std::string::npos) << painted.text;
    std::size_t busy = painted.text.find("Busy...");
    EXPECT_NE(busy, std::string::npos);
    EXPECT_EQ(painted.text.find("Busy", busy + 1), std::string::npos);
    // The window below is dimmed, and clicks on the part of it that is covered go to the
    // window above.
    ui::CellRect lower = tui::Painter::FrameOf(below, 80, 24);
    EXPECT_TRUE(painted.screen.At(lower.column, lower.row).attr & tui::attr::kDim);
    EXPECT_FALSE(painted.screen.At(frame.column, frame.row).attr & tui::attr::kDim);
    EXPECT_EQ(painted.painter.Hits().At(frame.column + 1, frame.row + 1).window, &above);
}

TEST(Paint, TooSmallTerminalGetsANotice) {
    OpenDialog dialog(kSmallDialog);
    struct Size {
        int columns;
        int rows;
    };
    for (Size size : {Size{79, 24}, Size{80, 23}, Size{20, 6}}) {
        SCOPED_TRACE(std::to_string(size.columns) + "x" + std::to_string(size.rows));
        Painted painted;
        Paint(painted, {&dialog}, size.columns, size.rows);
        EXPECT_TRUE(painted.painter.IsTooSmall());
        std::string flat;
        for (const std::string& line : painted.Lines()) {
            flat += line + " ";
        }
        if (size.rows > 6) {
            std::string has = std::to_string(size.columns) + " x " + std::to_string(size.rows);
            EXPECT_NE(flat.find("too small"), std::string::npos) << painted.text;
            EXPECT_NE(flat.find("80 x 24"), std::string::npos) << painted.text;
            EXPECT_NE(flat.find(has), std::string::npos) << painted.text;
        } else {
            EXPECT_NE(flat.find("The terminal"), std::string::npos) << painted.text;
        }
        // Nothing of the dialog, and nothing to click.
        EXPECT_EQ(painted.text.find("Small"), std::string::npos);
        EXPECT_EQ(painted.text.find('+'), std::string::npos);
        EXPECT_EQ(painted.painter.Hits().At(size.columns / 2, size.rows / 2).window, nullptr);
    }
    Painted large;
    Paint(large, {&dialog}, 80, 24);
    EXPECT_FALSE(large.painter.IsTooSmall());
}

TEST(Paint, ListKeepsTheFocusedRowInView) {
    OpenDialog dialog(kListDialog);
    auto* list = dialog.ItemAs<ui::ListView>(kListId);
    list->InsertColumn(0, "Name", 60);
    for (int i = 0; i < 10; ++i) {
        list->InsertItem(i, "Row " + std::to_string(i), -1);
    }
    list->SetItemState(9, ui::kItemSelected | ui::kItemFocused,
                       ui::kItemSelected | ui::kItemFocused);
    list->SetItemText(8, "Longer than cols");  // 16 cells: more than the column's 60 units
    list->SetFocus();
    Painted painted;
    Paint(painted, {&dialog});
    EXPECT_NE(painted.Find("Longer than cols").column, -1) << painted.text;
    // Three rows fit inside the list's frame: the last three.
    EXPECT_EQ(painted.Find("Row 6").column, -1) << painted.text;
    ui::CellRect last = painted.Find(">Row 9");
    ASSERT_GE(last.column, 0) << painted.text;
    EXPECT_EQ(painted.Find("Row 7").row, last.row - 2);
    EXPECT_TRUE(painted.screen.At(last.column + 1, last.row).attr & tui::attr::kReverse);
    tui::HitMap::Hit hit = painted.painter.Hits().At(last.column + 2, last.row);
    EXPECT_EQ(hit.window, list);
    EXPECT_EQ(hit.item, 9);

    // Moving up past the top row scrolls by one; the view does not jump back.
    list->SetItemState(6, ui::kItemSelected | ui::kItemFocused,
                       ui::kItemSelected | ui::kItemFocused);
    Paint(painted, {&dialog});
    EXPECT_EQ(painted.Find(">Row 6").row, last.row - 2) << painted.text;
    EXPECT_EQ(painted.Find("Longer").row, last.row);

    // Renaming shows the typed label with the cursor after it.
    ui::HeadlessUser user;
    ASSERT_TRUE(list->BeginRename(6));
    list->RenameText() = "New name";
    Paint(painted, {&dialog});
    ui::CellRect renamed = painted.Find("New name");
    ASSERT_GE(renamed.column, 0) << painted.text;
    EXPECT_TRUE(painted.painter.CursorPlace().bVisible);
    EXPECT_EQ(painted.painter.CursorPlace().column, renamed.column + 8);
    list->EndRename(true);
}

TEST(Paint, LongTextScrolls) {
    OpenDialog dialog(kLongTextDialog);
    std::string text;
    for (int i = 1; i <= 6; ++i) {
        text += "Line " + std::to_string(i) + "\n";
    }
    dialog.Item(kTextId)->SetText(text);
    Painted painted;
    Paint(painted, {&dialog});
    EXPECT_NE(painted.Find("Line 3").column, -1) << painted.text;
    EXPECT_EQ(painted.Find("Line 4").column, -1);
    ui::CellRect line1 = painted.Find("Line 1");
    // The scroll bar in the text's last column, its thumb at the top.
    EXPECT_EQ(painted.screen.RowText(line1.row)[line1.column + 19], '#');
    EXPECT_EQ(painted.screen.RowText(line1.row + 1)[line1.column + 19], '|');

    EXPECT_TRUE(painted.painter.ScrollText(*dialog.Item(kTextId), 2));
    Paint(painted, {&dialog});
    EXPECT_EQ(painted.Find("Line 3").row, line1.row) << painted.text;
    EXPECT_NE(painted.Find("Line 5").column, -1);
    // It stops at the end.
    EXPECT_TRUE(painted.painter.ScrollText(*dialog.Item(kTextId), 10));
    EXPECT_FALSE(painted.painter.ScrollText(*dialog.Item(kTextId), 1));
    Paint(painted, {&dialog});
    EXPECT_EQ(painted.Find("Line 6").row, line1.row + 2) << painted.text;
}

}  // namespace
