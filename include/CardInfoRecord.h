// One slot of the shared card list.
#pragma once

#include <cstddef>
#include <cstdint>

#include "IsdnVersionType.h"
#include "SoftwareVer.h"

struct _CardInfo {
    char szPort[260];               // "COM1" ... "COM10"
    std::int32_t nConfigFlag;       // set by SetCardConfigFlag; 0 after a removal
    std::int32_t nInserted;         // 1 while a supported adapter answers on the port
    _SoftwareVer SoftwareVer;       // firmware version last read from the card
    _ISDN_VERSIONTYPE VersionType;  // firmware region last read from the card
};

// The record lives in memory shared between processes: its layout is fixed.
static_assert(sizeof(_CardInfo) == 680);
static_assert(offsetof(_CardInfo, szPort) == 0);
static_assert(offsetof(_CardInfo, nConfigFlag) == 260);
static_assert(offsetof(_CardInfo, nInserted) == 264);
static_assert(offsetof(_CardInfo, SoftwareVer) == 268);
static_assert(offsetof(_CardInfo, VersionType) == 676);
