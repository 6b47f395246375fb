// The text fields of the profile record (100 bytes holding a NUL-terminated string) as strings.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace ornaprop {

inline constexpr std::size_t kFieldSize = 100;

// The field's text up to its NUL, or all 100 bytes when a card filled it without one.
inline std::string FieldText(const char (&field)[kFieldSize]) {
    return std::string(field, strnlen(field, kFieldSize));
}

// Stores `text` with its NUL; text that does not fit (more than 99 characters) is never
// stored, so no byte beyond the field is written. The checks refuse such text before it gets
// here. False when the field kept its value.
inline bool SetField(char (&field)[kFieldSize], std::string_view text) {
    if (text.size() >= kFieldSize) {
        return false;
    }
    std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return true;
}

}  // namespace ornaprop
