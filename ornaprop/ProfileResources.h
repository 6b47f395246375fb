// The resources of the profile pages: their strings and dialog templates, registered in the
// library's Module (Resources.h) with the rest of its resources.
#pragma once

#include <cstdint>

#include "platform/ui/Module.h"

namespace ornaprop {

// Strings.
inline constexpr std::uint32_t kIdsReadProfilesFailed = 59149;   // ERR0004
inline constexpr std::uint32_t kIdsWriteProfilesFailed = 59150;  // ERR0005
inline constexpr std::uint32_t kIdsBadNumber = 59151;            // ERR0007
inline constexpr std::uint32_t kIdsBadSpid = 59152;              // ERR0008
inline constexpr std::uint32_t kIdsPortBusy = 59153;             // ERR0010
inline constexpr std::uint32_t kIdsNumberTooLong = 59154;        // ERR0019
inline constexpr std::uint32_t kIdsSpidTooLong = 59155;          // ERR0020
inline constexpr std::uint32_t kIdsNamesNotSaved = 59158;        // ERR0025
inline constexpr std::uint32_t kIdsSelectProfile = 59160;        // WARN0001
inline constexpr std::uint32_t kIdsNameTooLong = 59161;          // WARN0007
inline constexpr std::uint32_t kIdsNameEmpty = 59162;            // WARN0008
inline constexpr std::uint32_t kIdsSecondNumberEmpty = 59163;    // WARN009
inline constexpr std::uint32_t kIdsSamePrimarySpid = 59164;      // WARN010, North America
inline constexpr std::uint32_t kIdsSameAlternateSpid = 59165;    // WARN011, North America
inline constexpr std::uint32_t kIdsSamePrimary = 59166;          // WARN010, International
inline constexpr std::uint32_t kIdsSameAlternate = 59167;        // WARN011, International
inline constexpr std::uint32_t kIdsNameUnstorable = 59168;       // WARN0012
inline constexpr std::uint32_t kIdsPrimaryLocation = 59184;
inline constexpr std::uint32_t kIdsAlternateLocation = 59185;
inline constexpr std::uint32_t kIdsConfiguration = 59204;  // " Configuration", after the name

// Dialogs.
inline constexpr std::uint32_t kIddProfileList = 139;
inline constexpr std::uint32_t kIddNorthAmericaLocation = 140;
inline constexpr std::uint32_t kIddInternationalLocation = 145;
inline constexpr std::uint32_t kIddAdvanced = 152;

void AddProfileResources(ui::Module& module);

}  // namespace ornaprop
