// A key of the local-machine hive, <root>/registry.reg (HKEY_LOCAL_MACHINE).
//
//   registry::Key key;
//   if (key.Open("SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory", registry::Access::Read) ==
//       registry::Status::Ok) {
//       char dir[260];
//       if (key.QueryString("HelpDirectory", dir, sizeof dir) == registry::Status::Ok) { ... }
//       key.Close();
//   }
//
// Paths are relative to HKEY_LOCAL_MACHINE and keep their blanks ("Quilan ISDN T/A \Directory"
// has a blank before the backslash); key and value names match without regard to ASCII case.
// Opening never creates a key: an absent key fails with NotFound. Only the installation creates
// keys, with Create. Every operation reads the file anew, so a value written by another process
// is seen at once. Each SetString replaces the whole file atomically under a file lock; two
// writers in different processes or threads never lose each other's values, and a file that
// cannot be parsed is reported Unreadable and left untouched. Writing needs write access to the
// root directory, which holds the lock file registry.reg.lock and, briefly, the temporary file.
//
// Lifetime and threads: a Key belongs to its creator and closes when destroyed. One Key is used
// by one thread at a time; any number of Keys in any threads and processes may be open at once.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/registry/Status.h"
#include "platform/sys/Export.h"

namespace registry {

enum class Access { Read, Write };

class QUILAN_EXPORT Key {
  public:
    Key() = default;
    ~Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    // Creates the key (and so its parents) in the hive of the current root unless it exists;
    // creates the hive file when there is none. For the installation and the demo only.
    static Status Create(std::string_view path);

    // Opens an existing key of the hive of the current root (the root is fixed at this moment).
    // NotFound for an absent key or hive file, Unreadable for a file that cannot be parsed.
    // An open Key is closed first.
    Status Open(std::string_view path, Access access);

    // Copies the string value `name` and a terminating zero into buffer[0..capacity). MoreData
    // when the value's length plus one exceeds `capacity` (the buffer is then left untouched);
    // NotFound when the value (or meanwhile the key) is absent. *length, when given, receives
    // the value's length without the zero on Ok and on MoreData.
    Status QueryString(std::string_view name, char* buffer, std::size_t capacity,
                       std::size_t* length = nullptr) const;

    // Sets or replaces the string value `name`. AccessDenied on a key opened for reading;
    // InvalidData for text holding a line break or NUL, which the file cannot hold.
    Status SetString(std::string_view name, std::string_view value);

    void Close();
    bool IsOpen() const { return m_open; }

  private:
    std::filesystem::path m_file;
    std::string m_path;
    Access m_access = Access::Read;
    bool m_open = false;
};

}  // namespace registry
