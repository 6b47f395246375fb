// The resources of ornaprop: its string table, dialog templates and icons.
//
// ThisModule() fills the library's Module on first use (thread-safe, as a function-local
// static) and keeps it for the life of the process; every window and message box of the library
// takes its resources from there, so message boxes are titled with string 57344.
#pragma once

#include <cstdint>

#include "platform/ui/Module.h"

namespace ornaprop {

// Strings.
inline constexpr std::uint32_t kIdsTitle = 57344;  // "Quilan ISDN T/A Configuration Tool"
inline constexpr std::uint32_t kIdsMainSheet = 59142;
inline constexpr std::uint32_t kIdsCardItem = 59143;  // "Corvane Quilan ISDN T/A ( %s )"
inline constexpr std::uint32_t kIdsNoMemory = 59147;
inline constexpr std::uint32_t kIdsDetectFailed = 59148;
inline constexpr std::uint32_t kIdsCardSheet = 59156;
inline constexpr std::uint32_t kIdsCardUnreadable = 59157;
inline constexpr std::uint32_t kIdsDownloadFailed = 59159;
inline constexpr std::uint32_t kIdsHelpFailed = 59191;
inline constexpr std::uint32_t kIdsSelectCard = 59192;
inline constexpr std::uint32_t kIdsRefreshFailed = 59194;
inline constexpr std::uint32_t kIdsProfilesInternational = 59195;
inline constexpr std::uint32_t kIdsProfilesNorthAmerica = 59196;
inline constexpr std::uint32_t kIdsNoElmDirectory = 59197;
inline constexpr std::uint32_t kIdsChangeFirmware = 59198;
inline constexpr std::uint32_t kIdsDownloadComplete = 59201;

// Dialogs.
inline constexpr std::uint32_t kIddCards = 24819;
inline constexpr std::uint32_t kIddDetectCards = 138;
inline constexpr std::uint32_t kIddCard = 132;

// Icons: a PC card, large (134, 143) and small (142).
inline constexpr std::uint32_t kIconCard = 134;
inline constexpr std::uint32_t kIconCardSmall = 142;
inline constexpr std::uint32_t kIconCardDetect = 143;

const ui::Module& ThisModule();

}  // namespace ornaprop
