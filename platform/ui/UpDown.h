// Up-down controls: two arrows that step a number in their buddy edit, within a range.
#pragma once

#include "platform/ui/Control.h"

namespace ui {

class Edit;

class QUILAN_EXPORT UpDown : public Control {
  public:
    WindowKind Kind() const override { return WindowKind::UpDown; }
    bool IsTabStop() const override { return false; }

    Window* Buddy() const { return m_pBuddy; }
    void SetBuddy(Window* buddy) { m_pBuddy = buddy; }
    void SetRange(int lower, int upper);
    int Lower() const { return m_nLower; }
    int Upper() const { return m_nUpper; }
    // The position is the buddy's number (its leading digits) when there is a buddy.
    int Pos() const;
    void SetPos(int pos);  // clamped; written to the buddy without notifying

    // The user presses an arrow (+1 up, -1 down): the position moves within the range (from a
    // typed number outside it, to the nearest end), the buddy's text becomes the number (no
    // thousands separator) and the buddy tells its parent that its text changed. False when it
    // cannot move.
    bool Step(int delta);

  protected:
    void Setup(const ControlTemplate& line, const Module& module) override;

  private:
    Window* m_pBuddy = nullptr;
    int m_nLower = 0;
    int m_nUpper = 100;
    int m_nPos = 0;
};

}  // namespace ui
