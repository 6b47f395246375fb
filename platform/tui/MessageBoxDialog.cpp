#include "platform/tui/MessageBoxDialog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/tui/Canvas.h"
#include "platform/tui/TemplateCells.h"
#include "platform/tui/TextWrap.h"
#include "platform/ui/Button.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Window.h"

namespace tui {

namespace {

// Layout in cells; the template gets them in dialog units.
constexpr int kMaxTextColumns = 60;
constexpr int kMaxTextRows = 14;
constexpr int kButtonColumns = 10;
constexpr int kButtonGap = 2;
constexpr int kIconColumns = 5;

struct Choice {
    int id;
    const char* text;
};

std::vector<Choice> Choices(ui::Buttons buttons) {
    switch (buttons) {
        case ui::Buttons::OkCancel:
            return {{ui::kIdOk, "OK"}, {ui::kIdCancel, "Cancel"}};
        case ui::Buttons::YesNo:
            return {{ui::kIdYes, "&Yes"}, {ui::kIdNo, "&No"}};
        case ui::Buttons::Ok:
            break;
    }
    return {{ui::kIdOk, "OK"}};
}

class Box : public ui::Dialog {
  public:
    Box(const ui::Module& module, const ui::MessageBoxRequest& request)
        : ui::Dialog(module, kMessageBoxTemplate, request.owner), m_request(request) {}

  protected:
    bool OnInitDialog() override {
        ui::Window* button = Item(m_request.defaultButton);
        if (!button) {
            return true;
        }
        button->SetFocus();
        return false;
    }

    bool OnCommand(int id, int code) override {
        if (id == ui::kIdCancel && !Item(ui::kIdCancel)) {
            // Esc and the close box.
            EndDialog(m_request.buttons == ui::Buttons::YesNo ? ui::kIdNo : ui::kIdCancel);
            return true;
        }
        if (Item(id)) {
            EndDialog(id);
            return true;
        }
        return ui::Dialog::OnCommand(id, code);
    }

  private:
    const ui::MessageBoxRequest& m_request;
};

}  // namespace

ui::Image MessageBoxIcon(ui::Icon icon) {
    switch (icon) {
        case ui::Icon::Stop:
            return {20, 24, {"/---\\", "| X |", "\\---/"}};
        case ui::Icon::Question:
            return {20, 24, {"/---\\", "| ? |", "\\---/"}};
        case ui::Icon::Exclamation:
            return {20, 24, {" /^\\ ", "/ ! \\", "-----"}};
        case ui::Icon::Information:
            return {20, 24, {"/---\\", "| i |", "\\---/"}};
        case ui::Icon::None:
            break;
    }
    return {};
}

ui::DialogTemplate MessageBoxTemplate(const ui::MessageBoxRequest& request) {
    std::vector<Choice> choices = Choices(request.buttons);
    bool bIcon = request.icon != ui::Icon::None;
    int textColumn = bIcon ? 2 + kIconColumns + 2 : 2;
    std::vector<std::string> lines = WrapText(request.text, kMaxTextColumns);
    int textRows = std::clamp(static_cast<int>(lines.size()), 1, kMaxTextRows);
    int textColumns = 1;
    for (const std::string& line : lines) {
        textColumns = std::max(textColumns, static_cast<int>(line.size()));
    }
    int buttonsColumns =
        static_cast<int>(choices.size()) * (kButtonColumns + kButtonGap) - kButtonGap;
    int columns = std::max({textColumn + textColumns + 2, buttonsColumns + 4,
                            static_cast<int>(request.title.size()) + 10, 30});
    int buttonsRow = 1 + std::max(textRows, bIcon ? 3 : 1) + 1;

    ui::DialogTemplate dialog;
    dialog.id = kMessageBoxTemplate;
    dialog.title = request.title;
    dialog.cx = columns * ui::kBaseUnitX;
    dialog.cy = (buttonsRow + 2) * ui::kBaseUnitY;
    dialog.style = ui::style::kCaption;
    if (request.buttons != ui::Buttons::YesNo) {
        dialog.style |= ui::style::kSystemMenu;  // a Yes/No question needs an answer
    }
    if (bIcon) {
        ui::ControlTemplate icon =
            Line(ui::ControlKind::Icon, -1, "", Cells(2, 1, kIconColumns, 3));
        icon.resource = kMessageBoxIcon;
        dialog.controls.push_back(icon);
    }
    // The wrapped lines are joined again so that the text control wraps them the same way.
    // A message's '&' is shown as it is, not as a mnemonic.
    std::string text;
    for (std::size_t i = 0; i < lines.size() && static_cast<int>(i) < textRows; ++i) {
        text += i ? "\n" : "";
        for (char ch : lines[i]) {
            text += ch == '&' ? "&&" : std::string(1, ch);
        }
    }
    dialog.controls.push_back(Line(ui::ControlKind::Text, kMessageTextId, text,
                                   Cells(textColumn, 1, textColumns, textRows)));
    int column = (columns - buttonsColumns) / 2;
    for (const Choice& choice : choices) {
        dialog.controls.push_back(
            Line(ui::ControlKind::PushButton, choice.id, choice.text,
                 Cells(column, buttonsRow, kButtonColumns, 1),
                 choice.id == request.defaultButton ? ui::style::kDefaultButton : 0u));
        column += kButtonColumns + kButtonGap;
    }
    return dialog;
}

MessageBoxDialog::MessageBoxDialog(const ui::MessageBoxRequest& request) : m_request(request) {
    m_module.AddDialog(MessageBoxTemplate(m_request));
    m_module.AddIcon(kMessageBoxIcon, MessageBoxIcon(m_request.icon));
}

int MessageBoxDialog::Run() {
    Box box(m_module, m_request);
    int code = box.DoModal();
    return code < 0 ? m_request.defaultButton : code;
}

}  // namespace tui
