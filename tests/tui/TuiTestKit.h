// What the terminal tests share: a module of small dialogs, painting windows to text, and a
// dialog object a test can create without running it.
#pragma once

#include <string>
#include <vector>

#include "platform/tui/Painter.h"
#include "platform/tui/ScreenBuffer.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Module.h"

namespace tuitest {

inline constexpr std::uint32_t kSmallDialog = 100;
inline constexpr std::uint32_t kFirstPage = 200;
inline constexpr std::uint32_t kSecondPage = 201;
inline constexpr std::uint32_t kListDialog = 300;
inline constexpr std::uint32_t kLongTextDialog = 301;

inline constexpr int kEditId = 10;
inline constexpr int kCheckId = 11;
inline constexpr int kDropId = 12;
inline constexpr int kProgressId = 13;
inline constexpr int kListId = 20;
inline constexpr int kTextId = 21;
inline constexpr int kPageButtonId = 30;

// The module of the tests' dialogs (built on first use, never destroyed).
const ui::Module& TestModule();

// Paints the windows (innermost last) on a screen of that size.
struct Painted {
    tui::ScreenBuffer screen;
    tui::Painter painter;
    std::string text;
    std::vector<std::string> Lines() const;
    // The rows of a rectangle of the screen.
    std::vector<std::string> Block(const ui::CellRect& area) const;
    // Where a text first appears on the screen; column -1 when absent.
    ui::CellRect Find(const std::string& what) const;
};
void Paint(Painted& painted, const std::vector<ui::Window*>& windows, int columns = 80,
           int rows = 24, bool bBusy = false);

// A dialog whose window a test creates and destroys itself, without a modal loop.
class OpenDialog : public ui::Dialog {
  public:
    explicit OpenDialog(std::uint32_t templateId) : ui::Dialog(TestModule(), templateId) {
        CreateFromTemplate(nullptr, nullptr);
        if (OnInitDialog()) {
            StartFocus();
        }
    }
    ~OpenDialog() override { Destroy(); }
};

}  // namespace tuitest
