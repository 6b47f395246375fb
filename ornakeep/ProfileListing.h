// The card's stored-profile listing ("AT&V") and configuration report ("AT>VC") as pure text.
//
// No state and no card: each function reads the text it is given and fills the record it is
// given, field by field in table order, so a failure leaves the fields stored before it.
#pragma once

#include <cstdint>
#include <string_view>

#include "CardProfiles.h"

namespace ProfileListing {

enum : std::int32_t {
    kReadFailed = 2006,   // a marker missing, a section empty, or its registers unreadable
    kTokenFailed = 3001,  // a token missing, or an unrecognised "%A2=" value
};

// The signed decimal at the start of `value` (optional sign, then digits); 0 without digits.
// Digits beyond 32 bits wrap around, two's complement.
std::int32_t Decimal(std::string_view value);

// Applies the register table to one profile's section. Rows valid only on North American
// cards are read only when `northAmerica` is exactly 1. Returns 0 or kTokenFailed.
std::int32_t ParseRegisters(std::string_view section, _STOREDPROFILE& profile,
                            std::int32_t northAmerica);

// Cuts the section of stored profile `n` (0 to 2) out of the listing and parses it.
// Returns 0 or kReadFailed.
std::int32_t ParseStoredProfile(int n, std::string_view listing, _STOREDPROFILE& profile,
                                std::int32_t northAmerica);

// Reads the number after the first "&Y" of the report into DefaultProfile.
// Returns 0 or kTokenFailed.
std::int32_t ParseDefaultProfile(std::string_view report, _CARDPROFILES& profiles);

}  // namespace ProfileListing
