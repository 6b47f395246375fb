#include "ornaprop/ProfileRules.h"

#include <algorithm>
#include <span>

#include "ornaprop/LocationControls.h"
#include "ornaprop/NumberRules.h"
#include "ornaprop/ProfileFields.h"
#include "ornaprop/ProfileResources.h"
#include "ornaprop/Resources.h"

namespace ornaprop {

namespace {

using namespace location;

constexpr int kProfileCount = 3;
constexpr std::int32_t kMultilinkPpp = 12;

// The codes the lists cannot show have no message of their own: no page can save them.
constexpr char kNotOffered[] = "is not one the pages offer";

std::string Message(std::uint32_t id) {
    std::string text = ThisModule().String(id);
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

bool Offered(std::span<const std::int32_t> codes, std::int32_t code) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

// What a number or SPID field breaks, if anything.
std::optional<std::string> NumberBreak(const char (&field)[kFieldSize]) {
    Scan scan = ScanNumber(FieldText(field));
    if (scan == Scan::Ok) {
        return std::nullopt;
    }
    return Message(scan == Scan::BadCharacter ? kIdsBadNumber : kIdsNumberTooLong);
}

std::optional<std::string> SpidBreak(const char (&field)[kFieldSize]) {
    Scan scan = ScanSpid(FieldText(field));
    if (scan == Scan::Ok) {
        return std::nullopt;
    }
    return Message(scan == Scan::BadCharacter ? kIdsBadSpid : kIdsSpidTooLong);
}

// Collects the first break of one profile, in the pages' order.
class ProfileCheck {
  public:
    ProfileCheck(const _STOREDPROFILE& profile, bool bNorthAmerica)
        : m_profile(profile), m_bNorthAmerica(bNorthAmerica) {}

    std::optional<ProfileRuleBreak> Run() {
        Expect(Offered(kProtocolCodes, m_profile.Protocol), "Protocol", kNotOffered);
        CheckLocation(m_profile.Primary, "Primary.");
        if (m_profile.Alternate.SwitchType != kAlternateDisabled) {
            CheckLocation(m_profile.Alternate, "Alternate.");
        }
        if (m_bNorthAmerica) {
            Expect(m_profile.AutoSpidLocation == 0 || m_profile.AutoSpidLocation == 1,
                   "AutoSpidLocation", kNotOffered);
        }
        return m_break;
    }

  private:
    void Expect(bool bKept, const std::string& field, std::string rule) {
        if (!bKept && !m_break) {
            m_break = ProfileRuleBreak{-1, field, std::move(rule)};
        }
    }
    void Expect(const std::optional<std::string>& broken, const std::string& field) {
        if (broken) {
            Expect(false, field, *broken);
        }
    }

    void CheckLocation(const _PROFILELOCATION& location, const std::string& at) {
        bool bAlternate = at == "Alternate.";
        if (m_bNorthAmerica) {
            Expect(Offered(kNorthAmericaSwitchCodes, location.SwitchType), at + "SwitchType",
                   kNotOffered);
        } else {
            Expect(bAlternate ? location.SwitchType == kAlternateEnabled
                              : Offered(kInternationalSwitchCodes, location.SwitchType),
                   at + "SwitchType", kNotOffered);
        }
        bool bSecondChecked =
            m_profile.Protocol == kMultilinkPpp &&
            !(m_bNorthAmerica ? IsFoldedNorthAmerica(location) : IsFoldedInternational(location));
        Expect(NumberBreak(location.Number1), at + "Number1");
        if (m_bNorthAmerica) {
            Expect(SpidBreak(location.Spid1), at + "Spid1");
            if (bSecondChecked) {
                Expect(location.Number2[0] != '\0' || location.Spid2[0] != '\0' ||
                           location.NoSpid2 != 0,
                       at + "Number2", Message(kIdsSecondNumberEmpty));
                Expect(NumberBreak(location.Number2), at + "Number2");
                Expect(SpidBreak(location.Spid2), at + "Spid2");
            }
            return;
        }
        if (bSecondChecked) {
            Expect(NumberBreak(location.Number2), at + "Number2");
            Expect(location.Number2[0] != '\0' || location.Number1[0] == '\0', at + "Number2",
                   Message(kIdsSecondNumberEmpty));
        }
    }

    const _STOREDPROFILE& m_profile;
    bool m_bNorthAmerica;
    std::optional<ProfileRuleBreak> m_break;
};

}  // namespace

std::optional<ProfileRuleBreak> FirstBrokenRule(const _CARDPROFILES& profiles) {
    bool bNorthAmerica = profiles.NorthAmerica == 1;
    for (int n = 0; n < kProfileCount; ++n) {
        if (std::optional<ProfileRuleBreak> broken =
                ProfileCheck(profiles.Profiles[n], bNorthAmerica).Run()) {
            broken->profile = n;
            return broken;
        }
    }
    if (profiles.DefaultProfile < 0 || profiles.DefaultProfile >= kProfileCount) {
        return ProfileRuleBreak{-1, "DefaultProfile", kNotOffered};
    }
    return std::nullopt;
}

}  // namespace ornaprop
