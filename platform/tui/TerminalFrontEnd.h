// The terminal front end of the dialog toolkit: shows the modal windows of its thread on a
// Display and turns what an Input yields into the toolkit's events.
//
// Painting is lazy: Changed only notes that something changed, and the scene is painted into
// the screen buffer and the damaged cells written when the thread next waits for input, or at
// once when the busy mark appears (the thread is about to block). Message boxes and the
// file-open dialog are toolkit dialogs of the front end's own, so the thread's messages and
// timers keep running while they are shown; the help viewer runs modally. When the last
// window ends the terminal is given back until the next one is painted.
//
// The display and input belong to the caller and outlive the front end. Every function is
// called on the user-interface thread that uses the front end.
#pragma once

#include <vector>

#include "platform/tui/Painter.h"
#include "platform/tui/ScreenBuffer.h"
#include "platform/tui/Terminal.h"
#include "platform/ui/FrontEnd.h"

namespace tui {

class TerminalFrontEnd : public ui::FrontEnd {
  public:
    TerminalFrontEnd(Display& display, Input& input);

    void ModalStarted(ui::Window& top) override;
    void ModalEnded(ui::Window& top) override;
    void Changed(ui::Window& window) override;
    void BusyChanged(bool bBusy) override;

    ui::InputEvent WaitForInput(int wakeDescriptor, std::chrono::nanoseconds timeout) override;

    int MessageBox(const ui::MessageBoxRequest& request) override;
    bool OpenFile(const ui::OpenFileRequest& request, std::string* chosen) override;
    void HelpShown(ui::HelpViewer& viewer) override;

    // Paints what changed and shows it now.
    void Refresh();
    // What the terminal shows (after the last Refresh).
    const ScreenBuffer& Screen() const { return m_screen; }

  private:
    // Keys and clicks that only the terminal's own state needs: scrolling the help text,
    // opening and closing a drop-down list's entries. True when the event was used up.
    bool TakeKey(const ui::KeyEvent& key);
    bool TakeClick(const HitMap::Hit& hit, const TerminalEvent& event);
    ui::Window* Top() const { return m_windows.empty() ? nullptr : m_windows.back(); }

    Display& m_display;
    Input& m_input;
    ScreenBuffer m_screen;
    Painter m_painter;
    std::vector<ui::Window*> m_windows;  // the modal windows, innermost last
    bool m_bBusy = false;
    bool m_bDirty = true;
    bool m_bSuspended = false;  // the display was given back when the last window ended
};

}  // namespace tui
