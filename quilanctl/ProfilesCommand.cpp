#include <iostream>

#include "ornaprop/ProfileRules.h"
#include "quilanctl/CardAccess.h"
#include "quilanctl/Commands.h"
#include "quilanctl/ProfileJson.h"
#include "quilanctl/TextFile.h"

namespace quilanctl {

namespace {

// The card's profiles, from a card whose firmware has them.
Outcome ReadFromCard(const std::string& port, _CARDPROFILES& profiles) {
    CardFirmware firmware;
    if (Outcome failed = ProbeCard(port, firmware)) {
        return failed;
    }
    if (Outcome failed = CheckHasProfiles(port, firmware)) {
        return failed;
    }
    return ReadCardProfiles(port, profiles);
}

Outcome WriteToCard(const std::string& port, const _CARDPROFILES& profiles,
                    const std::string& source) {
    CardFirmware firmware;
    if (Outcome failed = ProbeCard(port, firmware)) {
        return failed;
    }
    if (Outcome failed = CheckHasProfiles(port, firmware)) {
        return failed;
    }
    if (Outcome failed = CheckSameRegion(port, firmware, profiles, source)) {
        return failed;
    }
    return WriteCardProfiles(port, profiles);
}

// Where and what, as a fault of the file's form is told.
std::string RuleBreakText(const ornaprop::ProfileRuleBreak& broken) {
    std::string where = broken.profile < 0
                            ? broken.field
                            : "Profiles[" + std::to_string(broken.profile) + "]." + broken.field;
    return where + ": " + broken.rule;
}

}  // namespace

int RunProfilesGet(const Arguments& arguments) {
    std::string port;
    std::string output;
    if (arguments.size() == 3 && arguments[1] == "-o") {
        output = arguments[2];
    } else if (arguments.size() != 1) {
        return UsageError("profiles get: expected COMn [-o FILE]");
    }
    if (!PortArgument(arguments[0], port)) {
        return UsageError(arguments[0] + ": not a port name (COM1 ... COM10)");
    }
    _CARDPROFILES profiles;
    if (Outcome failed = ReadFromCard(port, profiles)) {
        return Report(*failed);
    }
    std::string text = ProfilesToJson(profiles).dump(4) + "\n";
    if (output.empty()) {
        std::cout << text << std::flush;
    } else if (Outcome failed = WriteTextFile(output, text)) {
        return Report(*failed);
    }
    return kSuccess;
}

int RunProfilesSet(const Arguments& arguments) {
    std::string port;
    if (arguments.size() != 2) {
        return UsageError("profiles set: expected COMn FILE");
    }
    if (!PortArgument(arguments[0], port)) {
        return UsageError(arguments[0] + ": not a port name (COM1 ... COM10)");
    }
    const std::string& file = arguments[1];
    std::string text;
    if (Outcome failed = ReadTextFile(file, text)) {
        return Report(*failed);
    }
    _CARDPROFILES profiles;
    if (std::optional<std::string> fault = ProfilesFromJson(text, profiles)) {
        return Report({kRefused, file + ": " + *fault});
    }
    if (std::optional<ornaprop::ProfileRuleBreak> broken = ornaprop::FirstBrokenRule(profiles)) {
        return Report({kRefused, file + ": " + RuleBreakText(*broken)});
    }
    if (Outcome failed = WriteToCard(port, profiles, file)) {
        return Report(*failed);
    }
    return kSuccess;
}

}  // namespace quilanctl
