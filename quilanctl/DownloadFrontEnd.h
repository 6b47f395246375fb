// The front end of quilanctl's firmware download: it drives ornaload's dialogs as the command
// line decided, with nobody at a screen.
//
//   - The file dialog (dialog 160) gets Download pressed once, with the file the command named;
//     if the dialog is still open afterwards (the file failed its check, or the comparison was
//     not confirmed) it is cancelled, so that the download does not start.
//   - Yes/No questions (the version comparison) are answered Yes with --yes; otherwise the
//     question goes to standard error and the answer is read from standard input: "y" or
//     "yes" is Yes, anything else (end of input included) No.
//   - Other message boxes go to standard error, one line each, and are acknowledged.
//   - The progress dialog (dialog 129) is reported through a CProgressLine from its controls;
//     an interrupt (Ctrl-C) presses its Cancel, so that the adapter leaves its loader cleanly.
//
// Installed on the thread that runs the download (ui::FrontEndScope), used on that thread only;
// the interrupt comes through a pipe that a signal handler writes to.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/ui/FrontEnd.h"
#include "quilanctl/ProgressLine.h"

namespace ui {
class Dialog;
}

namespace quilanctl {

class CDownloadFrontEnd final : public ui::FrontEnd {
  public:
    // `interruptDescriptor`: readable once the user asked to stop; -1 for none.
    CDownloadFrontEnd(bool bAssumeYes, bool bTerminal, int interruptDescriptor);

    // Whether a question was answered No, and whether the file dialog was cancelled by us.
    bool Declined() const { return m_bDeclined; }
    bool FileRefused() const { return m_bFileRefused; }
    // The texts of the message boxes shown, in order.
    const std::vector<std::string>& Messages() const { return m_messages; }

    void ModalStarted(ui::Window& top) override;
    void ModalEnded(ui::Window& top) override;
    void Changed(ui::Window& window) override;
    void BusyChanged(bool) override {}
    ui::InputEvent WaitForInput(int wakeDescriptor, std::chrono::nanoseconds timeout) override;
    int MessageBox(const ui::MessageBoxRequest& request) override;
    bool OpenFile(const ui::OpenFileRequest&, std::string*) override { return false; }
    void HelpShown(ui::HelpViewer&) override {}

  private:
    bool Ask(const std::string& question);
    void Report(const ui::Dialog& progress);
    // Waits for the wake descriptor, the interrupt or the time-out; true on the interrupt.
    bool WaitInterrupted(int wakeDescriptor, std::chrono::nanoseconds timeout);

    bool m_bAssumeYes;
    int m_nInterrupt;
    CProgressLine m_progress;
    std::vector<ui::Window*> m_modal;
    bool m_bDownloadPressed = false;
    bool m_bFileRefused = false;
    bool m_bDeclined = false;
    bool m_bCancelPressed = false;
    std::vector<std::string> m_messages;
};

}  // namespace quilanctl
