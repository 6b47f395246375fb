#include "quilanctl/ProfileJson.h"

#include <cstring>
#include <initializer_list>
#include <limits>
#include <span>

#include "quilanctl/ProfileCodes.h"

namespace quilanctl {

namespace {

using Json = nlohmann::json;
using OrderedJson = nlohmann::ordered_json;

constexpr char kNorthAmerica[] = "North America";
constexpr char kInternational[] = "International";
constexpr std::size_t kProfileCount = 3;
constexpr std::size_t kTextField = sizeof(_PROFILELOCATION::Number1);

// Thrown inside this file only: the first fault ends the reading.
struct Fault {
    std::string where;
    std::string what;
};

// Texts: each byte of the record is the code point of the same value.
std::string ToUtf8(const char* field, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size && field[i] != '\0'; ++i) {
        auto byte = static_cast<unsigned char>(field[i]);
        if (byte < 0x80) {
            text += static_cast<char>(byte);
        } else {
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

// Nothing for a code point above 255 (nlohmann's parser has already refused bad UTF-8).
std::optional<std::string> FromUtf8(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            bytes += static_cast<char>(lead);
        } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < text.size()) {
            bytes += static_cast<char>(((lead & 0x03) << 6) | (text[++i] & 0x3F));
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

OrderedJson Coded(std::span<const NamedCode> table, std::int32_t code) {
    std::optional<std::string_view> name = NameOf(table, code);
    OrderedJson value = {{"Code", code}};
    value["Name"] = name ? OrderedJson(std::string(*name)) : OrderedJson(nullptr);
    return value;
}

// A switch field of the record: booleans for 0 and 1, any other value as it stands.
OrderedJson Switch(std::int32_t value) {
    return value == 0 || value == 1 ? OrderedJson(value == 1) : OrderedJson(value);
}

OrderedJson LocationToJson(const _PROFILELOCATION& location, bool bNorthAmerica) {
    OrderedJson json;
    json["SwitchType"] = Coded(SwitchTypes(), location.SwitchType);
    json["Number1"] = ToUtf8(location.Number1, kTextField);
    json["Number3"] = ToUtf8(location.Number3, kTextField);
    if (bNorthAmerica) {
        json["Spid1"] = ToUtf8(location.Spid1, kTextField);
        json["NoSpid1"] = Switch(location.NoSpid1);
    }
    json["Number2"] = ToUtf8(location.Number2, kTextField);
    json["Number4"] = ToUtf8(location.Number4, kTextField);
    if (bNorthAmerica) {
        json["Spid2"] = ToUtf8(location.Spid2, kTextField);
        json["NoSpid2"] = Switch(location.NoSpid2);
    }
    return json;
}

OrderedJson ProfileToJson(const _STOREDPROFILE& profile, bool bNorthAmerica) {
    OrderedJson json;
    json["Protocol"] = Coded(Protocols(), profile.Protocol);
    json["DataOverVoice"] = Switch(profile.DataOverVoice);
    json["Bacp"] = Switch(profile.Bacp);
    if (bNorthAmerica) {
        json["AutoSpidLocation"] = Coded(AutoSpidLocations(), profile.AutoSpidLocation);
    }
    json["InitialBillingInterval"] = profile.InitialBillingInterval;
    json["BillingInterval"] = profile.BillingInterval;
    json["Primary"] = LocationToJson(profile.Primary, bNorthAmerica);
    json["Alternate"] = LocationToJson(profile.Alternate, bNorthAmerica);
    return json;
}

// Reading: each function gets the value and where it stands.

std::string TypeName(const Json& value) {
    switch (value.type()) {
        case Json::value_t::null:
            return "null";
        case Json::value_t::boolean:
            return "a boolean";
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned:
            return "an integer";
        case Json::value_t::string:
            return "a string";
        case Json::value_t::array:
            return "a list";
        case Json::value_t::object:
            return "an object";
        default:
            return "a number";
    }
}

const Json& Member(const Json& object, const std::string& where, const char* name) {
    auto found = object.find(name);
    if (found == object.end()) {
        throw Fault{where, std::string("the field \"") + name + "\" is missing"};
    }
    return *found;
}

void ObjectWithOnly(const Json& value, const std::string& where,
                    std::initializer_list<const char*> names) {
    if (!value.is_object()) {
        throw Fault{where, "must be an object, not " + TypeName(value)};
    }
    for (const auto& [key, member] : value.items()) {
        bool bKnown = false;
        for (const char* name : names) {
            bKnown = bKnown || key == name;
        }
        if (!bKnown) {
            throw Fault{where, "unknown field \"" + key + "\""};
        }
    }
}

std::int64_t Integer(const Json& value, const std::string& where, std::int64_t lowest,
                     std::int64_t highest) {
    if (!value.is_number_integer()) {
        throw Fault{where, "must be an integer, not " + TypeName(value)};
    }
    // Unsigned values above the signed range are out of range as well.
    if (value.is_number_unsigned() &&
        value.get<std::uint64_t>() > static_cast<std::uint64_t>(highest)) {
        throw Fault{where, "must be from " + std::to_string(lowest) + " to " +
                               std::to_string(highest) + ", not " + value.dump()};
    }
    std::int64_t number = value.get<std::int64_t>();
    if (number < lowest || number > highest) {
        throw Fault{where, "must be from " + std::to_string(lowest) + " to " +
                               std::to_string(highest) + ", not " + std::to_string(number)};
    }
    return number;
}

std::int32_t Boolean(const Json& value, const std::string& where) {
    if (!value.is_boolean()) {
        throw Fault{where, "must be true or false, not " + TypeName(value)};
    }
    return value.get<bool>() ? 1 : 0;
}

void Text(const Json& value, const std::string& where, char (&field)[kTextField]) {
    if (!value.is_string()) {
        throw Fault{where, "must be a string, not " + TypeName(value)};
    }
    std::optional<std::string> bytes = FromUtf8(value.get<std::string>());
    if (!bytes) {
        throw Fault{where, "holds a character the card cannot store"};
    }
    if (bytes->find('\0') != std::string::npos) {
        throw Fault{where, "holds a NUL character"};
    }
    if (bytes->size() >= kTextField) {
        throw Fault{where, "is longer than " + std::to_string(kTextField - 1) + " characters"};
    }
    std::memcpy(field, bytes->data(), bytes->size());
    field[bytes->size()] = '\0';
}

std::int32_t CodedValue(const Json& value, const std::string& where,
                        std::span<const NamedCode> table, const char* what) {
    ObjectWithOnly(value, where, {"Code", "Name"});
    bool bCode = value.contains("Code");
    bool bName = value.contains("Name");
    if (!bCode && !bName) {
        throw Fault{where, "needs its \"Code\" or its \"Name\""};
    }
    std::optional<std::int32_t> byCode;
    if (bCode) {
        auto code = static_cast<std::int32_t>(Integer(value.at("Code"), where + ".Code",
                                                      std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max()));
        if (!NameOf(table, code)) {
            throw Fault{where + ".Code",
                        std::string("unknown ") + what + " " + std::to_string(code)};
        }
        byCode = code;
    }
    if (!bName) {
        return *byCode;
    }
    const Json& name = value.at("Name");
    if (!name.is_string()) {
        throw Fault{where + ".Name", "must be a string, not " + TypeName(name)};
    }
    std::optional<std::int32_t> byName = CodeOf(table, name.get<std::string>());
    if (!byName) {
        throw Fault{where + ".Name", std::string("unknown ") + what + " " + name.dump()};
    }
    if (byCode && *byCode != *byName) {
        throw Fault{where, "the code " + std::to_string(*byCode) + " and the name " + name.dump() +
                               " disagree"};
    }
    return *byName;
}

void LocationFromJson(const Json& json, const std::string& where, bool bNorthAmerica,
                      _PROFILELOCATION& location) {
    if (bNorthAmerica) {
        ObjectWithOnly(json, where,
                       {"SwitchType", "Number1", "Number3", "Spid1", "NoSpid1", "Number2",
                        "Number4", "Spid2", "NoSpid2"});
    } else {
        ObjectWithOnly(json, where, {"SwitchType", "Number1", "Number3", "Number2", "Number4"});
    }
    auto field = [&](const char* name) -> const Json& { return Member(json, where, name); };
    auto at = [&](const char* name) { return where + "." + name; };
    location.SwitchType =
        CodedValue(field("SwitchType"), at("SwitchType"), SwitchTypes(), "switch type");
    Text(field("Number1"), at("Number1"), location.Number1);
    Text(field("Number3"), at("Number3"), location.Number3);
    Text(field("Number2"), at("Number2"), location.Number2);
    Text(field("Number4"), at("Number4"), location.Number4);
    if (bNorthAmerica) {
        Text(field("Spid1"), at("Spid1"), location.Spid1);
        Text(field("Spid2"), at("Spid2"), location.Spid2);
        location.NoSpid1 = Boolean(field("NoSpid1"), at("NoSpid1"));
        location.NoSpid2 = Boolean(field("NoSpid2"), at("NoSpid2"));
    }
}

void ProfileFromJson(const Json& json, const std::string& where, bool bNorthAmerica,
                     _STOREDPROFILE& profile) {
    if (bNorthAmerica) {
        ObjectWithOnly(json, where,
                       {"Protocol", "DataOverVoice", "Bacp", "AutoSpidLocation",
                        "InitialBillingInterval", "BillingInterval", "Primary", "Alternate"});
    } else {
        ObjectWithOnly(json, where,
                       {"Protocol", "DataOverVoice", "Bacp", "InitialBillingInterval",
                        "BillingInterval", "Primary", "Alternate"});
    }
    auto field = [&](const char* name) -> const Json& { return Member(json, where, name); };
    auto at = [&](const char* name) { return where + "." + name; };
    profile.Protocol = CodedValue(field("Protocol"), at("Protocol"), Protocols(), "protocol");
    profile.DataOverVoice = Boolean(field("DataOverVoice"), at("DataOverVoice"));
    profile.Bacp = Boolean(field("Bacp"), at("Bacp"));
    if (bNorthAmerica) {
        profile.AutoSpidLocation = CodedValue(field("AutoSpidLocation"), at("AutoSpidLocation"),
                                              AutoSpidLocations(), "AutoSPID location");
    }
    constexpr std::int64_t kMaxInterval = std::numeric_limits<std::uint16_t>::max();
    profile.InitialBillingInterval = static_cast<std::uint16_t>(
        Integer(field("InitialBillingInterval"), at("InitialBillingInterval"), 0, kMaxInterval));
    profile.BillingInterval = static_cast<std::uint16_t>(
        Integer(field("BillingInterval"), at("BillingInterval"), 0, kMaxInterval));
    LocationFromJson(field("Primary"), at("Primary"), bNorthAmerica, profile.Primary);
    LocationFromJson(field("Alternate"), at("Alternate"), bNorthAmerica, profile.Alternate);
}

void RecordFromJson(const Json& json, _CARDPROFILES& profiles) {
    const std::string top = "the file";
    ObjectWithOnly(json, top, {"Region", "DefaultProfile", "Profiles"});
    const Json& region = Member(json, top, "Region");
    if (region != kNorthAmerica && region != kInternational) {
        throw Fault{"Region", std::string("must be \"") + kNorthAmerica + "\" or \"" +
                                  kInternational + "\", not " + region.dump()};
    }
    bool bNorthAmerica = region == kNorthAmerica;
    profiles.NorthAmerica = bNorthAmerica ? 1 : 0;
    profiles.DefaultProfile = static_cast<std::int32_t>(
        Integer(Member(json, top, "DefaultProfile"), "DefaultProfile", 0, kProfileCount - 1));
    const Json& list = Member(json, top, "Profiles");
    if (!list.is_array() || list.size() != kProfileCount) {
        throw Fault{
            "Profiles",
            "must be a list of " + std::to_string(kProfileCount) + " profiles, not " +
                (list.is_array() ? std::to_string(list.size()) + " profiles" : TypeName(list))};
    }
    for (std::size_t n = 0; n < kProfileCount; ++n) {
        ProfileFromJson(list[n], "Profiles[" + std::to_string(n) + "]", bNorthAmerica,
                        profiles.Profiles[n]);
    }
}

}  // namespace

OrderedJson ProfilesToJson(const _CARDPROFILES& profiles) {
    bool bNorthAmerica = profiles.NorthAmerica == 1;
    OrderedJson json;
    json["Region"] = bNorthAmerica ? kNorthAmerica : kInternational;
    json["DefaultProfile"] = profiles.DefaultProfile;
    json["Profiles"] = OrderedJson::array();
    for (const _STOREDPROFILE& profile : profiles.Profiles) {
        json["Profiles"].push_back(ProfileToJson(profile, bNorthAmerica));
    }
    return json;
}

std::optional<std::string> ProfilesFromJson(std::string_view text, _CARDPROFILES& profiles) {
    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::parse_error& error) {
        // The library's message after its "[json.exception.parse_error.101] " tag.
        std::string what = error.what();
        std::size_t tag = what.find("] ");
        return "not JSON: " + (tag == std::string::npos ? what : what.substr(tag + 2));
    }
    std::memset(&profiles, 0, sizeof profiles);
    try {
        RecordFromJson(json, profiles);
    } catch (const Fault& fault) {
        return fault.where + ": " + fault.what;
    }
    return std::nullopt;
}

}  // namespace quilanctl
