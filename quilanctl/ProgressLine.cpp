#include "quilanctl/ProgressLine.h"

#include <algorithm>

namespace quilanctl {

namespace {

constexpr int kBarWidth = 30;

std::string Bar(int percent) {
    int filled = kBarWidth * percent / 100;
    return "[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "]";
}

std::string Percent(int percent) {
    std::string text = std::to_string(percent) + "%";
    return std::string(4 - std::min<std::size_t>(text.size(), 4), ' ') + text;
}

}  // namespace

void CProgressLine::Show(const std::string& status, int percent, const std::string& timeText) {
    percent = std::clamp(percent, 0, 100);
    if (status != m_status) {
        Break();
        std::fprintf(m_pOut, "%s\n", status.c_str());
        m_status = status;
        m_nPercent = -1;  // the bar goes on below the new status
    }
    if (m_bTerminal) {
        if (percent != m_nPercent || timeText != m_timeText) {
            Redraw(percent, timeText);
        }
    } else if (timeText != m_timeText && !timeText.empty()) {
        std::fprintf(m_pOut, "%s  %s\n", Percent(percent).c_str(), timeText.c_str());
    }
    m_nPercent = percent;
    m_timeText = timeText;
    std::fflush(m_pOut);
}

void CProgressLine::Redraw(int percent, const std::string& timeText) {
    std::string line = Bar(percent) + " " + Percent(percent);
    if (!timeText.empty()) {
        line += "  " + timeText;
    }
    // Blanks over what a longer line left behind.
    std::size_t drawn = line.size();
    line.append(m_nDrawn > drawn ? m_nDrawn - drawn : 0, ' ');
    std::fprintf(m_pOut, "\r%s", line.c_str());
    m_nDrawn = drawn;
}

void CProgressLine::Break() {
    if (m_nDrawn > 0) {
        std::fputc('\n', m_pOut);
        std::fflush(m_pOut);
        m_nDrawn = 0;
    }
}

}  // namespace quilanctl
