#include "platform/ui/Format.h"

#include <cctype>

namespace ui {

std::string FormatMessage(std::string_view pattern, const std::vector<std::string>& inserts) {
    std::string out;
    std::size_t i = 0;
    while (i < pattern.size()) {
        char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            ++i;
            continue;
        }
        char next = pattern[i + 1];
        if (next == '%') {
            out += '%';
            i += 2;
            continue;
        }
        if (next == 'n') {
            out += '\n';
            i += 2;
            continue;
        }
        if (!std::isdigit(static_cast<unsigned char>(next)) || next == '0') {
            out += c;
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        unsigned number = 0;
        while (end < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[end])) &&
               number < 100) {
            number = number * 10 + static_cast<unsigned>(pattern[end] - '0');
            ++end;
        }
        // An optional "!format!" after the number: only strings are ever inserted.
        if (end < pattern.size() && pattern[end] == '!') {
            std::size_t close = pattern.find('!', end + 1);
            if (close != std::string_view::npos) {
                end = close + 1;
            }
        }
        if (number >= 1 && number <= inserts.size()) {
            out += inserts[number - 1];
        } else {
            out.append(pattern.substr(i, end - i));
        }
        i = end;
    }
    return out;
}

}  // namespace ui
