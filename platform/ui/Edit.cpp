#include "platform/ui/Edit.h"

#include <algorithm>
#include <cctype>

namespace ui {

void Edit::SetText(std::string_view text) {
    Window::SetText(text);
    m_nSelStart = m_nSelEnd = Text().size();
}

void Edit::LimitText(std::size_t limit) {
    m_nLimit = limit;
}

void Edit::SetSelection(std::size_t start, std::size_t end) {
    std::size_t size = Text().size();
    m_nSelStart = std::min(start, size);
    m_nSelEnd = std::min(std::max(end, m_nSelStart), size);
    Changed();
}

void Edit::Replace(std::string_view with) {
    std::string text = Text();
    text.replace(m_nSelStart, m_nSelEnd - m_nSelStart, with);
    std::size_t caret = m_nSelStart + with.size();
    Window::SetText(text);
    m_nSelStart = m_nSelEnd = caret;
    Changed();
    NotifyParent(kEditChange);
}

bool Edit::TypeCharacter(char c) {
    if (!IsEnabled()) {
        return false;
    }
    if (IsDigitsOnly() && !std::isdigit(static_cast<unsigned char>(c))) {
        return false;
    }
    std::size_t after = Text().size() - (m_nSelEnd - m_nSelStart) + 1;
    if (m_nLimit != 0 && after > m_nLimit) {
        return false;
    }
    Replace(std::string_view(&c, 1));
    return true;
}

bool Edit::Backspace() {
    if (!IsEnabled() || (m_nSelStart == m_nSelEnd && m_nSelStart == 0)) {
        return false;
    }
    if (m_nSelStart == m_nSelEnd) {
        --m_nSelStart;
    }
    Replace({});
    return true;
}

bool Edit::DeleteForward() {
    if (!IsEnabled() || (m_nSelStart == m_nSelEnd && m_nSelEnd == Text().size())) {
        return false;
    }
    if (m_nSelStart == m_nSelEnd) {
        ++m_nSelEnd;
    }
    Replace({});
    return true;
}

void Edit::MoveCaret(std::ptrdiff_t delta, bool bToEdge) {
    std::size_t caret = delta < 0 ? m_nSelStart : m_nSelEnd;
    if (bToEdge) {
        caret = delta < 0 ? 0 : Text().size();
    } else if (m_nSelStart == m_nSelEnd) {
        auto moved = static_cast<std::ptrdiff_t>(caret) + delta;
        caret = static_cast<std::size_t>(
            std::clamp<std::ptrdiff_t>(moved, 0, static_cast<std::ptrdiff_t>(Text().size())));
    }
    SetSelection(caret, caret);
}

}  // namespace ui
