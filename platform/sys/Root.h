// The system root and the COM port map.
//
// $QUILAN_ROOT (default /etc/quilan) holds everything one installation shares: the port map,
// the registry file, the card list. Two roots never share anything.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/sys/Export.h"

namespace sys {

QUILAN_EXPORT std::filesystem::path Root();

// The device behind "COM1" ... "COM10" (any letter case). When <root>/ports/ exists only its
// entries exist; otherwise COMn is /dev/ttyS<n-1>. Nothing for other names or absent entries.
QUILAN_EXPORT std::optional<std::filesystem::path> ComPortDevice(std::string_view name);

}  // namespace sys
