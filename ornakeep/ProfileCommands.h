// The setting commands that store a _CARDPROFILES record in a card, formatted as text.
//
// Pure functions. Every command is formatted into 400 bytes, so it has at most 399 characters
// and ends in a single carriage return. A record is formatted whole before anything is sent, so
// a record that cannot go out as it stands never reaches the card in part.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CardProfiles.h"

namespace ProfileCommands {

enum : std::int32_t {
    kNotFormatted = 3001,  // a number outside 0 to 3, a text field without its NUL or holding a
                           // control character, or a command over 399 characters
};

// Appends the commands that set profile `n`'s registers and store it ("AT&W<n>"): 13 when
// `northAmerica` is exactly 1, else 8. Returns 0 or kNotFormatted (`commands` unchanged then).
std::int32_t FormatStoredProfile(const _STOREDPROFILE& profile, int n, std::int32_t northAmerica,
                                 std::vector<std::string>& commands);

// All commands of a whole write in sending order: the three profiles, "AT&Y" and "ATZ" with the
// default profile (26 in all for an International card, 41 for a North American one).
// Returns 0 or kNotFormatted (`commands` unchanged then).
std::int32_t FormatProfiles(const _CARDPROFILES& profiles, std::vector<std::string>& commands);

// "AT%P5=1", the question whether the card accepts BACP.
std::string FormatBacpProbe();

}  // namespace ProfileCommands
