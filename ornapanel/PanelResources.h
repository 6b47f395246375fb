// ornapanel's own resources (its string table and its icon), registered with the toolkit as
// the library's module on first use. Any thread may read them afterwards.
#pragma once

#include <cstdint>

#include "platform/ui/Module.h"

inline constexpr std::uint32_t IDI_APPLET = 134;
inline constexpr std::uint32_t IDS_APPLET_NAME = 59144;
inline constexpr std::uint32_t IDS_APPLET_INFO = 59145;
inline constexpr std::uint32_t IDS_INIT_ERROR = 59146;
inline constexpr std::uint32_t IDS_TERMINATE_ERROR = 59147;

const ui::Module& PanelModule();
