// What the two location pages share: the control ids of their dialogs (140 and 145; the SPID
// controls exist only in 140), the switch type and protocol lists' codes, and how a list shows
// a record code. The profile rules (ProfileRules.h) check records against the same lists.
#pragma once

#include <cstdint>
#include <span>

namespace ornaprop::location {

inline constexpr int kAltEnabled = 1082;   // "&Enable Alternate Location:", alternate page
inline constexpr int kPrimaryText = 1084;  // in its place on the primary page
inline constexpr int kSwitchLabel = 1083;
inline constexpr int kSwitchType = 1045;
inline constexpr int kProtocolLabel = 1080;
inline constexpr int kProtocol = 1048;
inline constexpr int kFirstGroup = 1074;
inline constexpr int kNumber1Label = 1078;
inline constexpr int kNumber1 = 1056;
inline constexpr int kSpid1Box = 1101;
inline constexpr int kSpid1 = 1073;
inline constexpr int kSecondGroup = 1075;
inline constexpr int kSecondNumber = 1098;  // "Ena&ble 2nd Number"
inline constexpr int kNumber2Label = 1076;
inline constexpr int kNumber2 = 1061;
inline constexpr int kSpid2Box = 1102;
inline constexpr int kSpid2 = 1016;

inline constexpr std::int32_t kAlternateDisabled = 255;
inline constexpr std::int32_t kAlternateEnabled = 254;  // international: no switch type of its own

// The switch type lists: North America "North America (Auto-Detect)", "AT&T (5ESS)",
// "National ISDN-1 (NI-1)"; International "Europe (EuroISDN)", "Australia (TPH1962)", "Japan
// (INS-Net 64)".
inline constexpr std::int32_t kNorthAmericaSwitchCodes[] = {9, 1, 0};
inline constexpr std::int32_t kInternationalSwitchCodes[] = {2, 3, 4};

// A record code and the list entry that shows it.
struct ShownCode {
    std::int32_t code;
    int entry;
};

// The entry showing `code`, or `otherwise` for a code the table does not name.
inline int EntryShowing(std::int32_t code, std::span<const ShownCode> shown, int otherwise) {
    for (const ShownCode& row : shown) {
        if (row.code == code) {
            return row.entry;
        }
    }
    return otherwise;
}

// The code behind a list's selected `entry`; false for no (or no such) entry.
inline bool CodeOfEntry(std::span<const std::int32_t> codes, int entry, std::int32_t& code) {
    if (entry < 0 || entry >= static_cast<int>(codes.size())) {
        return false;
    }
    code = codes[static_cast<std::size_t>(entry)];
    return true;
}

// The protocol list: "PPP", "V.120", "Multilink PPP"; any other code shows "PPP".
inline constexpr std::int32_t kProtocolCodes[] = {10, 11, 12};
inline constexpr ShownCode kProtocolShown[] = {{10, 0}, {11, 1}, {12, 2}};
inline constexpr int kMultilinkEntry = 2;

inline int ProtocolEntry(std::int32_t code) {
    return EntryShowing(code, kProtocolShown, 0);
}

}  // namespace ornaprop::location
