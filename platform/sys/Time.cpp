#include "platform/sys/Time.h"

#include <cstdlib>
#include <thread>

namespace sys {

double TimeScale() {
    static const double scale = [] {
        const char* text = std::getenv("QUILAN_TIME_SCALE");
        if (!text) {
            return 1.0;
        }
        char* end = nullptr;
        double value = std::strtod(text, &end);
        return (end != text && value > 0.0 && value <= 1000.0) ? value : 1.0;
    }();
    return scale;
}

std::chrono::nanoseconds Scaled(std::uint32_t ms) {
    return std::chrono::nanoseconds(static_cast<std::int64_t>(ms * TimeScale() * 1e6));
}

void Sleep(std::uint32_t ms) {
    if (ms == 0) {
        std::this_thread::yield();
        return;
    }
    std::this_thread::sleep_for(Scaled(ms));
}

}  // namespace sys
