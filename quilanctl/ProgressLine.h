// How a download shows its progress on standard error. On a terminal: the status line as it
// changes, and one line redrawn in place with a bar, the percentage and the time left. Not on
// a terminal: plain lines, each time the status or the estimate changes, so that a log of a
// script stays short. One thread.
#pragma once

#include <cstdio>
#include <string>

namespace quilanctl {

class CProgressLine {
  public:
    CProgressLine(std::FILE* out, bool bTerminal) : m_pOut(out), m_bTerminal(bTerminal) {}

    // The progress dialog's state: its status line, the bar's percentage and its time line.
    void Show(const std::string& status, int percent, const std::string& timeText);
    // Ends a line being redrawn; before other output, and at the end.
    void Break();

  private:
    void Redraw(int percent, const std::string& timeText);

    std::FILE* m_pOut;
    bool m_bTerminal;
    std::string m_status;
    std::string m_timeText;
    int m_nPercent = -1;
    std::size_t m_nDrawn = 0;  // characters of the line being redrawn; 0: none
};

}  // namespace quilanctl
