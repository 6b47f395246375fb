// Stored-profile listings as a Quilan card prints them, and the record each one stands for.
//
// Profile n of the sample card holds values that differ per profile and per field, so a value
// landing in the wrong field, profile or location shows.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "CardProfiles.h"

namespace cardlisting {

using Registers = std::vector<std::pair<std::string, std::string>>;  // token, value

// The registers of sample profile n in the card's own order; North-America-only ones only
// when `northAmerica`.
Registers SampleRegisters(int n, bool northAmerica);

// "tok=value" pairs, `perLine` to a line, each line ending in a carriage return and line feed.
std::string Lines(const Registers& registers, int perLine = 6);

// A whole "AT&V" reply: echo, an active profile that must never be read, the three stored
// sections, the telephone numbers and "OK". The active part and the numbers carry "&Y2".
std::string Listing(const std::string& section0, const std::string& section1,
                    const std::string& section2);
std::string SampleListing(bool northAmerica);

// The record that sample profile n fills (North-America-only fields zero when not `northAmerica`).
_STOREDPROFILE SampleProfile(int n, bool northAmerica);

// Field by field, texts up to their NUL; the failure names the first field that differs.
::testing::AssertionResult SameProfile(const _STOREDPROFILE& got, const _STOREDPROFILE& want);

// A "AT>VC" reply naming `defaultProfile` after "&Y".
std::string Report(int defaultProfile);

// "ATI4" replies.
std::string VersionReply(bool northAmerica);

}  // namespace cardlisting
