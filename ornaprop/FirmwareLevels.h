// The firmware levels that decide what the pages (and the command line) offer for a card, by
// the minor version its version reply gives.
#pragma once

namespace ornaprop {

// The profile settings exist from the minor version after this one on.
inline constexpr int kLastMinorWithoutProfiles = 3;

// Firmware from this minor version on can be replaced.
inline constexpr int kFirstReplaceableMinor = 2;

}  // namespace ornaprop
