// The rules of the profile pages for a whole profile record: what the pages let a user save,
// checked on a record that did not come through them (a profile file for the command line),
// before it is written to a card.
//
// The checks are those of the pages, in their order: the switch type and protocol among those
// the lists offer for the record's region, then for each active location (the primary; the
// alternate unless disabled, 255) the number and SPID rules (NumberRules.h) of the 1st number
// and SPID and, for "Multilink PPP" with the 2nd number in use (not folded onto the 1st), of
// the 2nd, with the empty-2nd-number rule; then the AutoSPID location and the default profile.
// Pure: any thread.
#pragma once

#include <optional>
#include <string>

#include "CardProfiles.h"
#include "platform/sys/Export.h"

namespace ornaprop {

struct ProfileRuleBreak {
    int profile = -1;   // the stored profile 0 to 2; -1 for the record's own fields
    std::string field;  // "Primary.Number1", "Protocol", "DefaultProfile" ...
    std::string rule;   // the pages' message for it (their ERR or WARN text), on one line
};

// The first rule the record breaks, or nothing when the pages would save it as it is.
QUILAN_EXPORT std::optional<ProfileRuleBreak> FirstBrokenRule(const _CARDPROFILES& profiles);

}  // namespace ornaprop
