// The local-machine hive in memory, and its text form: a registry export.
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\SOFTWARE\Corvane\Quilan ISDN T/A \Directory]
//   "ElmDirectory"="/usr/share/quilan/elm/"
//
// Only string values exist; "\\" and "\"" are their escapes. Key paths are relative to
// HKEY_LOCAL_MACHINE and keep every blank. Key and value names match without regard to ASCII
// letter case, as the platform's do; a stored name keeps the case it was written with.
// A Hive is a plain value: copy it freely, use one object from one thread at a time.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/Status.h"
#include "platform/sys/Export.h"

namespace registry {

class QUILAN_EXPORT Hive {
  public:
    // The hive the text holds, or nothing when any line is not part of the format: a missing
    // "REGEDIT4" header, a value before the first key, another hive, a value that is not a
    // quoted string, an unknown escape, a NUL or carriage return inside the quotes, text after
    // the closing quote (a torn line is one).
    // Carriage returns before line ends are accepted. A repeated key merges into the first,
    // a repeated value replaces the earlier one.
    static std::optional<Hive> Parse(std::string_view text);

    // The text form; Parse(Format()) gives this hive back.
    std::string Format() const;

    // A key exists when a section names it or a section lies below it.
    bool HasKey(std::string_view path) const;

    // Adds a section for the key unless it exists as one. InvalidData for a path that is empty,
    // has an empty component or holds a line break or NUL.
    Status CreateKey(std::string_view path);

    // The value's text, or null when the key or the value is absent.
    const std::string* FindValue(std::string_view key, std::string_view name) const;

    // Sets or replaces a string value of an existing key. NotFound for an absent key,
    // InvalidData for a name or data holding a line break or NUL.
    Status SetValue(std::string_view key, std::string_view name, std::string_view data);

  private:
    struct Value {
        std::string name;
        std::string data;
    };
    struct Key {
        std::string path;
        std::vector<Value> values;
    };

    Key* FindSection(std::string_view path);
    const Key* FindSection(std::string_view path) const;

    std::vector<Key> m_keys;
};

}  // namespace registry
