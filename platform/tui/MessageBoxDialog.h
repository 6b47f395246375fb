// The message box as the terminal shows it: a toolkit dialog built for each request, with the
// icon drawn in characters, the text wrapped to fit and the buttons centred below it.
// Used on the user-interface thread; one object per message box.
#pragma once

#include "platform/ui/FrontEnd.h"
#include "platform/ui/Module.h"
#include "platform/ui/Template.h"

namespace tui {

inline constexpr std::uint32_t kMessageBoxTemplate = 1;
inline constexpr std::uint32_t kMessageBoxIcon = 1;
inline constexpr int kMessageTextId = 0xFFFF;

// The box's dialog template: its text in control kMessageTextId, the icon (resource
// kMessageBoxIcon) and one push button per choice, the default one marked so.
ui::DialogTemplate MessageBoxTemplate(const ui::MessageBoxRequest& request);
// The icon in characters; empty for Icon::None.
ui::Image MessageBoxIcon(ui::Icon icon);

class MessageBoxDialog {
  public:
    explicit MessageBoxDialog(const ui::MessageBoxRequest& request);
    // Runs the box modally: the button chosen (kIdOk, kIdCancel, kIdYes, kIdNo). Esc and the
    // close box give kIdCancel, or kIdNo when the box asks Yes or No.
    int Run();

  private:
    ui::MessageBoxRequest m_request;
    ui::Module m_module{"message box"};
};

}  // namespace tui
