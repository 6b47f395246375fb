// One character cell of the terminal: a byte of 8-bit text and how it is shown.
#pragma once

#include <cstdint>

namespace tui {

namespace attr {
inline constexpr std::uint8_t kBold = 1u << 0;
inline constexpr std::uint8_t kReverse = 1u << 1;
inline constexpr std::uint8_t kUnderline = 1u << 2;
inline constexpr std::uint8_t kDim = 1u << 3;
// The character is a letter of the VT100 line-drawing set ('q' horizontal, 'x' vertical,
// 'l' 'k' 'm' 'j' corners, 't' 'u' 'w' 'v' tees, 'a' shade); the display draws the line.
inline constexpr std::uint8_t kLine = 1u << 4;
}  // namespace attr

struct Cell {
    char ch = ' ';
    std::uint8_t attr = 0;
    bool operator==(const Cell&) const = default;
};

// The plain character that stands for a cell in text (tests, logs): lines become - | + #.
char PlainCharacter(const Cell& cell);

}  // namespace tui
