// The profile file: what a card holds survives the way through JSON byte for byte, and each
// kind of bad file is refused with one line that says where and what.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "quilanctl/ProfileJson.h"
#include "tests/quilanctl/SampleProfiles.h"

namespace {

using quilanctl::ProfilesFromJson;
using quilanctl::ProfilesToJson;
using Json = nlohmann::ordered_json;

class RoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(RoundTrip, GivesTheSameBytes) {
    _CARDPROFILES original = SampleProfiles(GetParam());
    std::string text = ProfilesToJson(original).dump(4);
    _CARDPROFILES back;
    std::memset(&back, 0xA5, sizeof back);
    ASSERT_EQ(ProfilesFromJson(text, back), std::nullopt) << text;
    EXPECT_EQ(std::memcmp(&original, &back, sizeof original), 0);
}

INSTANTIATE_TEST_SUITE_P(Regions, RoundTrip, ::testing::Bool(), [](const auto& info) {
    return std::string(info.param ? "NorthAmerica" : "International");
});

TEST(ProfileFile, NamesTheCodesAndLeavesOutWhatTheRegionLacks) {
    Json json = ProfilesToJson(SampleProfiles(false));
    EXPECT_EQ(json["Region"], "International");
    const Json& profile = json["Profiles"][1];
    EXPECT_EQ(profile["Protocol"], Json({{"Code", 11}, {"Name", "V.120"}}));
    EXPECT_EQ(profile["Primary"]["SwitchType"]["Name"], "Australia (TPH1962)");
    EXPECT_EQ(profile["DataOverVoice"], true);
    EXPECT_FALSE(profile.contains("AutoSpidLocation"));
    EXPECT_FALSE(profile["Primary"].contains("Spid1"));
    EXPECT_FALSE(profile["Alternate"].contains("NoSpid2"));
}

TEST(ProfileFile, KeepsEightBitTextAsItsCodePoints) {
    _CARDPROFILES original = SampleProfiles(true);
    SetText(original.Profiles[0].Primary.Number3, "\xE9\xFF");
    Json json = ProfilesToJson(original);
    EXPECT_EQ(json["Profiles"][0]["Primary"]["Number3"], "\u00E9\u00FF");
    _CARDPROFILES back;
    ASSERT_EQ(ProfilesFromJson(json.dump(), back), std::nullopt);
    EXPECT_EQ(std::memcmp(&original, &back, sizeof original), 0);
}

TEST(ProfileFile, CodedFieldTakesItsCodeOrItsName) {
    Json json = ProfilesToJson(SampleProfiles(true));
    json["Profiles"][0]["Protocol"] = {{"Name", "Multilink PPP"}};
    json["Profiles"][1]["Primary"]["SwitchType"] = {{"Code", 9}};
    _CARDPROFILES back;
    ASSERT_EQ(ProfilesFromJson(json.dump(), back), std::nullopt);
    EXPECT_EQ(back.Profiles[0].Protocol, 12);
    EXPECT_EQ(back.Profiles[1].Primary.SwitchType, 9);
}

struct BadFile {
    const char* name;
    std::function<void(Json&)> spoil;  // on a good North American file
    const char* fault;
};

void PrintTo(const BadFile& bad, std::ostream* out) {
    *out << bad.name;
}

class BadFileTest : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFileTest, IsRefusedWithWhereAndWhat) {
    Json json = ProfilesToJson(SampleProfiles(true));
    GetParam().spoil(json);
    _CARDPROFILES profiles;
    std::optional<std::string> fault = ProfilesFromJson(json.dump(), profiles);
    ASSERT_TRUE(fault.has_value());
    EXPECT_EQ(*fault, GetParam().fault);
}

Json& Primary(Json& json, int n = 0) {
    return json["Profiles"][n]["Primary"];
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, BadFileTest,
    ::testing::Values(
        BadFile{"not_an_object", [](Json& j) { j = Json::array(); },
                "the file: must be an object, not a list"},
        BadFile{"missing_region", [](Json& j) { j.erase("Region"); },
                "the file: the field \"Region\" is missing"},
        BadFile{"unknown_region", [](Json& j) { j["Region"] = "Europe"; },
                "Region: must be \"North America\" or \"International\", not \"Europe\""},
        BadFile{"two_profiles", [](Json& j) { j["Profiles"].erase(2); },
                "Profiles: must be a list of 3 profiles, not 2 profiles"},
        BadFile{"profiles_not_a_list", [](Json& j) { j["Profiles"] = 3; },
                "Profiles: must be a list of 3 profiles, not an integer"},
        BadFile{"default_out_of_range", [](Json& j) { j["DefaultProfile"] = 3; },
                "DefaultProfile: must be from 0 to 2, not 3"},
        BadFile{"default_a_string", [](Json& j) { j["DefaultProfile"] = "0"; },
                "DefaultProfile: must be an integer, not a string"},
        BadFile{"missing_number", [](Json& j) { Primary(j, 1).erase("Number2"); },
                "Profiles[1].Primary: the field \"Number2\" is missing"},
        BadFile{"unknown_field", [](Json& j) { j["Profiles"][2]["Speed"] = 64000; },
                "Profiles[2]: unknown field \"Speed\""},
        BadFile{"spid_on_international",
                [](Json& j) {
                    j = ProfilesToJson(SampleProfiles(false));
                    Primary(j)["Spid1"] = "0155";
                },
                "Profiles[0].Primary: unknown field \"Spid1\""},
        BadFile{"number_not_a_string", [](Json& j) { Primary(j)["Number1"] = 5550100; },
                "Profiles[0].Primary.Number1: must be a string, not an integer"},
        BadFile{"number_too_long", [](Json& j) { Primary(j)["Number3"] = std::string(100, '1'); },
                "Profiles[0].Primary.Number3: is longer than 99 characters"},
        BadFile{"character_beyond_8_bits", [](Json& j) { Primary(j)["Number3"] = "\u20AC"; },
                "Profiles[0].Primary.Number3: holds a character the card cannot store"},
        BadFile{"switch_not_boolean", [](Json& j) { j["Profiles"][0]["Bacp"] = 1; },
                "Profiles[0].Bacp: must be true or false, not an integer"},
        BadFile{"interval_above_16_bits",
                [](Json& j) { j["Profiles"][0]["BillingInterval"] = 65536; },
                "Profiles[0].BillingInterval: must be from 0 to 65535, not 65536"},
        BadFile{"interval_negative",
                [](Json& j) { j["Profiles"][0]["InitialBillingInterval"] = -1; },
                "Profiles[0].InitialBillingInterval: must be from 0 to 65535, not -1"},
        BadFile{"interval_a_fraction",
                [](Json& j) { j["Profiles"][0]["InitialBillingInterval"] = 1.5; },
                "Profiles[0].InitialBillingInterval: must be an integer, not a number"},
        BadFile{"unknown_switch_code",
                [](Json& j) {
                    Primary(j)["SwitchType"] = {{"Code", 7}};
                },
                "Profiles[0].Primary.SwitchType.Code: unknown switch type 7"},
        BadFile{"unknown_switch_name",
                [](Json& j) {
                    Primary(j)["SwitchType"] = {{"Name", "DMS-100"}};
                },
                "Profiles[0].Primary.SwitchType.Name: unknown switch type \"DMS-100\""},
        BadFile{"unknown_protocol",
                [](Json& j) {
                    j["Profiles"][1]["Protocol"] = {{"Code", 13}};
                },
                "Profiles[1].Protocol.Code: unknown protocol 13"},
        BadFile{"code_and_name_disagree",
                [](Json& j) {
                    j["Profiles"][1]["Protocol"] = {{"Code", 10}, {"Name", "V.120"}};
                },
                "Profiles[1].Protocol: the code 10 and the name \"V.120\" disagree"},
        BadFile{"coded_field_empty", [](Json& j) { j["Profiles"][1]["Protocol"] = Json::object(); },
                "Profiles[1].Protocol: needs its \"Code\" or its \"Name\""},
        BadFile{"coded_field_a_number", [](Json& j) { j["Profiles"][1]["Protocol"] = 10; },
                "Profiles[1].Protocol: must be an object, not an integer"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileFile, TextThatIsNotJsonSaysWhere) {
    _CARDPROFILES profiles;
    std::optional<std::string> fault = ProfilesFromJson("{\n  \"Region\": \n}", profiles);
    ASSERT_TRUE(fault.has_value());
    EXPECT_TRUE(fault->starts_with("not JSON: parse error at line 3, column 1")) << *fault;
}

}  // namespace
