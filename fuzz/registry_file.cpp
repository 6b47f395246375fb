// Fuzz target: the registry file parser on any file contents.
// Links: platform_registry
//
// A file that parses keeps every value its lines give: the hive holds each, as the last line of
// that name in that key says (names and key paths compare without regard to letter case), and
// written back it parses to the same keys and values. A file that does not parse is never
// rewritten, so it has nothing more to show.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "fuzz/Require.h"
#include "platform/registry/Hive.h"

namespace {

constexpr std::string_view kHivePrefix = "HKEY_LOCAL_MACHINE\\";

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// A quoted string with its two escapes, taken off the front of `line`.
std::optional<std::string> Quoted(std::string_view& line) {
    if (line.empty() || line.front() != '"') {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '"') {
            line.remove_prefix(i + 1);
            return text;
        }
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
        }
        text += line[i];
    }
    return std::nullopt;
}

struct Entry {
    std::string key;
    std::string name;
    std::string data;
};

// The values the file's lines give, by lower-case key path and name; the last line wins.
std::map<std::pair<std::string, std::string>, Entry> ValuesOf(std::string_view text) {
    std::map<std::pair<std::string, std::string>, Entry> values;
    std::string key;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.starts_with('[') && line.size() >= 2 + kHivePrefix.size()) {
            key = line.substr(1 + kHivePrefix.size(), line.size() - 2 - kHivePrefix.size());
        } else if (line.starts_with('"')) {
            std::optional<std::string> name = Quoted(line);
            Require(name && line.starts_with('='), "a value line that parses has a name and '='");
            line.remove_prefix(1);
            std::optional<std::string> data = Quoted(line);
            Require(data.has_value(), "a value line that parses has quoted data");
            values[{Lower(key), Lower(*name)}] = Entry{key, *name, *data};
        }
    }
    return values;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<registry::Hive> hive = registry::Hive::Parse(text);
    if (!hive) {
        return 0;
    }
    for (const auto& [where, entry] : ValuesOf(text)) {
        const std::string* value = hive->FindValue(entry.key, entry.name);
        Require(value != nullptr, "every value of a file that parses is in the hive");
        Require(*value == entry.data, "a value holds what the last line of its name says");
    }
    const std::string written = hive->Format();
    const std::optional<registry::Hive> again = registry::Hive::Parse(written);
    Require(again.has_value(), "a hive written back parses");
    Require(again->Format() == written, "a hive written back has the same keys and values");
    return 0;
}
