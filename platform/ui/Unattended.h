// The unattended headless front end (internal): nobody looks and nobody types. Dialogs run on
// their own (messages, timers, other threads); each message box takes its default button and
// its text goes to standard error as one line; file dialogs are cancelled.
#pragma once

#include "platform/ui/FrontEnd.h"

namespace ui {

class Unattended final : public FrontEnd {
  public:
    void ModalStarted(Window&) override {}
    void ModalEnded(Window&) override {}
    void Changed(Window&) override {}
    void BusyChanged(bool) override {}
    InputEvent WaitForInput(int wakeDescriptor, std::chrono::nanoseconds timeout) override;
    int MessageBox(const MessageBoxRequest& request) override;
    bool OpenFile(const OpenFileRequest&, std::string*) override { return false; }
    void HelpShown(HelpViewer&) override {}
};

// Waits for the descriptor to become readable or the time-out (negative: none) to pass.
void WaitReadable(int descriptor, std::chrono::nanoseconds timeout);

// The text of a message box on one line: line breaks become blanks.
std::string OneLine(const std::string& text);

}  // namespace ui
