#include <gtest/gtest.h>

#include "FormDialog.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/UpDown.h"
#include "platform/ui/WaitCursor.h"

namespace {

struct Seen {
    int id;
    int code;
    int item = -1;
    std::string text;
    bool bCancelled = false;
};

// A form whose commands and notifications are written down.
struct Recorder {
    std::vector<Seen> seen;
    void Attach(test::FormDialog& dialog) {
        dialog.onCommand = [this](int id, int code) { seen.push_back({id, code, -1, "", false}); };
        dialog.onNotify = [this](const ui::Notification& n) -> ui::MessageResult {
            seen.push_back({n.id, n.code, n.item, n.text ? *n.text : "", n.text == nullptr});
            return answer ? answer(n) : 0;
        };
    }
    std::function<ui::MessageResult(const ui::Notification&)> answer;
};

void FillRows(test::FormDialog& dialog) {
    auto* rows = dialog.ItemAs<ui::ListView>(test::kRows);
    rows->InsertColumn(0, "", 48);
    for (int i = 0; i < 3; ++i) {
        rows->InsertItem(i, "Profile " + std::to_string(i), 0);
        rows->SetItemData(i, static_cast<std::uintptr_t>(i));
    }
}

TEST(ListView, RenamingAsksTheParentTwice) {
    ui::HeadlessUser user;
    test::FormDialog dialog;
    Recorder recorder;
    recorder.Attach(dialog);
    recorder.answer = [&](const ui::Notification& n) -> ui::MessageResult {
        if (n.code == ui::kBeginLabelEdit) {
            return n.item == 2 ? 1 : 0;  // row 2 may not be renamed
        }
        if (n.code == ui::kEndLabelEdit && n.text) {
            if (n.item == 1) {  // the parent puts its own label and declines the list's
                dialog.ItemAs<ui::ListView>(test::kRows)->SetItemText(1, "Own label");
                return 0;
            }
            return 1;
        }
        return 0;
    };
    ui::KeyEvent letter;
    letter.key = ui::Key::Character;
    letter.character = 'X';
    user.Then([&] { FillRows(dialog); })
        .Rename(test::kRows, 0, "Office")
        .Rename(test::kRows, 1, "Home")
        .CancelRename(test::kRows, 0)
        .Rename(test::kRows, 2, "Refused")
        .ClickItem(test::kRows, 0)
        .Press(ui::Key::F2)  // renames the focused row from the keyboard
        .Press(ui::Key::Backspace)
        .Press(letter)
        .Press(ui::Key::Enter)
        .Then([&] {
            EXPECT_EQ(user.Items(test::kRows),
                      (std::vector<std::string>{"OfficX", "Own label", "Profile 2"}));
        })
        .Press(ui::Key::Escape);
    dialog.DoModal();
    ASSERT_EQ(user.Problems().size(), 1u);  // row 2 refused
    std::vector<std::pair<int, std::string>> ends;
    for (const Seen& s : recorder.seen) {
        if (s.code == ui::kEndLabelEdit) {
            ends.push_back({s.item, s.bCancelled ? "<cancelled>" : s.text});
        }
    }
    EXPECT_EQ(ends, (std::vector<std::pair<int, std::string>>{
                        {0, "Office"}, {1, "Home"}, {0, "<cancelled>"}, {0, "OfficX"}}));
}

// Every move of the selection by the user is told as kItemChanged before the click itself, so
// that a parent following the selection sees the arrows as well as the clicks.
TEST(ListView, ClicksAndArrowsSelectAndNotify) {
    ui::HeadlessUser user;
    test::FormDialog dialog;
    Recorder recorder;
    recorder.Attach(dialog);
    user.Then([&] { FillRows(dialog); })
        .ClickItem(test::kRows, 1)
        .Then([&] { EXPECT_EQ(user.Selection(test::kRows), 1); })
        .DoubleClickItem(test::kRows, 2)
        .RightClickItem(test::kRows, 0)
        .RightDoubleClickItem(test::kRows, 0)  // already selected: no change
        .Press(ui::Key::Down)
        .Then([&] {
            auto* rows = dialog.ItemAs<ui::ListView>(test::kRows);
            EXPECT_EQ(rows->FirstSelected(), 1);
            EXPECT_EQ(rows->FocusedItem(), 1);
            EXPECT_EQ(rows->ItemState(0, ui::kItemSelected), 0u);  // single selection
        })
        .Press(ui::Key::Down)
        .Press(ui::Key::Down)  // at the last row: nothing moves, nothing is told
        .ClickItem(test::kRows, -1)
        .ClickItem(test::kRows, -1)  // nothing selected any more: only the click
        .Press(ui::Key::Up)          // from the focused row, which stayed
        .Then([&] { EXPECT_EQ(user.Selection(test::kRows), 1); })
        .Press(ui::Key::Escape);
    dialog.DoModal();
    std::vector<std::pair<int, int>> codes;
    for (const Seen& s : recorder.seen) {
        codes.push_back({s.code, s.item});
    }
    EXPECT_EQ(codes, (std::vector<std::pair<int, int>>{{ui::kItemChanged, 1},
                                                       {ui::kItemClick, 1},
                                                       {ui::kItemChanged, 2},
                                                       {ui::kItemDoubleClick, 2},
                                                       {ui::kItemChanged, 0},
                                                       {ui::kItemRightClick, 0},
                                                       {ui::kItemRightDoubleClick, 0},
                                                       {ui::kItemChanged, 1},
                                                       {ui::kItemChanged, 2},
                                                       {ui::kItemChanged, -1},
                                                       {ui::kItemClick, -1},
                                                       {ui::kItemClick, -1},
                                                       {ui::kItemChanged, 1}}));
    EXPECT_TRUE(user.Problems().empty());
}

TEST(UpDown, ArrowsStepTheBuddyWithinTheRange) {
    ui::HeadlessUser user;
    test::FormDialog dialog;
    Recorder recorder;
    recorder.Attach(dialog);
    user.Then([&] {
            auto* spin = dialog.ItemAs<ui::UpDown>(test::kSpin);
            EXPECT_EQ(spin->Buddy(), dialog.Item(test::kSpinEdit));
            spin->SetRange(0, 32000);
            spin->SetPos(31998);  // no notification for the program's own change
        })
        .Arrow(test::kSpin, 5)
        .Then([&] { EXPECT_EQ(user.Text(test::kSpinEdit), "32000"); })
        .Type(test::kSpinEdit, "12000")
        .Press(ui::Key::Up)  // the buddy's arrow keys
        .Then([&] { EXPECT_EQ(user.Text(test::kSpinEdit), "12001"); })
        .Type(test::kSpinEdit, "65535")  // typed beyond the arrows' range is kept
        .Arrow(test::kSpin, -1)
        .Then([&] { EXPECT_EQ(user.Text(test::kSpinEdit), "32000"); })
        .Press(ui::Key::Escape);
    dialog.DoModal();
    int stepChanges = 0;
    for (const Seen& s : recorder.seen) {
        stepChanges += s.id == test::kSpinEdit && s.code == ui::kEditChange;
    }
    // 2 steps to 32000, 5 typed characters, 1 step up, 5 typed characters, 1 step down.
    EXPECT_EQ(stepChanges, 2 + 5 + 1 + 5 + 1);
    EXPECT_TRUE(user.Problems().empty());
}

TEST(Edit, TypingHonoursDigitsOnlyAndTheLimitAndNotifies) {
    ui::HeadlessUser user;
    test::FormDialog dialog;
    Recorder recorder;
    recorder.Attach(dialog);
    user.Then([&] {
            dialog.ItemAs<ui::Edit>(test::kNumber)->LimitText(5);
            dialog.Item(test::kNumber)->SetText("");  // not the user's: no notification
        })
        .Type(test::kNumber, "12a34567")
        .Then([&] { EXPECT_EQ(user.Text(test::kNumber), "12345"); })
        .Type(test::kName, "a b")
        .Press(ui::Key::Home)
        .Press(ui::Key::Delete)
        .Then([&] { EXPECT_EQ(user.Text(test::kName), " b"); })
        .Press(ui::Key::Escape);
    dialog.DoModal();
    int numberChanges = 0, nameChanges = 0;
    for (const Seen& s : recorder.seen) {
        numberChanges += s.id == test::kNumber && s.code == ui::kEditChange;
        nameChanges += s.id == test::kName && s.code == ui::kEditChange;
    }
    EXPECT_EQ(numberChanges, 5);  // the refused characters changed nothing
    EXPECT_EQ(nameChanges, 3 + 1);
}

TEST(DropDownList, ChoosingNotifiesAndTheProgramsChangesDoNot) {
    ui::HeadlessUser user;
    test::FormDialog dialog;
    Recorder recorder;
    recorder.Attach(dialog);
    user.Then([&] {
            auto* list = dialog.ItemAs<ui::DropDownList>(test::kRegion);
            EXPECT_EQ(list->AddString("Japan"), 1);  // sorted between the two
            list->SetItemData(1, 42);
            list->SetCurSel(0);
        })
        .Choose(test::kRegion, "Japan")
        .Then([&] {
            auto* list = dialog.ItemAs<ui::DropDownList>(test::kRegion);
            EXPECT_EQ(list->CurSel(), 1);
            EXPECT_EQ(list->ItemData(list->CurSel()), 42u);
        })
        .Press(ui::Key::Down)
        .Press(ui::Key::Down)  // already the last entry: nothing changes
        .Then([&] { EXPECT_EQ(user.Selection(test::kRegion), 2); })
        .Choose(test::kRegion, "Atlantis")
        .Press(ui::Key::Escape);
    dialog.DoModal();
    int changes = 0;
    for (const Seen& s : recorder.seen) {
        changes += s.id == test::kRegion && s.code == ui::kSelectionChange;
    }
    EXPECT_EQ(changes, 2);
    ASSERT_EQ(user.Problems().size(), 1u);
    EXPECT_NE(user.Problems()[0].find("Atlantis"), std::string::npos);
}

TEST(ProgressBar, PositionStaysInTheRange) {
    ui::ProgressBar bar;
    bar.SetRange(0, 100);
    bar.SetPos(37);
    EXPECT_EQ(bar.Percent(), 37);
    bar.SetPos(150);
    EXPECT_EQ(bar.Pos(), 100);
    bar.SetRange(0, 1000);
    bar.SetPos(5);
    EXPECT_EQ(bar.Percent(), 0);
}

TEST(WaitCursor, NestsAndTheCaptureIsReleased) {
    ui::HeadlessUser user;
    EXPECT_FALSE(ui::IsWaitCursorShown());
    {
        ui::WaitCursor outer;
        ui::BeginWaitCursor();
        ui::EndWaitCursor();
        EXPECT_TRUE(ui::IsWaitCursorShown());
    }
    EXPECT_FALSE(ui::IsWaitCursorShown());
    ui::EndWaitCursor();  // one too many: ignored
    ui::BeginWaitCursor();
    EXPECT_TRUE(ui::IsWaitCursorShown());
    ui::EndWaitCursor();

    test::FormDialog dialog;
    user.Then([&] {
            ui::SetCapture(&dialog);
            EXPECT_EQ(ui::Capture(), &dialog);
            ui::ReleaseCapture();
            EXPECT_EQ(ui::Capture(), nullptr);
            ui::SetCapture(&dialog);
        })
        .Press(ui::Key::Escape);
    dialog.DoModal();
    EXPECT_EQ(ui::Capture(), nullptr);  // a destroyed window loses the capture
}

}  // namespace
