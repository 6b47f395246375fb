// The pages' rules on whole records: what a location page would refuse to save is found, first
// break first and named by profile and field; what it would save passes.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "ornaprop/ProfileRules.h"
#include "tests/quilanctl/SampleProfiles.h"

namespace {

using ornaprop::FirstBrokenRule;
using ornaprop::ProfileRuleBreak;

constexpr char kBadNumber[] =
    "ERR0007 : Invalid ISDN Number configured. Please enter digits in the range 0 - 9, '#' or "
    "'*'.";
constexpr char kNumberTooLong[] =
    "ERR0019 : Value entered for the ISDN Number is too long. Maximum length of the ISDN Number "
    "is 20 characters.";
constexpr char kBadSpid[] =
    "ERR0008 : Invalid SPID configured. Please enter digits in the range 0 - 9.";
constexpr char kSpidTooLong[] =
    "ERR0020 : Value entered for the SPID is too long. Maximum length of the SPID is 20 digits.";
constexpr char kSecondEmpty[] =
    "WARN009 : Please enter a second telephone/SPID number if you have one and if not disable the "
    "check \"Enable 2nd Number\".";
constexpr char kNotOffered[] = "is not one the pages offer";

struct RuleCase {
    const char* name;
    bool bNorthAmerica;
    std::function<void(_CARDPROFILES&)> change;  // on the sample profiles of the region
    int profile;                                 // -2: the record passes
    const char* field;
    const char* rule;
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.name;
}

class ProfileRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ProfileRules, FindTheFirstBreakOrNone) {
    _CARDPROFILES profiles = SampleProfiles(GetParam().bNorthAmerica);
    GetParam().change(profiles);
    std::optional<ProfileRuleBreak> broken = FirstBrokenRule(profiles);
    if (GetParam().profile == -2) {
        EXPECT_FALSE(broken.has_value()) << broken->field << ": " << broken->rule;
        return;
    }
    ASSERT_TRUE(broken.has_value());
    EXPECT_EQ(broken->profile, GetParam().profile);
    EXPECT_EQ(broken->field, GetParam().field);
    EXPECT_EQ(broken->rule, GetParam().rule);
}

_STOREDPROFILE& P(_CARDPROFILES& profiles, int n) {
    return profiles.Profiles[n];
}

// Profile 2 of the samples is Multilink PPP with a 2nd number of its own on the primary
// location; profile 0 is PPP; the alternate locations repeat their 1st number.
INSTANTIATE_TEST_SUITE_P(
    Cases, ProfileRules,
    ::testing::Values(
        RuleCase{"north_america_sample", true, [](_CARDPROFILES&) {}, -2, "", ""},
        RuleCase{"international_sample", false, [](_CARDPROFILES&) {}, -2, "", ""},
        RuleCase{"number_with_a_dash", true,
                 [](_CARDPROFILES& p) { SetText(P(p, 1).Primary.Number1, "555-0101"); }, 1,
                 "Primary.Number1", kBadNumber},
        RuleCase{
            "digits_stars_hashes_and_blanks", true,
            [](_CARDPROFILES& p) { SetText(P(p, 1).Primary.Number1, "*7 #1 2345678901 234567"); },
            -2, "", ""},
        RuleCase{
            "twenty_one_digits", false,
            [](_CARDPROFILES& p) { SetText(P(p, 0).Primary.Number1, "123456789012345678901"); }, 0,
            "Primary.Number1", kNumberTooLong},
        RuleCase{"spid_with_a_letter", true,
                 [](_CARDPROFILES& p) { SetText(P(p, 0).Primary.Spid1, "0155A"); }, 0,
                 "Primary.Spid1", kBadSpid},
        RuleCase{"spid_of_twenty_one_digits", true,
                 [](_CARDPROFILES& p) { SetText(P(p, 2).Primary.Spid2, "123456789012345678901"); },
                 2, "Primary.Spid2", kSpidTooLong},
        RuleCase{"bad_number_before_bad_spid", true,
                 [](_CARDPROFILES& p) {
                     SetText(P(p, 0).Primary.Number1, "(555)");
                     SetText(P(p, 0).Primary.Spid1, "x");
                 },
                 0, "Primary.Number1", kBadNumber},
        RuleCase{"second_number_unchecked_without_multilink", true,
                 [](_CARDPROFILES& p) {
                     SetText(P(p, 0).Primary.Number2, "not checked");
                     SetText(P(p, 0).Primary.Spid2, "nor this");
                 },
                 -2, "", ""},
        RuleCase{"second_number_checked_with_multilink", true,
                 [](_CARDPROFILES& p) { SetText(P(p, 2).Primary.Number2, "+1 555"); }, 2,
                 "Primary.Number2", kBadNumber},
        RuleCase{"empty_second_number_with_spid_box", true,
                 [](_CARDPROFILES& p) {
                     SetText(P(p, 2).Primary.Number2, "");
                     SetText(P(p, 2).Primary.Spid2, "");
                 },
                 2, "Primary.Number2", kSecondEmpty},
        RuleCase{"empty_second_number_without_spid_box", true,
                 [](_CARDPROFILES& p) {
                     SetText(P(p, 2).Primary.Number2, "");
                     SetText(P(p, 2).Primary.Spid2, "");
                     P(p, 2).Primary.NoSpid2 = 1;
                 },
                 -2, "", ""},
        RuleCase{"international_empty_second_number", false,
                 [](_CARDPROFILES& p) { SetText(P(p, 2).Primary.Number2, ""); }, 2,
                 "Primary.Number2", kSecondEmpty},
        RuleCase{"international_both_numbers_empty", false,
                 [](_CARDPROFILES& p) {
                     SetText(P(p, 2).Primary.Number1, "");
                     SetText(P(p, 2).Primary.Number2, "");
                 },
                 -2, "", ""},
        RuleCase{"disabled_alternate_unchecked", true,
                 [](_CARDPROFILES& p) { SetText(P(p, 0).Alternate.Number1, "anything"); }, -2, "",
                 ""},
        RuleCase{"enabled_alternate_checked", false,
                 [](_CARDPROFILES& p) { SetText(P(p, 1).Alternate.Number1, "555 O1"); }, 1,
                 "Alternate.Number1", kBadNumber},
        RuleCase{"switch_type_of_the_other_region", true,
                 [](_CARDPROFILES& p) { P(p, 1).Primary.SwitchType = 2; }, 1, "Primary.SwitchType",
                 kNotOffered},
        RuleCase{"international_alternate_with_a_switch_type", false,
                 [](_CARDPROFILES& p) { P(p, 1).Alternate.SwitchType = 3; }, 1,
                 "Alternate.SwitchType", kNotOffered},
        RuleCase{"no_protocol", true, [](_CARDPROFILES& p) { P(p, 1).Protocol = 0; }, 1, "Protocol",
                 kNotOffered},
        RuleCase{"autospid_location", true, [](_CARDPROFILES& p) { P(p, 0).AutoSpidLocation = 2; },
                 0, "AutoSpidLocation", kNotOffered},
        RuleCase{"default_profile", true, [](_CARDPROFILES& p) { p.DefaultProfile = 3; }, -1,
                 "DefaultProfile", kNotOffered}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
