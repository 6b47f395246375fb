// Single-line edit controls.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/ui/Control.h"

namespace ui {

class QUILAN_EXPORT Edit : public Control {
  public:
    WindowKind Kind() const override { return WindowKind::Edit; }

    // SetText puts the caret at the end with nothing selected; it does not notify.
    void SetText(std::string_view text) override;
    void LimitText(std::size_t limit);  // 0: no limit
    std::size_t Limit() const { return m_nLimit; }
    bool IsDigitsOnly() const { return (Style() & style::kDigitsOnly) != 0; }

    // The selection [start, end); start == end is the caret.
    std::size_t SelectionStart() const { return m_nSelStart; }
    std::size_t SelectionEnd() const { return m_nSelEnd; }
    void SetSelection(std::size_t start, std::size_t end);
    void SelectAll() { SetSelection(0, Text().size()); }

    // What the user types: each changes the text as typed, then tells the parent kEditChange.
    // A character that the style refuses, or one past the limit, changes nothing (false).
    bool TypeCharacter(char c);
    bool Backspace();
    bool DeleteForward();
    void MoveCaret(std::ptrdiff_t delta, bool bToEdge);  // arrows, Home/End

  private:
    void Replace(std::string_view with);

    std::size_t m_nLimit = 0;
    std::size_t m_nSelStart = 0;
    std::size_t m_nSelEnd = 0;
};

}  // namespace ui
