#include "quilanctl/ProfileCodes.h"

namespace quilanctl {

namespace {

// The texts under which the location pages offer the switch types; the alternate location's
// two codes of its own have no text there.
constexpr NamedCode kSwitchTypes[] = {
    {9, "North America (Auto-Detect)"},   {1, "AT&T (5ESS)"},
    {0, "National ISDN-1 (NI-1)"},        {2, "Europe (EuroISDN)"},
    {3, "Australia (TPH1962)"},           {4, "Japan (INS-Net 64)"},
    {255, "Alternate location disabled"}, {254, "Alternate location enabled"},
};

constexpr NamedCode kProtocols[] = {
    {10, "PPP"},
    {11, "V.120"},
    {12, "Multilink PPP"},
};

constexpr NamedCode kAutoSpidLocations[] = {
    {0, "Primary"},
    {1, "Alternate"},
};

}  // namespace

std::span<const NamedCode> SwitchTypes() {
    return kSwitchTypes;
}

std::span<const NamedCode> Protocols() {
    return kProtocols;
}

std::span<const NamedCode> AutoSpidLocations() {
    return kAutoSpidLocations;
}

std::optional<std::string_view> NameOf(std::span<const NamedCode> table, std::int32_t code) {
    for (const NamedCode& entry : table) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    return std::nullopt;
}

std::optional<std::int32_t> CodeOf(std::span<const NamedCode> table, std::string_view name) {
    for (const NamedCode& entry : table) {
        if (entry.name == name) {
            return entry.code;
        }
    }
    return std::nullopt;
}

}  // namespace quilanctl
