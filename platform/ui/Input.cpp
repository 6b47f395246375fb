// What the user's keys and clicks do to the innermost modal window.
#include <cctype>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FrontEnd.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/UiThread.h"
#include "platform/ui/UpDown.h"

namespace ui {

namespace {

bool IsInside(const Window* window, const Window& top) {
    for (; window; window = window->Parent()) {
        if (window == &top) {
            return true;
        }
    }
    return false;
}

bool Usable(const Window* window) {
    for (; window; window = window->Parent()) {
        if (!window->IsEnabled() || !window->IsVisible()) {
            return false;
        }
    }
    return true;
}

// The controls of the window in order: a sheet's active page first, then its buttons.
std::vector<Control*> Controls(const Window& top) {
    std::vector<Control*> controls;
    auto add = [&](const Window& parent) {
        for (Window* child : parent.Children()) {
            if (auto* control = dynamic_cast<Control*>(child)) {
                controls.push_back(control);
            }
        }
    };
    if (auto* sheet = dynamic_cast<const PropertySheet*>(&top)) {
        if (PropertyPage* page = sheet->ActivePage()) {
            add(*page);
        }
    }
    add(top);
    return controls;
}

void FocusControl(Control& control) {
    control.SetFocus();
    if (auto* edit = dynamic_cast<Edit*>(&control)) {
        edit->SelectAll();
    }
}

void MoveFocus(Window& top, bool bBack) {
    std::vector<Control*> stops;
    for (Control* control : Controls(top)) {
        if (control->IsTabStop() && Usable(control)) {
            stops.push_back(control);
        }
    }
    if (stops.empty()) {
        return;
    }
    int count = static_cast<int>(stops.size());
    int at = -1;
    for (int i = 0; i < count; ++i) {
        if (stops[i]->HasFocus()) {
            at = i;
        }
    }
    int next = at < 0 ? (bBack ? count - 1 : 0) : (at + (bBack ? count - 1 : 1)) % count;
    FocusControl(*stops[next]);
}

void Command(Window& top, int id) {
    top.Send(kCommandMessage, static_cast<std::uintptr_t>(id), 0);
}

void PressDefault(Window& top) {
    Button* button = nullptr;
    if (auto* sheet = dynamic_cast<PropertySheet*>(&top)) {
        button = dynamic_cast<Button*>(sheet->Item(kIdOk));
    } else if (auto* dialog = dynamic_cast<Dialog*>(&top)) {
        button = dialog->DefaultButton();
    }
    if (!button) {
        Command(top, kIdOk);
    } else if (Usable(button)) {
        button->Click();
    }
}

// The "&x" mnemonic of a text, lower case; 0 when it has none.
char Mnemonic(const std::string& text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '&') {
            if (text[i + 1] == '&') {
                ++i;
                continue;
            }
            return static_cast<char>(std::tolower(static_cast<unsigned char>(text[i + 1])));
        }
    }
    return 0;
}

void FollowMnemonic(Window& top, char letter) {
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    std::vector<Control*> controls = Controls(top);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        Control* control = controls[i];
        if (Mnemonic(control->Text()) != letter || !control->IsVisible()) {
            continue;
        }
        if (auto* button = dynamic_cast<Button*>(control)) {
            if (Usable(button)) {
                button->Click();
            }
            return;
        }
        // A label: the next control the Tab key stops at.
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            if (controls[j]->IsTabStop() && Usable(controls[j])) {
                FocusControl(*controls[j]);
                return;
            }
        }
        return;
    }
}

UpDown* UpDownOf(const Window& buddy) {
    if (!buddy.Parent()) {
        return nullptr;
    }
    for (Window* sibling : buddy.Parent()->Children()) {
        auto* upDown = dynamic_cast<UpDown*>(sibling);
        if (upDown && upDown->Buddy() == &buddy && (upDown->Style() & style::kArrowKeys)) {
            return upDown;
        }
    }
    return nullptr;
}

bool Rename(ListView& list, const KeyEvent& key) {
    switch (key.key) {
        case Key::Character:
        case Key::Space:
            list.RenameText() += key.key == Key::Space ? ' ' : key.character;
            return true;
        case Key::Backspace:
            if (!list.RenameText().empty()) {
                list.RenameText().pop_back();
            }
            return true;
        case Key::Enter:
            list.EndRename(false);
            return true;
        case Key::Escape:
            list.EndRename(true);
            return true;
        default:
            return false;
    }
}

bool EditKey(Edit& edit, const KeyEvent& key) {
    switch (key.key) {
        case Key::Character:
            edit.TypeCharacter(key.character);
            return true;
        case Key::Space:
            edit.TypeCharacter(' ');
            return true;
        case Key::Backspace:
            edit.Backspace();
            return true;
        case Key::Delete:
            edit.DeleteForward();
            return true;
        case Key::Left:
        case Key::Right:
            edit.MoveCaret(key.key == Key::Left ? -1 : 1, false);
            return true;
        case Key::Home:
        case Key::End:
            edit.MoveCaret(key.key == Key::Home ? -1 : 1, true);
            return true;
        case Key::Up:
        case Key::Down:
            if (UpDown* upDown = UpDownOf(edit)) {
                upDown->Step(key.key == Key::Up ? 1 : -1);
            }
            return true;
        default:
            return false;
    }
}

void HandleKey(Window& top, const KeyEvent& key) {
    Window* focus = Window::Focus();
    if (focus && !IsInside(focus, top)) {
        focus = nullptr;
    }
    auto* list = dynamic_cast<ListView*>(focus);
    if (list && list->IsRenaming() && Rename(*list, key)) {
        return;
    }
    auto* sheet = dynamic_cast<PropertySheet*>(&top);
    if (key.bAlt && key.key == Key::Character) {
        FollowMnemonic(top, key.character);
        return;
    }
    if (key.bCtrl && (key.key == Key::PageUp || key.key == Key::PageDown)) {
        if (sheet) {
            sheet->SetActivePage(sheet->ActiveIndex() + (key.key == Key::PageUp ? -1 : 1));
        }
        return;
    }
    switch (key.key) {
        case Key::Tab:
            MoveFocus(top, key.bShift);
            return;
        case Key::Escape:
            Command(top, kIdCancel);
            return;
        case Key::Enter:
            if (auto* button = dynamic_cast<Button*>(focus);
                button && button->Kind() == WindowKind::PushButton && Usable(button)) {
                button->Click();
            } else {
                PressDefault(top);
            }
            return;
        case Key::F1:
            if (sheet) {
                sheet->PressButton(kIdHelpButton);
            } else {
                Command(top, kHelpCommand);
            }
            return;
        case Key::F2:
            if (list) {
                list->BeginRename(list->FocusedItem() >= 0 ? list->FocusedItem()
                                                           : list->FirstSelected());
            }
            return;
        default:
            break;
    }
    if (!focus || !Usable(focus)) {
        return;
    }
    if (auto* button = dynamic_cast<Button*>(focus); button && key.key == Key::Space) {
        button->Click();
    } else if (auto* edit = dynamic_cast<Edit*>(focus)) {
        EditKey(*edit, key);
    } else if (auto* drop = dynamic_cast<DropDownList*>(focus)) {
        if (key.key == Key::Up || key.key == Key::Down) {
            int to = drop->CurSel() + (key.key == Key::Up ? -1 : 1);
            if (drop->CurSel() < 0) {
                to = 0;
            }
            if (to >= 0 && to < drop->Count() && to != drop->CurSel()) {
                drop->Choose(to);
            }
        }
    } else if (list) {
        if (key.key == Key::Up || key.key == Key::Down) {
            list->MoveSelection(key.key == Key::Up ? -1 : 1);
        }
    }
}

void HandleMouse(Window& top, const MouseEvent& mouse) {
    Window* target = mouse.target;
    Window* capture = UiThread::Current().capture;
    if (!target || !IsInside(target, top) || (capture && capture != target)) {
        return;
    }
    if (auto* sheet = dynamic_cast<PropertySheet*>(target)) {
        if (mouse.item >= 0 && mouse.button == MouseButton::Left) {
            sheet->SetActivePage(mouse.item);
        }
        return;
    }
    if (!Usable(target)) {
        return;
    }
    if (auto* list = dynamic_cast<ListView*>(target)) {
        list->ClickItem(mouse.item, mouse.button, mouse.bDouble);
    } else if (mouse.button != MouseButton::Left) {
        return;
    } else if (auto* button = dynamic_cast<Button*>(target)) {
        button->Click();
    } else if (auto* drop = dynamic_cast<DropDownList*>(target)) {
        if (mouse.item >= 0) {
            drop->Choose(mouse.item);
        } else {
            drop->SetFocus();
        }
    } else if (auto* upDown = dynamic_cast<UpDown*>(target)) {
        upDown->Step(mouse.item == 1 ? -1 : 1);  // item 0: the up arrow, 1: the down arrow
    } else if (auto* control = dynamic_cast<Control*>(target); control && control->IsTabStop()) {
        FocusControl(*control);
    }
}

}  // namespace

void HandleInput(Window& top, const InputEvent& event) {
    if (event.type == InputEvent::Type::Key) {
        HandleKey(top, event.key);
    } else if (event.type == InputEvent::Type::Mouse) {
        HandleMouse(top, event.mouse);
    }
}

}  // namespace ui
