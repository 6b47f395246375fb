// The hive file <root>/registry.reg on disk (internal to platform_registry).
//
// Readers take no lock: a writer replaces the file with rename(), so a reader sees either the
// old file or the new one, never a mixture. Writers serialise on an flock() of the lock file
// <file>.lock and re-read the file under it, so concurrent writers in any processes never lose
// each other's values. A file that cannot be parsed is reported Unreadable and never rewritten.
// A writer killed mid-write may leave its temporary file <file>.tmp-XXXXXX; the next writer
// removes it.
// A HiveFile only names the file; any thread may use its own HiveFile or share a const one.
#pragma once

#include <filesystem>
#include <functional>

#include "platform/registry/Hive.h"

namespace registry {

class HiveFile {
  public:
    explicit HiveFile(std::filesystem::path file) : m_file(std::move(file)) {}

    // An absent file is an empty hive (no keys); Unreadable when it cannot be read or parsed.
    Status Load(Hive& hive) const;

    // Under the lock: loads the hive, applies `change`, and when it returns Ok writes the result
    // to a temporary file in the same directory, flushes it and renames it over the file.
    // An absent file is created. Returns the first failure: Load's, `change`'s or WriteFailed.
    Status Update(const std::function<Status(Hive&)>& change) const;

  private:
    Status Replace(const std::string& text) const;

    std::filesystem::path m_file;
};

}  // namespace registry
