#include "ornaprop/PageControls.h"

#include "platform/ui/Button.h"
#include "platform/ui/Window.h"

namespace ornaprop {

void EnableControls(ui::Window& page, std::initializer_list<int> ids, bool bEnable) {
    for (int id : ids) {
        if (ui::Window* control = page.Item(id)) {
            control->Enable(bEnable);
        }
    }
}

void ShowControl(ui::Window& page, int id, bool bShow) {
    if (ui::Window* control = page.Item(id)) {
        control->Show(bShow);
    }
}

bool IsControlEnabled(const ui::Window& page, int id) {
    ui::Window* control = page.Item(id);
    return control && control->IsEnabled();
}

bool IsTicked(const ui::Window& page, int id) {
    auto* box = page.ItemAs<ui::Button>(id);
    return box && box->IsChecked();
}

void SetTick(ui::Window& page, int id, bool bTicked) {
    if (auto* box = page.ItemAs<ui::Button>(id)) {
        box->SetCheck(bTicked);
    }
}

bool HasText(const ui::Window& page, int id) {
    ui::Window* control = page.Item(id);
    return control && !control->Text().empty();
}

}  // namespace ornaprop
