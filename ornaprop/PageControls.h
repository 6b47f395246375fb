// Small steps on the controls of a page, by control id: the state tables of the profile pages
// are written with these. A missing control is skipped (reads give false or empty). Called on
// the page's user-interface thread.
#pragma once

#include <initializer_list>

namespace ui {
class Window;
}

namespace ornaprop {

void EnableControls(ui::Window& page, std::initializer_list<int> ids, bool bEnable);
void ShowControl(ui::Window& page, int id, bool bShow);
bool IsControlEnabled(const ui::Window& page, int id);
bool IsTicked(const ui::Window& page, int id);
void SetTick(ui::Window& page, int id, bool bTicked);
bool HasText(const ui::Window& page, int id);

}  // namespace ornaprop
