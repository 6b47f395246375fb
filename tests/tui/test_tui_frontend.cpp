// The terminal front end between real toolkit windows and a terminal that records what it was
// sent: lazy painting, damage only, the busy mark at once, clicks resolved, keys mapped, resize.
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <fstream>

#include "TuiTestKit.h"
#include "platform/sys/Messages.h"
#include "platform/tui/TerminalFrontEnd.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/HelpViewer.h"

namespace {

using namespace tuitest;
using tui::TerminalEvent;

// A terminal that keeps what it shows, as cells.
class RecordingDisplay : public tui::Display {
  public:
    RecordingDisplay(int columns, int rows) { SetSize(columns, rows); }
    void SetSize(int columns, int rows) {
        m_nColumns = columns;
        m_nRows = rows;
        m_shown.assign(static_cast<std::size_t>(columns) * rows, tui::Cell{});
    }
    int Columns() const override { return m_nColumns; }
    int Rows() const override { return m_nRows; }
    void Write(int column, int row, const tui::Cell* cells, int count) override {
        ASSERT_GE(column, 0);
        ASSERT_LE(column + count, m_nColumns);
        ASSERT_LT(row, m_nRows);
        for (int i = 0; i < count; ++i) {
            m_shown[row * m_nColumns + column + i] = cells[i];
        }
        written += count;
    }
    void SetCursor(int column, int row, bool bVisible) override {
        cursorColumn = column;
        cursorRow = row;
        bCursorVisible = bVisible;
    }
    void Flush() override {
        ++flushes;
        bSuspended = false;
    }
    void Suspend() override { bSuspended = true; }

    std::string Text() const {
        std::string text;
        for (int row = 0; row < m_nRows; ++row) {
            for (int column = 0; column < m_nColumns; ++column) {
                text += tui::PlainCharacter(m_shown[row * m_nColumns + column]);
            }
            text += '\n';
        }
        return text;
    }
    bool SameAs(const tui::ScreenBuffer& screen) const {
        for (int row = 0; row < m_nRows; ++row) {
            for (int column = 0; column < m_nColumns; ++column) {
                if (!(m_shown[row * m_nColumns + column] == screen.At(column, row))) {
                    return false;
                }
            }
        }
        return true;
    }

    int written = 0;
    int flushes = 0;
    int cursorColumn = -1;
    int cursorRow = -1;
    bool bCursorVisible = false;
    bool bSuspended = false;

  private:
    int m_nColumns = 0;
    int m_nRows = 0;
    std::vector<tui::Cell> m_shown;
};

// Events handed out one per wait; None when there are no more.
class ScriptedInput : public tui::Input {
  public:
    TerminalEvent Wait(int wakeDescriptor, std::chrono::nanoseconds) override {
        lastWake = wakeDescriptor;
        if (events.empty()) {
            return {};
        }
        TerminalEvent event = events.front();
        events.pop_front();
        return event;
    }
    void Key(std::string name, bool bAlt = false) {
        TerminalEvent event;
        event.type = TerminalEvent::Type::Key;
        event.key.name = std::move(name);
        event.key.bAlt = bAlt;
        events.push_back(event);
    }
    void Click(ui::CellRect at, ui::MouseButton button = ui::MouseButton::Left,
               bool bDouble = false) {
        TerminalEvent event;
        event.type = TerminalEvent::Type::Mouse;
        event.column = at.column;
        event.row = at.row;
        event.button = button;
        event.bDouble = bDouble;
        events.push_back(event);
    }
    std::deque<TerminalEvent> events;
    int lastWake = -2;
};

class FrontEnd : public ::testing::Test {
  protected:
    ui::InputEvent Wait() { return front.WaitForInput(7, std::chrono::milliseconds(10)); }
    ui::CellRect On(const std::string& what) {
        std::string text = display.Text();
        std::size_t at = text.find(what);
        EXPECT_NE(at, std::string::npos) << what << "\n" << text;
        int width = display.Columns() + 1;
        return {static_cast<int>(at % width), static_cast<int>(at / width), 1, 1};
    }

    RecordingDisplay display{80, 24};
    ScriptedInput input;
    tui::TerminalFrontEnd front{display, input};
};

TEST_F(FrontEnd, PaintsLazilyAndThenOnlyWhatChanged) {
    OpenDialog dialog(kSmallDialog);
    front.ModalStarted(dialog);
    EXPECT_EQ(display.flushes, 0);  // nothing until the thread waits
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
    EXPECT_EQ(input.lastWake, 7);
    EXPECT_EQ(display.flushes, 1);
    EXPECT_EQ(display.written, 80 * 24);  // the first painting is all of it
    EXPECT_NE(display.Text().find("- Small -"), std::string::npos);
    EXPECT_TRUE(display.SameAs(front.Screen()));

    // Nothing changed: nothing is written.
    Wait();
    EXPECT_EQ(display.written, 80 * 24);

    // Three letters typed into an empty field: three cells.
    auto* edit = dialog.ItemAs<ui::Edit>(kEditId);
    edit->SetText("abc");
    front.Changed(*edit);
    Wait();
    EXPECT_EQ(display.written, 80 * 24 + 3);
    EXPECT_TRUE(display.SameAs(front.Screen()));
    // The cursor follows the caret of the focused edit.
    ui::CellRect abc = On("abc");
    EXPECT_TRUE(display.bCursorVisible);
    EXPECT_EQ(display.cursorColumn, abc.column + 3);
    EXPECT_EQ(display.cursorRow, abc.row);

    // The last window gone, the terminal goes back to the program; the next window is
    // painted whole, as the program may have written anything meanwhile.
    front.ModalEnded(dialog);
    EXPECT_TRUE(display.bSuspended);
    front.BusyChanged(true);  // nothing to mark
    EXPECT_TRUE(display.bSuspended);
    front.BusyChanged(false);
    OpenDialog next(kListDialog);
    front.ModalStarted(next);
    int before = display.written;
    Wait();
    EXPECT_FALSE(display.bSuspended);
    EXPECT_EQ(display.written, before + 80 * 24);
    EXPECT_NE(display.Text().find("- List -"), std::string::npos);
    EXPECT_EQ(display.Text().find("Small"), std::string::npos);
}

TEST_F(FrontEnd, BusyMarkIsDrawnAtOnce) {
    OpenDialog dialog(kSmallDialog);
    front.ModalStarted(dialog);
    front.BusyChanged(true);
    EXPECT_EQ(display.flushes, 1);
    EXPECT_NE(display.Text().find("Busy..."), std::string::npos) << display.Text();
    front.BusyChanged(false);
    EXPECT_EQ(display.flushes, 2);
    EXPECT_EQ(display.Text().find("Busy"), std::string::npos);
    EXPECT_NE(display.Text().find("[x]"), std::string::npos);  // the close box is back
}

TEST_F(FrontEnd, ClicksGoToTheWindowUnderThePointer) {
    OpenDialog dialog(kSmallDialog);
    front.ModalStarted(dialog);
    Wait();
    input.Click(On("< OK >"));
    input.Click(On("Tick me"), ui::MouseButton::Right, true);
    ui::InputEvent ok = Wait();
    ASSERT_EQ(ok.type, ui::InputEvent::Type::Mouse);
    EXPECT_EQ(ok.mouse.target, dialog.Item(ui::kIdOk));
    EXPECT_EQ(ok.mouse.button, ui::MouseButton::Left);
    EXPECT_FALSE(ok.mouse.bDouble);
    ui::InputEvent tick = Wait();
    EXPECT_EQ(tick.mouse.target, dialog.Item(kCheckId));
    EXPECT_EQ(tick.mouse.button, ui::MouseButton::Right);
    EXPECT_TRUE(tick.mouse.bDouble);
    // Outside every window: nothing.
    input.Click({0, 0, 1, 1});
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
}

TEST_F(FrontEnd, CloseBoxSendsACloseRequest) {
    OpenDialog dialog(kSmallDialog);
    front.ModalStarted(dialog);
    Wait();
    input.Click(On("[x]"));
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
    EXPECT_FALSE(dialog.IsEnded());
    sys::PumpMessages(0);
    EXPECT_TRUE(dialog.IsEnded());  // the close request cancels the dialog
}

TEST_F(FrontEnd, DropDownEntriesOpenOnAClickAndPick) {
    OpenDialog dialog(kSmallDialog);
    auto* drop = dialog.ItemAs<ui::DropDownList>(kDropId);
    front.ModalStarted(dialog);
    Wait();
    ui::CellRect arrow = On("|v]");
    input.Click(arrow);
    ui::InputEvent open = Wait();
    ASSERT_EQ(open.type, ui::InputEvent::Type::Mouse);
    EXPECT_EQ(open.mouse.target, drop);
    EXPECT_EQ(open.mouse.item, -1);
    ui::HandleInput(dialog, open);  // the toolkit gives it the focus
    front.Changed(*drop);
    Wait();
    input.Click(On("Third"));
    ui::InputEvent pick = Wait();
    EXPECT_EQ(pick.mouse.target, drop);
    EXPECT_EQ(pick.mouse.item, 2);
    ui::HandleInput(dialog, pick);
    EXPECT_EQ(drop->CurSel(), 2);
    front.Changed(*drop);
    Wait();
    // The entries have gone; the field shows the choice.
    EXPECT_NE(display.Text().find("[Third"), std::string::npos) << display.Text();
    EXPECT_EQ(display.Text().find("Second"), std::string::npos);

    // Alt+Down opens them from the keyboard, Esc closes them without cancelling the dialog.
    input.Key("KEY_DOWN", true);
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
    Wait();
    EXPECT_NE(display.Text().find("Second"), std::string::npos);
    input.events.push_back({TerminalEvent::Type::Key, tui::RawKey{27, "", false}});
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
    Wait();
    EXPECT_EQ(display.Text().find("Second"), std::string::npos);
}

TEST_F(FrontEnd, KeysAreMappedAndUnknownOnesDropped) {
    OpenDialog dialog(kSmallDialog);
    front.ModalStarted(dialog);
    input.Key("kNXT5");
    input.Key("KEY_F(9)");
    ui::InputEvent next = Wait();
    ASSERT_EQ(next.type, ui::InputEvent::Type::Key);
    EXPECT_EQ(next.key.key, ui::Key::PageDown);
    EXPECT_TRUE(next.key.bCtrl);
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
}

TEST_F(FrontEnd, ResizeRepaintsAndTooSmallIgnoresInput) {
    OpenDialog dialog(kSmallDialog);
    front.ModalStarted(dialog);
    Wait();
    int before = display.written;
    display.SetSize(60, 20);
    input.events.push_back({TerminalEvent::Type::Resize, {}});
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
    EXPECT_EQ(display.written, before + 60 * 20);  // all of it: the terminal's content is lost
    EXPECT_NE(display.Text().find("too small"), std::string::npos) << display.Text();
    EXPECT_EQ(display.Text().find("Small"), std::string::npos);

    // What the user cannot see is not acted on.
    input.events.push_back({TerminalEvent::Type::Key, tui::RawKey{'\r', "", false}});
    input.Click({30, 10, 1, 1});
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);

    display.SetSize(100, 30);
    input.events.push_back({TerminalEvent::Type::Resize, {}});
    Wait();
    EXPECT_NE(display.Text().find("- Small -"), std::string::npos) << display.Text();
    EXPECT_TRUE(display.SameAs(front.Screen()));
    input.events.push_back({TerminalEvent::Type::Key, tui::RawKey{'\r', "", false}});
    EXPECT_EQ(Wait().key.key, ui::Key::Enter);
}

TEST_F(FrontEnd, HelpViewerScrollsWithTheKeys) {
    std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("tui-help-" + std::to_string(getpid()));
    {
        std::ofstream out(file);
        out << "@topic 0x5000 Cards\n";
        for (int i = 1; i <= 40; ++i) {
            out << "Help line " << i << "\n";
        }
    }
    ASSERT_TRUE(ui::ShowHelp(nullptr, file, 0x5000));
    ui::HelpViewer* viewer = ui::OpenHelpViewer();
    ASSERT_NE(viewer, nullptr);
    front.ModalStarted(*viewer);
    Wait();
    EXPECT_NE(display.Text().find("Help line 1 "), std::string::npos) << display.Text();
    EXPECT_EQ(display.Text().find("Help line 30"), std::string::npos);
    input.Key("KEY_NPAGE");
    input.Key("KEY_NPAGE");
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);  // used by the viewer
    EXPECT_EQ(Wait().type, ui::InputEvent::Type::None);
    Wait();
    EXPECT_NE(display.Text().find("Help line 30"), std::string::npos) << display.Text();
    EXPECT_EQ(display.Text().find("Help line 1 "), std::string::npos);
    // Esc still reaches the toolkit, which closes the viewer.
    input.events.push_back({TerminalEvent::Type::Key, tui::RawKey{27, "", false}});
    EXPECT_EQ(Wait().key.key, ui::Key::Escape);
    front.ModalEnded(*viewer);
    viewer->Close();
    std::filesystem::remove(file);
}

}  // namespace
