#include "ornaprop/AppletSheet.h"

#include <utility>

CAppletSheet::CAppletSheet(std::string title, ui::Window* parent, int startPage)
    : ui::PropertySheet(std::move(title), parent, startPage) {}

CAppletSheet::~CAppletSheet() = default;

bool CAppletSheet::OnInitDialog() {
    if (!ui::PropertySheet::OnInitDialog()) {
        return false;
    }
    const ui::Rect placement = Bounds();
    Move(placement.x + m_nHorizontalOffset, placement.y + m_nVerticalOffset);
    Show(true);
    return true;
}
