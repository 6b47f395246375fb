// The card's own memory: the firmware's version and type texts, the three stored profiles, the
// default profile, and the active configuration; with the register table that checks every
// value the AT dialect accepts. Plain data, owned by the adapter and guarded by its lock.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CardProfiles.h"
#include "tools/tasim/Adapter.h"

namespace tasim {

// Register name ("!C1", "!O", "%P5", ...) to its value text.
using Registers = std::map<std::string, std::string>;

struct RegisterInfo {
    enum Kind {
        Switch,
        AlternateSwitch,
        Number,
        Spid,
        Flag,
        DataOverVoice,
        Bacp,
        Interval,
        Protocol
    };
    const char* name;
    Kind kind;
    bool northAmericaOnly;
};

// The registers the firmware knows, in the order of the register commands.
const std::vector<RegisterInfo>& RegisterTable();
// Nothing when the firmware of `region` has no such register (names compared ignoring case).
const RegisterInfo* FindRegister(std::string_view name, Region region);
// The value as the card stores it (decimal values canonical), or nothing when it is malformed
// or out of range for the register.
std::optional<std::string> CheckValue(const RegisterInfo& info, std::string_view value,
                                      bool bacpSupported);

// The "ISDN(" text names the variant: "NI-1" is North America, anything else International.
Region RegionOf(std::string_view isdnText);
std::string DefaultIsdnText(Region region);

struct CardState {
    std::string version;
    std::string isdn;
    std::array<Registers, 3> stored;
    int defaultProfile = 0;
    Registers active;

    Region GetRegion() const { return RegionOf(isdn); }
    // New firmware: factory profiles, default profile 0, the active configuration from it.
    void ResetToFactory();
};

Registers FactoryProfile(Region region, int n);

// The record fields behind the registers, converted as the profile reader converts them.
_STOREDPROFILE ToRecord(const Registers& registers, Region region);
// The registers behind the record fields, converted as the profile writer converts them; a
// protocol value outside 10 to 12 keeps the register as it was.
void ApplyRecord(const _STOREDPROFILE& record, Region region, Registers& registers);

// The state file keeps firmware texts, stored profiles and default profile. Load: false when
// the file is absent or unreadable (the state is then left as it was). Save replaces the file
// atomically.
bool LoadState(const std::filesystem::path& file, CardState& state);
bool SaveState(const std::filesystem::path& file, const CardState& state);

}  // namespace tasim
