// The firmware region of an adapter, as its region reply names it.
#pragma once

#include <cstdint>

enum _ISDN_VERSIONTYPE : std::int32_t {
    VERSIONTYPE_EURO = 0,  // "EURO": international firmware
    VERSIONTYPE_NI1 = 1,   // "NI-1": North American firmware; also a slot that never held a card
};

static_assert(sizeof(_ISDN_VERSIONTYPE) == 4);
