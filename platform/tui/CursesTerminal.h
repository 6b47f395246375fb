// The real terminal, through ncurses: the display and input adapters of the front end, and the
// only place that knows ncurses.
//
// Constructing it takes over the process's terminal (standard input and output); destroying it
// gives the terminal back. The terminal is given back on every other way out as well: at exit,
// and on SIGINT, SIGTERM, SIGHUP, SIGABRT and SIGSEGV, whose handlers restore the terminal and
// then let the signal do what it did before. One object at a time per process; its thread only.
#pragma once

#include <memory>

#include "platform/tui/Terminal.h"

namespace tui {

class CursesTerminal : public Display, public Input {
  public:
    // Null when there is no usable terminal (standard input or output is not one, or the
    // terminal type is unknown).
    static std::unique_ptr<CursesTerminal> Open();
    ~CursesTerminal() override;

    int Columns() const override;
    int Rows() const override;
    void Write(int column, int row, const Cell* cells, int count) override;
    void SetCursor(int column, int row, bool bVisible) override;
    void Flush() override;
    void Suspend() override;

    TerminalEvent Wait(int wakeDescriptor, std::chrono::nanoseconds timeout) override;

  private:
    CursesTerminal() = default;
    TerminalEvent Translate(int code);

    int m_nCursorColumn = 0;
    int m_nCursorRow = 0;
    bool m_bCursorVisible = false;
    bool m_bInputGone = false;
    bool m_bSuspended = false;
};

}  // namespace tui
