// Progress bars: a position within a range, shown as a bar and its percentage.
#pragma once

#include "platform/ui/Control.h"

namespace ui {

class QUILAN_EXPORT ProgressBar : public Control {
  public:
    WindowKind Kind() const override { return WindowKind::ProgressBar; }
    bool IsTabStop() const override { return false; }

    void SetRange(int lower, int upper);
    int Lower() const { return m_nLower; }
    int Upper() const { return m_nUpper; }
    void SetPos(int pos);  // clamped to the range
    int Pos() const { return m_nPos; }
    int Percent() const;  // 0 to 100

  private:
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};

}  // namespace ui
