#include "platform/sys/Root.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace sys {

std::filesystem::path Root() {
    const char* root = std::getenv("QUILAN_ROOT");
    return (root && *root) ? std::filesystem::path(root) : std::filesystem::path("/etc/quilan");
}

namespace {

// 1 to 10 for "COM1" ... "COM10" in any letter case, else 0.
int ComNumber(std::string_view name) {
    if (name.size() < 4 || name.size() > 5) {
        return 0;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) {
            return 0;
        }
    }
    int number = 0;
    for (char c : name.substr(3)) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
        number = number * 10 + (c - '0');
    }
    bool leadingZero = name[3] == '0';
    return (!leadingZero && number >= 1 && number <= 10) ? number : 0;
}

}  // namespace

std::optional<std::filesystem::path> ComPortDevice(std::string_view name) {
    int number = ComNumber(name);
    if (number == 0) {
        return std::nullopt;
    }
    std::error_code error;
    std::filesystem::path ports = Root() / "ports";
    if (std::filesystem::is_directory(ports, error)) {
        std::filesystem::path entry = ports / ("COM" + std::to_string(number));
        if (!std::filesystem::exists(std::filesystem::symlink_status(entry, error))) {
            return std::nullopt;
        }
        return entry;
    }
    return std::filesystem::path("/dev/ttyS" + std::to_string(number - 1));
}

}  // namespace sys
