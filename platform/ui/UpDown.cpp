#include "platform/ui/UpDown.h"

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/ui/Edit.h"

namespace ui {

void UpDown::Setup(const ControlTemplate&, const Module&) {
    if (!(Style() & style::kAutoBuddy) || !Parent()) {
        return;
    }
    // The control made just before this one in the parent.
    const auto& siblings = Parent()->Children();
    if (siblings.size() >= 2) {
        m_pBuddy = siblings[siblings.size() - 2];
    }
}

void UpDown::SetRange(int lower, int upper) {
    m_nLower = lower;
    m_nUpper = upper;
    Changed();
}

int UpDown::Pos() const {
    if (!m_pBuddy) {
        return m_nPos;
    }
    const std::string& text = m_pBuddy->Text();
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) &&
           value < 1000000000) {
        value = value * 10 + (text[i++] - '0');
    }
    return static_cast<int>(value);
}

void UpDown::SetPos(int pos) {
    int low = std::min(m_nLower, m_nUpper);
    int high = std::max(m_nLower, m_nUpper);
    m_nPos = std::clamp(pos, low, high);
    if (m_pBuddy && (Style() & style::kSetBuddyNumber)) {
        m_pBuddy->SetText(std::to_string(m_nPos));
    }
    Changed();
}

bool UpDown::Step(int delta) {
    if (!Exists() || !IsEnabled()) {
        return false;
    }
    int low = std::min(m_nLower, m_nUpper);
    int high = std::max(m_nLower, m_nUpper);
    int pos = Pos();
    // A number outside the range (typed) first goes to the nearest end.
    int to =
        pos < low || pos > high ? std::clamp(pos, low, high) : std::clamp(pos + delta, low, high);
    if (to == pos) {
        return false;
    }
    SetPos(to);
    if (m_pBuddy) {
        m_pBuddy->NotifyParent(kEditChange);
    }
    return true;
}

}  // namespace ui
