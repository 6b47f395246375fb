// Numbered inserts in the platform's message-formatting style: "%1!s!" ... "%9!s!" (and the
// plain "%1") take the inserts in order of their number; "%%" is a percent sign; "%n" a line
// break. An insert number without an insert is left as written. Pure; any thread.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/Export.h"

namespace ui {

QUILAN_EXPORT std::string FormatMessage(std::string_view pattern,
                                        const std::vector<std::string>& inserts);

}  // namespace ui
