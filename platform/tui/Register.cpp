// Loading the library makes the terminal the front end of programs that run on one.
#include <memory>

#include "platform/tui/CursesTerminal.h"
#include "platform/tui/TerminalFrontEnd.h"

namespace tui {

namespace {

// The terminal lives exactly as long as the front end that draws on it.
struct TerminalOwner {
    std::unique_ptr<CursesTerminal> terminal;
};

class CursesFrontEnd : private TerminalOwner, public TerminalFrontEnd {
  public:
    explicit CursesFrontEnd(std::unique_ptr<CursesTerminal> opened)
        : TerminalOwner{std::move(opened)}, TerminalFrontEnd(*terminal, *terminal) {}
};

const bool g_bRegistered = [] {
    ui::SetTerminalFrontEndMaker([]() -> std::unique_ptr<ui::FrontEnd> {
        std::unique_ptr<CursesTerminal> terminal = CursesTerminal::Open();
        if (!terminal) {
            return nullptr;  // the toolkit then runs without a terminal
        }
        return std::make_unique<CursesFrontEnd>(std::move(terminal));
    });
    return true;
}();

}  // namespace

}  // namespace tui
