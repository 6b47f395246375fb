// Push buttons (one may be the default button) and check boxes.
#pragma once

#include "platform/ui/Control.h"

namespace ui {

class QUILAN_EXPORT Button : public Control {
  public:
    explicit Button(ControlKind kind) : m_bCheckBox(kind == ControlKind::CheckBox) {}
    WindowKind Kind() const override {
        return m_bCheckBox ? WindowKind::CheckBox : WindowKind::PushButton;
    }

    bool IsDefault() const { return (Style() & style::kDefaultButton) != 0; }
    bool IsChecked() const { return m_bChecked; }
    void SetCheck(bool bChecked);

    // The user clicks it: it takes the focus (unless kKeepFocus), a check box toggles; then the
    // parent gets kClicked. Nothing happens to a disabled or hidden button; false then.
    bool Click();

  private:
    bool m_bCheckBox;
    bool m_bChecked = false;
};

}  // namespace ui
