// The resources of ornaload: its string table, the file and progress dialogs, the ELM icon and
// the pictures of the download animation.
//
// ThisModule() fills the library's Module on first use (thread-safe, as a function-local
// static) and keeps it for the life of the process, so the library's message boxes are titled
// with its own string 57344.
#pragma once

#include <array>
#include <cstdint>

#include "platform/ui/Module.h"

namespace ornaload {

// Strings.
inline constexpr std::uint32_t kIdsTimeout = 1;
inline constexpr std::uint32_t kIdsAdapterError = 2;
inline constexpr std::uint32_t kIdsTransferring = 4;  // "%s": the file's name
inline constexpr std::uint32_t kIdsTimeMinutes = 5;   // "%d min %d secs (%.1f KB copied)"
inline constexpr std::uint32_t kIdsTimeSeconds = 6;   // "%d secs (%.1f KB copied)"
inline constexpr std::uint32_t kIdsElmFilter = 7;
inline constexpr std::uint32_t kIdsElmExtension = 8;
inline constexpr std::uint32_t kIdsNoMemory = 9;
inline constexpr std::uint32_t kIdsOpenFailed = 10;
inline constexpr std::uint32_t kIdsInvalidFile = 11;
inline constexpr std::uint32_t kIdsElmPattern = 12;
inline constexpr std::uint32_t kIdsNoFileName = 13;
inline constexpr std::uint32_t kIdsNorthAmerica = 14;
inline constexpr std::uint32_t kIdsInternational = 15;
inline constexpr std::uint32_t kIdsSameFirmware = 16;
inline constexpr std::uint32_t kIdsOtherFirmware = 17;
inline constexpr std::uint32_t kIdsBadVersion = 18;  // "ERR0022 ... version information"
inline constexpr std::uint32_t kIdsBadType = 19;     // "ERR0023 ... firmware type"
inline constexpr std::uint32_t kIdsPleaseWait = 1005;
inline constexpr std::uint32_t kIdsComplete = 1006;
inline constexpr std::uint32_t kIdsTitle = 57344;
inline constexpr std::uint32_t kIdsFinishFailed = 57345;

// Dialogs.
inline constexpr std::uint32_t kIddProgress = 129;
inline constexpr std::uint32_t kIddFile = 160;

// The ELM icon: a document sheet with gears.
inline constexpr std::uint32_t kIconElm = 162;

// The animation: the picture shown at each index, 1 to 23. 158 shows the sheet still in the
// folder, 151 (twice) the sheet landed on the card.
inline constexpr int kFrameCount = 23;
inline constexpr std::array<std::uint32_t, kFrameCount> kFrameBitmaps = {
    158, 149, 152, 153, 154, 155, 156, 157, 138, 139, 140, 141,
    142, 143, 144, 145, 146, 159, 147, 148, 150, 151, 151};
// The picture of index 1 to 23.
constexpr std::uint32_t FrameBitmap(int index) {
    return kFrameBitmaps[static_cast<std::size_t>(index - 1)];
}

const ui::Module& ThisModule();

}  // namespace ornaload
