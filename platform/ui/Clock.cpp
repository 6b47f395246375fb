#include "platform/ui/Clock.h"

#include <chrono>
#include <cmath>

#include "platform/ui/UiThread.h"

namespace ui {

TimeOfDay CurrentTime() {
    // The wall clock when the process first asked, moved on by the thread's own clock.
    static const double kBaseMs = std::chrono::duration<double, std::milli>(
                                      std::chrono::system_clock::now().time_since_epoch())
                                      .count();
    auto ms = static_cast<std::int64_t>(std::floor(kBaseMs + UiThread::Current().Now()));
    return {ms / 1000, static_cast<int>(ms % 1000)};
}

}  // namespace ui
