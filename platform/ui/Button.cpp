#include "platform/ui/Button.h"

namespace ui {

void Button::SetCheck(bool bChecked) {
    if (m_bChecked != bChecked) {
        m_bChecked = bChecked;
        Changed();
    }
}

bool Button::Click() {
    if (!Exists() || !IsEnabled() || !IsVisible()) {
        return false;
    }
    if (!(Style() & style::kKeepFocus)) {
        SetFocus();
    }
    if (m_bCheckBox) {
        SetCheck(!m_bChecked);
    }
    NotifyParent(kClicked);
    return true;
}

}  // namespace ui
