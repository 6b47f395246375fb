// The headless driver: a test plays the user of dialogs and sheets with no terminal.
//
// Build a HeadlessUser on the user-interface thread, write the script, then run the dialog:
//
//     ui::HeadlessUser user;
//     user.Type(1056, "555 1234").Click(ui::kIdOk).Answer(ui::kIdOk)
//         .Then([&] { EXPECT_EQ(user.FocusId(), 1056); })
//         .Press(ui::Key::Escape);
//     int code = dialog.DoModal();
//
// The steps run in order whenever the innermost modal window waits for input, and act on that
// window (for a sheet: its active page, then its own buttons); a step that opens a nested dialog
// returns when that dialog has ended, so the steps after it act on the nested one meanwhile.
// So a script waits (WaitUntil) for a dialog that closes by itself before it acts on the one
// beneath. Answer and ChooseFile/CancelFileDialog are taken by the next message box or file
// dialog.
// A step that cannot be done as written (no such control, a disabled one, a message box the
// script did not expect) is noted in Problems(). When the script is done, dialogs run on their
// own: timers fire, other threads' messages arrive, message boxes take their default button.
//
// The clock is real (scaled) time unless Manual: then time stands still except in Wait(ms),
// which moves it forward firing each timer when due, and except when the script is done and
// nothing else happens, when it jumps to the next timer.
//
// The object installs itself as the thread's front end for its lifetime. Everything, the
// reading functions included, is called on that thread (reading functions from Then steps),
// except IsBusy and BusyMarks: the thread shows the busy mark when it is about to block, so only
// another thread can see it there.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/FrontEnd.h"

namespace ui {

class HelpViewer;

class QUILAN_EXPORT HeadlessUser final : public FrontEnd {
  public:
    enum class Clock { Real, Manual };

    explicit HeadlessUser(Clock clock = Clock::Real);
    ~HeadlessUser() override;

    // Script steps.
    HeadlessUser& Click(int id);  // push button or check box
    HeadlessUser& Tick(int id);   // clicks a check box that is not ticked
    HeadlessUser& Untick(int id);
    HeadlessUser& Type(int id, std::string text);     // focus the edit, select all, type
    HeadlessUser& Choose(int id, std::string entry);  // drop-down list entry by text
    HeadlessUser& Choose(int id, int index);
    HeadlessUser& ClickItem(int id, int item);  // list view row; -1 below the rows
    HeadlessUser& DoubleClickItem(int id, int item);
    HeadlessUser& RightClickItem(int id, int item);
    HeadlessUser& RightDoubleClickItem(int id, int item);
    HeadlessUser& Rename(int id, int item, std::string text);  // F2, type the label, Enter
    HeadlessUser& CancelRename(int id, int item);              // F2, Esc
    HeadlessUser& Arrow(int upDownId, int delta);              // the up-down's arrows
    HeadlessUser& Press(Key key);
    HeadlessUser& Press(KeyEvent key);
    HeadlessUser& PressAlt(char letter);
    HeadlessUser& ChooseTab(int index);
    HeadlessUser& Answer(int button);            // the next message box
    HeadlessUser& ChooseFile(std::string path);  // the next file dialog
    HeadlessUser& CancelFileDialog();
    HeadlessUser& Wait(std::uint32_t ms);                      // let timers run for ms
    HeadlessUser& WaitUntil(std::function<bool()> condition);  // let everything run until true
    HeadlessUser& Then(std::function<void()> look);

    // The state of the innermost modal window.
    Window* Active() const;
    Window* Find(int id) const;  // a sheet's active page first, then the window itself
    bool Has(int id) const { return Find(id) != nullptr; }
    std::string Text(int id) const;
    bool IsEnabled(int id) const;
    bool IsVisible(int id) const;
    bool IsChecked(int id) const;
    int Selection(int id) const;  // drop-down list entry or first selected list row; -1 none
    std::vector<std::string> Items(int id) const;  // entries or row labels
    int FocusId() const;                           // the focused control's id; 0 for none
    bool IsAllSelected(int id) const;              // an edit whose whole text is selected
    std::string Title() const;
    std::vector<std::string> Tabs() const;
    int ActiveTab() const;
    HelpViewer* Help() const;  // the open help viewer, if any

    struct ShownBox {
        MessageBoxRequest request;
        int answer = 0;
        bool bScripted = false;
    };
    const std::vector<ShownBox>& MessageBoxes() const { return m_boxes; }
    const std::vector<OpenFileRequest>& FileDialogs() const { return m_files; }
    const std::vector<std::string>& Problems() const { return m_problems; }
    bool ScriptDone() const { return m_steps.empty(); }
    bool IsBusy() const { return m_bBusy.load(); }
    int BusyMarks() const { return m_nBusyMarks.load(); }  // how often the busy mark appeared

    // FrontEnd.
    void ModalStarted(Window&) override {}
    void ModalEnded(Window&) override {}
    void Changed(Window&) override {}
    void BusyChanged(bool bBusy) override;
    InputEvent WaitForInput(int wakeDescriptor, std::chrono::nanoseconds timeout) override;
    int MessageBox(const MessageBoxRequest& request) override;
    bool OpenFile(const OpenFileRequest& request, std::string* chosen) override;
    void HelpShown(HelpViewer&) override {}

  private:
    struct Step {
        enum class Type { Act, Answer, File, Wait, Until } type = Type::Act;
        std::string what;  // for Problems()
        std::function<bool()> act;
        int answer = 0;
        std::string path;
        bool bCancel = false;
        std::uint32_t ms = 0;
        double until = -1;  // Wait: when it ends, once started
    };
    HeadlessUser& Add(Step step);
    HeadlessUser& Act(std::string what, std::function<bool()> act);
    bool Control(int id, const std::string& what, Window** control);
    void Problem(std::string text) { m_problems.push_back(std::move(text)); }
    void RunOnItsOwn(int wakeDescriptor, std::chrono::nanoseconds timeout);

    FrontEnd* m_pPrevious;
    bool m_bManual;
    std::deque<Step> m_steps;
    std::vector<ShownBox> m_boxes;
    std::vector<OpenFileRequest> m_files;
    std::vector<std::string> m_problems;
    std::atomic<bool> m_bBusy{false};
    std::atomic<int> m_nBusyMarks{0};
};

}  // namespace ui
