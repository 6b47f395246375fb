// The time scale and sleeping.
//
// QUILAN_TIME_SCALE (default 1) multiplies every platform sleep, wait time-out and window timer,
// so that tests run the system's fixed time limits quickly. It is read once, on first use.
#pragma once

#include <chrono>
#include <cstdint>

#include "platform/sys/Export.h"

namespace sys {

QUILAN_EXPORT double TimeScale();

// A duration of the system's own milliseconds, in real time after scaling.
QUILAN_EXPORT std::chrono::nanoseconds Scaled(std::uint32_t ms);

// Sleep(0) yields the processor once; other values sleep the scaled time.
QUILAN_EXPORT void Sleep(std::uint32_t ms);

}  // namespace sys
