// The card on a COM port as the commands reach it, through the same libraries as the applet:
// identification and firmware through CCardInfo, profiles through CComStorage. Each operation
// opens the port, runs one conversation and closes the port again, on any path; a failure
// comes back as the exit code and line that say why.
#pragma once

#include <string>

#include "CardProfiles.h"
#include "IsdnVersionType.h"
#include "SoftwareVer.h"
#include "quilanctl/Failure.h"

namespace quilanctl {

struct CardFirmware {
    _SoftwareVer version{};
    _ISDN_VERSIONTYPE type = VERSIONTYPE_NI1;
};

// "North America" or "International", as the pages name the regions.
const char* RegionName(_ISDN_VERSIONTYPE type);

// Identifies the adapter on `port` ("COM1" ... "COM10") and reads its firmware version and region.
Outcome ProbeCard(const std::string& port, CardFirmware& firmware);

// The profile settings exist only from a firmware level on, as the cards page says.
Outcome CheckHasProfiles(const std::string& port, const CardFirmware& firmware);

// Profiles go only to a card of the region they were made for: the two regions have
// different switch types and registers. `source` names where the profiles come from.
Outcome CheckSameRegion(const std::string& port, const CardFirmware& firmware,
                        const _CARDPROFILES& profiles, const std::string& source);

// The card's profiles, the record cleared first as the profile list page clears it.
Outcome ReadCardProfiles(const std::string& port, _CARDPROFILES& profiles);
Outcome WriteCardProfiles(const std::string& port, const _CARDPROFILES& profiles);

}  // namespace quilanctl
