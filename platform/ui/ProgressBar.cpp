#include "platform/ui/ProgressBar.h"

#include <algorithm>

namespace ui {

void ProgressBar::SetRange(int lower, int upper) {
    m_nLower = lower;
    m_nUpper = std::max(lower, upper);
    m_nPos = std::clamp(m_nPos, m_nLower, m_nUpper);
    Changed();
}

void ProgressBar::SetPos(int pos) {
    m_nPos = std::clamp(pos, m_nLower, m_nUpper);
    Changed();
}

int ProgressBar::Percent() const {
    if (m_nUpper == m_nLower) {
        return 0;
    }
    return static_cast<int>(static_cast<long long>(m_nPos - m_nLower) * 100 /
                            (m_nUpper - m_nLower));
}

}  // namespace ui
