#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

#include "FormDialog.h"
#include "platform/sys/Handle.h"
#include "platform/sys/Thread.h"
#include "platform/sys/Time.h"
#include "platform/ui/HeadlessUser.h"

namespace {

using test::FormDialog;

// A dialog with no controls, like a "please wait" box, whose thread does the work.
class WorkDialog : public ui::Dialog {
  public:
    explicit WorkDialog(std::function<void(ui::Dialog&)> work)
        : Dialog(test::Library(), test::kEmptyDialog), m_work(std::move(work)) {}
    ~WorkDialog() override {
        if (m_thread) {
            sys::Wait(m_thread, sys::kInfinite);
            sys::CloseHandle(m_thread);
        }
    }

  protected:
    bool OnInitDialog() override {
        Dialog::OnInitDialog();
        m_thread = sys::CreateThread([this] { m_work(*this); });
        return true;
    }

  private:
    std::function<void(ui::Dialog&)> m_work;
    sys::Handle m_thread = sys::kNoHandle;
};

TEST(Dialog, SendFromAnotherThreadIsHandledInsideANestedModalLoop) {
    ui::HeadlessUser user;
    FormDialog outer;
    const std::uint32_t uiThread = sys::CurrentThreadId();
    std::uint32_t handledOn = 0;
    ui::Window* activeWhenHandled = nullptr;
    std::atomic<ui::MessageResult> answer{0};
    int nestedCode = 0;
    ui::Window* nestedWindow = nullptr;

    outer.onUser = [&](std::uintptr_t wParam) -> ui::MessageResult {
        handledOn = sys::CurrentThreadId();
        activeWhenHandled = user.Active();
        return static_cast<ui::MessageResult>(wParam) + 1;
    };
    outer.onOpen = [&] {
        WorkDialog nested([&](ui::Dialog& dialog) {
            // As a relay thread does: a synchronous send to the outer dialog, then a close
            // request to the dialog that waits for it.
            answer = sys::SendMessage(outer.Handle(), ui::kUserMessage + 1, 41, 0);
            dialog.Post(ui::kCloseMessage);
        });
        nestedWindow = &nested;
        nestedCode = nested.DoModal();
    };
    // The nested dialog closes by itself; the user waits for that before pressing OK.
    user.Click(test::kOpen).WaitUntil([&] { return nestedCode != 0; }).Click(ui::kIdOk);
    EXPECT_EQ(outer.DoModal(), ui::kIdOk);
    EXPECT_EQ(answer.load(), 42);
    EXPECT_EQ(handledOn, uiThread);
    EXPECT_EQ(activeWhenHandled, nestedWindow);  // handled while the nested loop ran
    EXPECT_EQ(nestedCode, ui::kIdCancel);
    EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
}

TEST(Dialog, EscapeCancelsAndEnterPressesTheDefaultButton) {
    {
        ui::HeadlessUser user;
        FormDialog dialog;
        user.Type(test::kName, "changed").Press(ui::Key::Escape);
        EXPECT_EQ(dialog.DoModal(), ui::kIdCancel);
        EXPECT_EQ(dialog.m_strName, "first");  // nothing taken on Cancel
    }
    {
        ui::HeadlessUser user;
        FormDialog dialog;
        user.Type(test::kName, "changed").Press(ui::Key::Enter);
        EXPECT_EQ(dialog.DoModal(), ui::kIdOk);
        EXPECT_EQ(dialog.m_strName, "changed");
        EXPECT_TRUE(user.Problems().empty());
    }
}

TEST(Dialog, InitialisationFillsTheControlsAndFocusesTheFirstStop) {
    ui::HeadlessUser user;
    FormDialog dialog;
    dialog.m_nNumber = 123;
    dialog.m_bOption = true;
    user.Then([&] {
        EXPECT_EQ(user.Title(), "Form");
        EXPECT_EQ(user.Text(test::kNumber), "123");
        EXPECT_EQ(user.Text(test::kName), "first");
        EXPECT_TRUE(user.IsChecked(test::kOption));
        // Sorted from the template's initial data.
        EXPECT_EQ(
            user.Items(test::kRegion),
            (std::vector<std::string>{"International (Excl. North America)", "North America"}));
        EXPECT_EQ(user.Selection(test::kRegion), 1);
        EXPECT_EQ(user.FocusId(), test::kNumber);
        EXPECT_TRUE(user.IsAllSelected(test::kNumber));
    });
    user.Press(ui::Key::Escape);
    dialog.DoModal();
    EXPECT_TRUE(user.ScriptDone());
    EXPECT_FALSE(dialog.Exists());  // the window went with the end of the dialog
}

TEST(Dialog, TabAndMnemonicsMoveTheFocus) {
    ui::HeadlessUser user;
    FormDialog dialog;
    ui::KeyEvent backTab;
    backTab.key = ui::Key::Tab;
    backTab.bShift = true;
    user.Press(ui::Key::Tab)
        .Then([&] { EXPECT_EQ(user.FocusId(), test::kName); })
        .Press(backTab)
        .Then([&] { EXPECT_EQ(user.FocusId(), test::kNumber); })
        .Press(backTab)  // wraps round to the last stop
        .Then([&] { EXPECT_EQ(user.FocusId(), ui::kIdCancel); })
        .PressAlt('L')  // a label gives the focus to the control after it
        .Then([&] { EXPECT_EQ(user.FocusId(), test::kName); })
        .PressAlt('o')  // a check box's mnemonic clicks it
        .Then([&] { EXPECT_TRUE(user.IsChecked(test::kOption)); })
        .Press(ui::Key::Space)  // Space toggles the focused check box
        .Then([&] { EXPECT_FALSE(user.IsChecked(test::kOption)); })
        .Press(ui::Key::Escape);
    dialog.DoModal();
    EXPECT_TRUE(user.Problems().empty());
}

TEST(Dialog, ScriptStepsThatCannotBeDoneAreReported) {
    ui::HeadlessUser user;
    FormDialog dialog;
    user.Then([&] { dialog.Item(test::kOpen)->Enable(false); })
        .Click(test::kOpen)
        .Click(4711)
        .Answer(ui::kIdOk)  // no message box comes
        .Press(ui::Key::Escape);
    int opened = 0;
    dialog.onOpen = [&] { ++opened; };
    dialog.DoModal();
    EXPECT_EQ(opened, 0);  // a disabled button does nothing
    ASSERT_EQ(user.Problems().size(), 3u);
    EXPECT_NE(user.Problems()[0].find("disabled"), std::string::npos);
    EXPECT_NE(user.Problems()[1].find("4711"), std::string::npos);
    EXPECT_NE(user.Problems()[2].find("nothing asked"), std::string::npos);
    EXPECT_TRUE(user.ScriptDone());  // and Esc came after all
}

// Counts the ticks of two timers.
class TimerDialog : public ui::Dialog {
  public:
    TimerDialog(std::uint32_t first, std::uint32_t second)
        : Dialog(test::Library(), test::kEmptyDialog), m_first(first), m_second(second) {}
    int ticks[3] = {0, 0, 0};

  protected:
    bool OnInitDialog() override {
        SetTimer(1, m_first);
        if (m_second) {
            SetTimer(2, m_second);
        }
        return Dialog::OnInitDialog();
    }
    void OnTimer(std::uint32_t id) override { ++ticks[id]; }

  private:
    std::uint32_t m_first;
    std::uint32_t m_second;
};

TEST(Timers, FireByTheClockUntilKilled) {
    ui::HeadlessUser user(ui::HeadlessUser::Clock::Manual);
    TimerDialog dialog(100, 250);
    user.Wait(1000)
        .Then([&] {
            EXPECT_EQ(dialog.ticks[1], 10);
            EXPECT_EQ(dialog.ticks[2], 4);
            dialog.KillTimer(2);
            dialog.SetTimer(1, 300);  // restarts with the new period
        })
        .Wait(600)
        .Then([&] {
            EXPECT_EQ(dialog.ticks[1], 12);
            EXPECT_EQ(dialog.ticks[2], 4);
        })
        .Press(ui::Key::Escape);
    dialog.DoModal();
    EXPECT_TRUE(user.Problems().empty());
}

TEST(Timers, PeriodsAreScaledByTheTimeScale) {
    ui::HeadlessUser user;  // real clock
    TimerDialog dialog(2000, 0);
    auto start = std::chrono::steady_clock::now();
    user.WaitUntil([&] { return dialog.ticks[1] >= 3; }).Press(ui::Key::Escape);
    dialog.DoModal();
    std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed.count(), 3 * 2000 * sys::TimeScale() * 0.9);
    EXPECT_LT(elapsed.count(), 3 * 2000.0);  // not the unscaled periods
}

TEST(Timers, RunOnTheirOwnWhenTheScriptIsDone) {
    // A dialog that ends itself on its third tick needs no script at all.
    class SelfEnding : public TimerDialog {
      public:
        SelfEnding() : TimerDialog(5000, 0) {}
        void OnTimer(std::uint32_t id) override {
            TimerDialog::OnTimer(id);
            if (ticks[1] == 3) {
                EndDialog(77);
            }
        }
    };
    ui::HeadlessUser user(ui::HeadlessUser::Clock::Manual);
    SelfEnding dialog;
    EXPECT_EQ(dialog.DoModal(), 77);
}

}  // namespace
