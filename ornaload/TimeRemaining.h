// The estimate of the download's remaining time, from the rate over the last interval. A unit
// is 133 bytes of the file. Pure.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui/Module.h"

namespace ornaload {

inline constexpr std::uint32_t kBytesPerUnit = 133;

// Units of the file still to send.
std::uint32_t RemainingUnits(std::uint32_t fileLength, std::uint32_t bytesSent);

// Milliseconds still needed at the rate of the last interval: `elapsedMs` for
// (previousUnits - remainingUnits) units. Nothing when no unit was completed in the interval.
std::optional<std::uint32_t> EstimateRemainingMs(std::uint32_t elapsedMs,
                                                 std::uint32_t previousUnits,
                                                 std::uint32_t remainingUnits);

// The time line for `seconds` left and `bytesSent`: seconds alone up to a minute, else minutes
// and seconds; with the kilobytes copied.
std::string TimeLine(const ui::Module& module, std::uint32_t seconds, std::uint32_t bytesSent);

}  // namespace ornaload
