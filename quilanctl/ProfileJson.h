// The profile file: a card's three stored profiles and its default profile as JSON, with the
// record's field names and the coded fields by code and name:
//
//   { "Region": "North America",          (or "International": the card's firmware region)
//     "DefaultProfile": 0,
//     "Profiles": [                       (exactly three: stored profiles 0, 1, 2)
//       { "Protocol": { "Code": 10, "Name": "PPP" },
//         "DataOverVoice": false, "Bacp": false,
//         "AutoSpidLocation": { "Code": 0, "Name": "Primary" },      (North America only)
//         "InitialBillingInterval": 60, "BillingInterval": 60,
//         "Primary": LOCATION, "Alternate": LOCATION }, ... ] }
//
//   LOCATION: { "SwitchType": { "Code": 9, "Name": "North America (Auto-Detect)" },
//               "Number1": "", "Number3": "", "Spid1": "", "NoSpid1": false,
//               "Number2": "", "Number4": "", "Spid2": "", "NoSpid2": false }
//               (the SPID fields on North America only)
//
// A coded field may give its code, its name or both (which must agree). Texts are the record's
// 8-bit characters, one code point each. Reading is strict: a missing, unknown or mistyped
// field, an unknown code or name, or a value that does not fit its field is a fault. What the
// pages require beyond that is checked elsewhere. Pure functions, any thread.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

#include "CardProfiles.h"

namespace quilanctl {

nlohmann::ordered_json ProfilesToJson(const _CARDPROFILES& profiles);

// Fills the whole record (NorthAmerica from "Region") from the text of a profile file. On a
// fault the record is left in an unspecified state and the fault comes back as one line:
// where it is ("Profiles[1].Alternate.Number2") and what is wrong.
std::optional<std::string> ProfilesFromJson(std::string_view text, _CARDPROFILES& profiles);

}  // namespace quilanctl
