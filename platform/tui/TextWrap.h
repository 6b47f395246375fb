// Breaking text into the lines of a box. Pure; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tui {

// Lines of at most `width` characters: line breaks ("\n", "\r\n") are kept, words move to the
// next line when they do not fit, and a word longer than the line is cut. Blanks at a break
// are dropped; a final line break starts no line. An empty text has no lines.
std::vector<std::string> WrapText(std::string_view text, int width);

}  // namespace tui
