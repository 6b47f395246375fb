#include "platform/registry/Hive.h"

#include <algorithm>
#include <cctype>

namespace registry {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHivePrefix = "HKEY_LOCAL_MACHINE\\";

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Text a line of the file cannot hold.
bool Storable(std::string_view text) {
    return text.find_first_of(std::string_view("\n\r\0", 3)) == std::string_view::npos;
}

bool ValidPath(std::string_view path) {
    if (path.empty() || !Storable(path)) {
        return false;
    }
    return path.front() != '\\' && path.back() != '\\' &&
           path.find("\\\\") == std::string_view::npos;
}

// Reads a quoted string at the start of `line`, removing it from `line`.
std::optional<std::string> TakeQuoted(std::string_view& line) {
    if (line.empty() || line.front() != '"') {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1; i < line.size(); ++i) {
        char c = line[i];
        if (c == '"') {
            line.remove_prefix(i + 1);
            return text;
        }
        if (c == '\\') {
            if (i + 1 == line.size() || (line[i + 1] != '\\' && line[i + 1] != '"')) {
                return std::nullopt;
            }
            c = line[++i];
        }
        text += c;
    }
    return std::nullopt;
}

void AppendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

}  // namespace

std::optional<Hive> Hive::Parse(std::string_view text) {
    Hive hive;
    std::optional<std::string> current;  // path of the section the value lines belong to
    bool headerSeen = false;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        if (!headerSeen) {
            if (line != kHeader) {
                return std::nullopt;
            }
            headerSeen = true;
        } else if (line.front() == '[') {
            if (line.back() != ']' || line.size() < 2) {
                return std::nullopt;
            }
            std::string_view path = line.substr(1, line.size() - 2);
            if (!SameName(path.substr(0, kHivePrefix.size()), kHivePrefix)) {
                return std::nullopt;
            }
            path.remove_prefix(kHivePrefix.size());
            if (hive.CreateKey(path) != Status::Ok) {
                return std::nullopt;
            }
            current = std::string(path);
        } else {
            std::optional<std::string> name = TakeQuoted(line);
            if (!current || !name || line.empty() || line.front() != '=') {
                return std::nullopt;
            }
            line.remove_prefix(1);
            std::optional<std::string> data = TakeQuoted(line);
            // A name or data the hive cannot hold (a NUL or carriage return between the quotes,
            // as a torn write leaves) makes the file unreadable rather than lost on rewrite.
            if (!data || !line.empty() || hive.SetValue(*current, *name, *data) != Status::Ok) {
                return std::nullopt;
            }
        }
    }
    if (!headerSeen) {
        return std::nullopt;
    }
    return hive;
}

std::string Hive::Format() const {
    std::string out(kHeader);
    out += "\n";
    for (const Key& key : m_keys) {
        out += "\n[";
        out += kHivePrefix;
        out += key.path;
        out += "]\n";
        for (const Value& value : key.values) {
            AppendQuoted(out, value.name);
            out += '=';
            AppendQuoted(out, value.data);
            out += '\n';
        }
    }
    return out;
}

bool Hive::HasKey(std::string_view path) const {
    if (!ValidPath(path)) {
        return false;
    }
    return std::any_of(m_keys.begin(), m_keys.end(), [path](const Key& key) {
        std::string_view section = key.path;
        return SameName(section, path) ||
               (section.size() > path.size() && section[path.size()] == '\\' &&
                SameName(section.substr(0, path.size()), path));
    });
}

Status Hive::CreateKey(std::string_view path) {
    if (!ValidPath(path)) {
        return Status::InvalidData;
    }
    if (!FindSection(path)) {
        m_keys.push_back(Key{std::string(path), {}});
    }
    return Status::Ok;
}

const std::string* Hive::FindValue(std::string_view key, std::string_view name) const {
    const Key* section = FindSection(key);
    if (!section) {
        return nullptr;
    }
    for (const Value& value : section->values) {
        if (SameName(value.name, name)) {
            return &value.data;
        }
    }
    return nullptr;
}

Status Hive::SetValue(std::string_view key, std::string_view name, std::string_view data) {
    if (!Storable(name) || !Storable(data)) {
        return Status::InvalidData;
    }
    if (!HasKey(key)) {
        return Status::NotFound;
    }
    // A key that exists only as the parent of another gets its own section now.
    CreateKey(key);
    Key* section = FindSection(key);
    for (Value& value : section->values) {
        if (SameName(value.name, name)) {
            value.data = data;
            return Status::Ok;
        }
    }
    section->values.push_back(Value{std::string(name), std::string(data)});
    return Status::Ok;
}

Hive::Key* Hive::FindSection(std::string_view path) {
    auto it = std::find_if(m_keys.begin(), m_keys.end(),
                           [path](const Key& key) { return SameName(key.path, path); });
    return it == m_keys.end() ? nullptr : &*it;
}

const Hive::Key* Hive::FindSection(std::string_view path) const {
    return const_cast<Hive*>(this)->FindSection(path);
}

}  // namespace registry
