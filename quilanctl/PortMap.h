// The COM port map of the system root: <root>/ports/COM1 ... COM10, each a link to the serial
// device behind that name. Without the folder every COMn is /dev/ttyS<n-1>; with it, only its
// entries exist. The first change therefore makes the folder with the default devices that
// exist, so that no other port disappears.
//
// A device is mapped only when it exists and is a terminal; where a stable name for it exists
// (a link in /dev/serial/by-id, then /dev/serial/by-path), the link goes to that name, so that
// the mapping outlives a change of the kernel's numbering. Each link is replaced atomically.
// One thread; other processes may read the map meanwhile.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "quilanctl/Failure.h"

namespace quilanctl {

class CPortMap {
  public:
    // `stableFolders`: where stable device names are looked for, in order of preference.
    explicit CPortMap(std::filesystem::path root,
                      std::vector<std::filesystem::path> stableFolders = {"/dev/serial/by-id",
                                                                          "/dev/serial/by-path"});

    struct Entry {
        std::string name;                             // "COM1" ... "COM10"
        std::optional<std::filesystem::path> device;  // as mapped; nothing when absent
    };
    std::vector<Entry> List() const;

    // Maps `name` (any letter case) to the device; `mapped` gets what the link names.
    Outcome Set(const std::string& name, const std::filesystem::path& device,
                std::filesystem::path& mapped);
    // Removes the mapping; nothing to do when there is none.
    Outcome Remove(const std::string& name);

    // "COM1" ... "COM10" for a name in any letter case; nothing for other names.
    static std::optional<std::string> CanonicalName(const std::string& name);

  private:
    std::filesystem::path Ports() const { return m_root / "ports"; }
    std::filesystem::path StableName(const std::filesystem::path& device) const;
    // Makes the folder, with the default devices that exist, when it is not there yet.
    Outcome EnsureFolder();
    Outcome Link(const std::string& name, const std::filesystem::path& target);

    std::filesystem::path m_root;
    std::vector<std::filesystem::path> m_stableFolders;
};

}  // namespace quilanctl
