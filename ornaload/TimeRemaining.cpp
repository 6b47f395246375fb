#include "ornaload/TimeRemaining.h"

#include <cstdio>

#include "ornaload/Resources.h"

namespace ornaload {

std::uint32_t RemainingUnits(std::uint32_t fileLength, std::uint32_t bytesSent) {
    return (fileLength - bytesSent) / kBytesPerUnit;
}

std::optional<std::uint32_t> EstimateRemainingMs(std::uint32_t elapsedMs,
                                                 std::uint32_t previousUnits,
                                                 std::uint32_t remainingUnits) {
    if (previousUnits <= remainingUnits) {
        return std::nullopt;
    }
    return elapsedMs / (previousUnits - remainingUnits) * remainingUnits;
}

std::string TimeLine(const ui::Module& module, std::uint32_t seconds, std::uint32_t bytesSent) {
    const double kilobytes = bytesSent / 1024.0;
    const int whole = static_cast<int>(seconds);
    char line[160];
    if (seconds <= 60) {
        std::snprintf(line, sizeof line, module.String(kIdsTimeSeconds).c_str(), whole, kilobytes);
    } else {
        std::snprintf(line, sizeof line, module.String(kIdsTimeMinutes).c_str(), whole / 60,
                      whole % 60, kilobytes);
    }
    return line;
}

}  // namespace ornaload
