// The screen buffer's damage, the key table and text wrapping: the pure parts of the terminal.
#include <gtest/gtest.h>

#include "platform/tui/KeyMap.h"
#include "platform/tui/ScreenBuffer.h"
#include "platform/tui/TextWrap.h"

namespace {

using tui::ScreenBuffer;
using Span = ScreenBuffer::Span;

TEST(ScreenBuffer, NewSizeDamagesEveryCell) {
    ScreenBuffer screen;
    screen.Resize(5, 3);
    EXPECT_EQ(screen.Damage(), (std::vector<Span>{{0, 0, 5}, {1, 0, 5}, {2, 0, 5}}));
    screen.MarkShown();
    EXPECT_TRUE(screen.Damage().empty());
    screen.Resize(4, 2);
    EXPECT_EQ(screen.Damage(), (std::vector<Span>{{0, 0, 4}, {1, 0, 4}}));
}

TEST(ScreenBuffer, DamageIsOnlyTheChangedRuns) {
    ScreenBuffer screen;
    screen.Resize(10, 3);
    screen.At(2, 1) = {'x', 0};
    screen.MarkShown();

    // Painting the same again changes nothing.
    screen.Clear();
    screen.At(2, 1) = {'x', 0};
    EXPECT_TRUE(screen.Damage().empty());

    // Two neighbours make one run; a lone cell its own; an attribute alone counts; a cell
    // painted back to blank counts.
    screen.Clear();
    screen.At(0, 0) = {'a', 0};
    screen.At(1, 0) = {'b', 0};
    screen.At(5, 0) = {'c', 0};
    screen.At(9, 2) = {' ', tui::attr::kReverse};
    EXPECT_EQ(screen.Damage(), (std::vector<Span>{{0, 0, 2}, {0, 5, 1}, {1, 2, 1}, {2, 9, 1}}));
    screen.MarkShown();
    EXPECT_TRUE(screen.Damage().empty());

    screen.Invalidate();
    EXPECT_EQ(screen.Damage().size(), 3u);
}

TEST(ScreenBuffer, TextShowsLinesAsPlainCharacters) {
    ScreenBuffer screen;
    screen.Resize(3, 1);
    screen.At(0, 0) = {'l', tui::attr::kLine};
    screen.At(1, 0) = {'q', tui::attr::kLine};
    screen.At(2, 0) = {'x', 0};
    EXPECT_EQ(screen.ToText(), "+-x\n");
}

struct KeyRow {
    const char* what;
    tui::RawKey raw;
    ui::Key key;
    char character;
    bool bShift;
    bool bCtrl;
    bool bAlt;
};

TEST(KeyMap, Table) {
    using ui::Key;
    const KeyRow rows[] = {
        {"tab", {'\t', "", false}, Key::Tab, 0, false, false, false},
        {"shift-tab", {-1, "KEY_BTAB", false}, Key::Tab, 0, true, false, false},
        {"return", {'\r', "", false}, Key::Enter, 0, false, false, false},
        {"line feed", {'\n', "", false}, Key::Enter, 0, false, false, false},
        {"keypad enter", {-1, "KEY_ENTER", false}, Key::Enter, 0, false, false, false},
        {"escape", {27, "", false}, Key::Escape, 0, false, false, false},
        {"space", {' ', "", false}, Key::Space, ' ', false, false, false},
        {"letter", {'a', "", false}, Key::Character, 'a', false, false, false},
        {"digit", {'7', "", false}, Key::Character, '7', false, false, false},
        {"8-bit character", {0xE9, "", false}, Key::Character, '\xE9', false, false, false},
        {"alt letter", {'o', "", true}, Key::Character, 'o', false, false, true},
        {"delete byte", {127, "", false}, Key::Backspace, 0, false, false, false},
        {"ctrl-h", {8, "", false}, Key::Backspace, 0, false, false, false},
        {"backspace key", {-1, "KEY_BACKSPACE", false}, Key::Backspace, 0, false, false, false},
        {"delete key", {-1, "KEY_DC", false}, Key::Delete, 0, false, false, false},
        {"up", {-1, "KEY_UP", false}, Key::Up, 0, false, false, false},
        {"down", {-1, "KEY_DOWN", false}, Key::Down, 0, false, false, false},
        {"left", {-1, "KEY_LEFT", false}, Key::Left, 0, false, false, false},
        {"right", {-1, "KEY_RIGHT", false}, Key::Right, 0, false, false, false},
        {"home", {-1, "KEY_HOME", false}, Key::Home, 0, false, false, false},
        {"home as find", {-1, "KEY_FIND", false}, Key::Home, 0, false, false, false},
        {"end", {-1, "KEY_END", false}, Key::End, 0, false, false, false},
        {"end as select", {-1, "KEY_SELECT", false}, Key::End, 0, false, false, false},
        {"page up", {-1, "KEY_PPAGE", false}, Key::PageUp, 0, false, false, false},
        {"page down", {-1, "KEY_NPAGE", false}, Key::PageDown, 0, false, false, false},
        {"ctrl page up", {-1, "kPRV5", false}, Key::PageUp, 0, false, true, false},
        {"ctrl page down", {-1, "kNXT5", false}, Key::PageDown, 0, false, true, false},
        {"f1", {-1, "KEY_F(1)", false}, Key::F1, 0, false, false, false},
        {"f2", {-1, "KEY_F(2)", false}, Key::F2, 0, false, false, false},
        {"alt down", {-1, "KEY_DOWN", true}, Key::Down, 0, false, false, true},
        {"f3 means nothing", {-1, "KEY_F(3)", false}, Key::None, 0, false, false, false},
        {"unknown name", {-1, "kUP3", false}, Key::None, 0, false, false, false},
        {"ctrl-a means nothing", {1, "", false}, Key::None, 0, false, false, false},
    };
    for (const KeyRow& row : rows) {
        SCOPED_TRACE(row.what);
        ui::KeyEvent event = tui::MapKey(row.raw);
        EXPECT_EQ(event.key, row.key);
        if (row.key == Key::None) {
            continue;
        }
        EXPECT_EQ(event.character, row.character);
        EXPECT_EQ(event.bShift, row.bShift);
        EXPECT_EQ(event.bCtrl, row.bCtrl);
        EXPECT_EQ(event.bAlt, row.bAlt);
    }
}

struct WrapRow {
    const char* text;
    int width;
    std::vector<std::string> lines;
};

TEST(TextWrap, Table) {
    const WrapRow rows[] = {
        {"", 10, {}},
        {"short", 10, {"short"}},
        {"exactly ten", 11, {"exactly ten"}},
        {"one two three", 7, {"one two", "three"}},
        {"one two three", 6, {"one", "two", "three"}},
        {"a\nb", 10, {"a", "b"}},
        {"a\r\nb", 10, {"a", "b"}},
        {"a\n\nb", 10, {"a", "", "b"}},
        {"a\n", 10, {"a"}},
        {"a\n\n", 10, {"a", ""}},
        {"\n", 10, {""}},
        {"abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"go abcdefghij", 4, {"go", "abcd", "efgh", "ij"}},
        {"  indented text", 20, {"  indented text"}},
        {"blanks   at   the   break", 9, {"blanks", "at   the", "break"}},
        {"trailing  ", 8, {"trailing"}},
        {"x", 0, {}},
    };
    for (const WrapRow& row : rows) {
        SCOPED_TRACE(std::string(row.text) + " / " + std::to_string(row.width));
        EXPECT_EQ(tui::WrapText(row.text, row.width), row.lines);
    }
}

}  // namespace
