// The time of day in the calling user-interface thread's clock, which its timers follow: the
// time scale applies to it, and under the headless driver's manual clock it moves only when
// the driver moves it.
#pragma once

#include <cstdint>

#include "platform/sys/Export.h"

namespace ui {

struct TimeOfDay {
    std::int64_t seconds = 0;  // since 1970; never 0 for a time this returns
    int milliseconds = 0;      // 0 to 999
};

QUILAN_EXPORT TimeOfDay CurrentTime();

}  // namespace ui
