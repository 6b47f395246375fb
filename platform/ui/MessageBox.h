// Message boxes of a library: titled with its string 57344, with the text from its string table
// or given by the caller. Shown by the front end, modal on the calling (user-interface) thread.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/sys/Export.h"
#include "platform/ui/Module.h"

namespace ui {

// Buttons, icons and the default button combine in `type`.
inline constexpr unsigned kOk = 0x00;
inline constexpr unsigned kOkCancel = 0x01;
inline constexpr unsigned kYesNo = 0x04;
inline constexpr unsigned kIconStop = 0x10;
inline constexpr unsigned kIconQuestion = 0x20;
inline constexpr unsigned kIconExclamation = 0x30;
inline constexpr unsigned kIconInformation = 0x40;
inline constexpr unsigned kDefaultButton2 = 0x100;  // No (or Cancel) instead of Yes (or OK)

// Without an icon in `type`, OK boxes get the exclamation icon and Yes/No boxes the question
// icon. Returns kIdOk, kIdCancel, kIdYes or kIdNo.
QUILAN_EXPORT int MessageBox(const Module& module, std::uint32_t textId, unsigned type = kOk);
QUILAN_EXPORT int MessageBoxText(const Module& module, std::string_view text, unsigned type = kOk);

}  // namespace ui
