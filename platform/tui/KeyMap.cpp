#include "platform/tui/KeyMap.h"

#include <array>
#include <string_view>

namespace tui {

namespace {

struct NamedKey {
    std::string_view name;
    ui::Key key;
    bool bShift;
    bool bCtrl;
};

using ui::Key;

// Names as the terminal database gives them; "kNXT5" and the like are the modified forms
// (5 is Ctrl, 2 Shift).
constexpr std::array kNamedKeys{
    NamedKey{"KEY_UP", Key::Up, false, false},
    NamedKey{"KEY_DOWN", Key::Down, false, false},
    NamedKey{"KEY_LEFT", Key::Left, false, false},
    NamedKey{"KEY_RIGHT", Key::Right, false, false},
    NamedKey{"KEY_HOME", Key::Home, false, false},
    NamedKey{"KEY_FIND", Key::Home, false, false},
    NamedKey{"KEY_END", Key::End, false, false},
    NamedKey{"KEY_SELECT", Key::End, false, false},
    NamedKey{"KEY_PPAGE", Key::PageUp, false, false},
    NamedKey{"KEY_NPAGE", Key::PageDown, false, false},
    NamedKey{"kPRV5", Key::PageUp, false, true},
    NamedKey{"kNXT5", Key::PageDown, false, true},
    NamedKey{"KEY_BTAB", Key::Tab, true, false},
    NamedKey{"KEY_ENTER", Key::Enter, false, false},
    NamedKey{"KEY_BACKSPACE", Key::Backspace, false, false},
    NamedKey{"KEY_DC", Key::Delete, false, false},
    NamedKey{"KEY_F(1)", Key::F1, false, false},
    NamedKey{"KEY_F(2)", Key::F2, false, false},
};

}  // namespace

ui::KeyEvent MapKey(const RawKey& raw) {
    ui::KeyEvent event;
    event.bAlt = raw.bAlt;
    if (raw.byte < 0) {
        for (const NamedKey& named : kNamedKeys) {
            if (named.name == raw.name) {
                event.key = named.key;
                event.bShift = named.bShift;
                event.bCtrl = named.bCtrl;
                return event;
            }
        }
        return {};
    }
    switch (raw.byte) {
        case '\t':
            event.key = Key::Tab;
            return event;
        case '\r':
        case '\n':
            event.key = Key::Enter;
            return event;
        case 27:
            event.key = Key::Escape;
            return event;
        case 8:
        case 127:
            event.key = Key::Backspace;
            return event;
        case ' ':
            event.key = Key::Space;
            event.character = ' ';
            return event;
        default:
            break;
    }
    if (raw.byte < ' ' || raw.byte > 255) {
        return {};
    }
    event.key = Key::Character;
    event.character = static_cast<char>(raw.byte);
    return event;
}

}  // namespace tui
