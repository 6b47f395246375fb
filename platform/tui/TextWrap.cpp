#include "platform/tui/TextWrap.h"

namespace tui {

namespace {

void WrapParagraph(std::string_view rest, int width, std::vector<std::string>& lines) {
    const std::size_t limit = static_cast<std::size_t>(width);
    while (rest.size() > limit) {
        // Break at the last blank that leaves the line within the limit, else cut the word.
        std::size_t blank = rest.substr(0, limit + 1).find_last_of(' ');
        bool bWordBefore = blank != std::string_view::npos &&
                           rest.substr(0, blank).find_first_not_of(' ') != std::string_view::npos;
        std::string_view line = rest.substr(0, bWordBefore ? blank : limit);
        rest.remove_prefix(line.size());
        while (!line.empty() && line.back() == ' ') {
            line.remove_suffix(1);
        }
        lines.emplace_back(line);
        std::size_t next = rest.find_first_not_of(' ');
        rest.remove_prefix(next == std::string_view::npos ? rest.size() : next);
        if (rest.empty()) {
            return;
        }
    }
    lines.emplace_back(rest);
}

}  // namespace

std::vector<std::string> WrapText(std::string_view text, int width) {
    std::vector<std::string> lines;
    if (text.empty() || width <= 0) {
        return lines;
    }
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view paragraph = text.substr(at, end - at);
        if (!paragraph.empty() && paragraph.back() == '\r') {
            paragraph.remove_suffix(1);
        }
        WrapParagraph(paragraph, width, lines);
        at = end + 1;
        if (at >= text.size()) {
            break;  // a final line break ends the last line, it starts none
        }
    }
    return lines;
}

}  // namespace tui
