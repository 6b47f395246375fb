// A firmware version as the adapter's version reply gives it: "V3.10.05".
#pragma once

#include <cstddef>
#include <cstdint>

struct _SoftwareVer {
    std::int32_t nMajor;      // number after the "V"
    std::int32_t nMinor;      // number after the first full stop
    char szBuild[100];        // after the second full stop to the line end; may be empty
    char szVersionText[300];  // everything after the "V" to the line end
};

// The record crosses library boundaries by value: its layout is fixed.
static_assert(sizeof(_SoftwareVer) == 408);
static_assert(offsetof(_SoftwareVer, nMajor) == 0);
static_assert(offsetof(_SoftwareVer, nMinor) == 4);
static_assert(offsetof(_SoftwareVer, szBuild) == 8);
static_assert(offsetof(_SoftwareVer, szVersionText) == 108);
