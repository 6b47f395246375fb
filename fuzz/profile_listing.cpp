// Fuzz target: the stored-profile listing ("AT&V") and configuration report ("AT>VC") parsers on
// any reply text, read as a North American and as an International card.
// Links: ornakeep_text
//
// The listing parser must never fill a field past its size: each profile is a heap block of its
// exact size, filled with a pattern first, so that a write past the record shows; every text it
// fills ends within its field and holds no delimiter; and the fields an International card
// never reads keep the pattern, which a text running over from the field before would break.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "fuzz/Require.h"
#include "link/ReplyParser.h"
#include "ornakeep/ProfileListing.h"

namespace {

constexpr unsigned char kPattern = 0xA5;

bool Untouched(const void* field, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(field);
    for (std::size_t i = 0; i < size; ++i) {
        if (bytes[i] != kPattern) {
            return false;
        }
    }
    return true;
}

bool FilledText(const char (&field)[100]) {
    const void* end = std::memchr(field, '\0', sizeof field);
    return end != nullptr && std::string_view(field).find_first_of(
                                 CReplyParser::SETTING_DELIMITERS) == std::string_view::npos;
}

// Texts are checked only after a whole profile was read; the fields an International card never
// reads, after every outcome.
void CheckLocation(const _PROFILELOCATION& location, bool northAmerica, bool read) {
    if (read) {
        Require(FilledText(location.Number1) && FilledText(location.Number2) &&
                    FilledText(location.Number3) && FilledText(location.Number4),
                "every number read ends within its field and holds no delimiter");
    }
    if (read && northAmerica) {
        Require(FilledText(location.Spid1) && FilledText(location.Spid2),
                "every SPID read ends within its field and holds no delimiter");
    }
    if (!northAmerica) {
        Require(Untouched(location.Spid1, sizeof location.Spid1) &&
                    Untouched(location.Spid2, sizeof location.Spid2) &&
                    Untouched(&location.NoSpid1, sizeof location.NoSpid1) &&
                    Untouched(&location.NoSpid2, sizeof location.NoSpid2),
                "an International card leaves the North American fields alone");
    }
}

void CheckProfiles(std::string_view listing, std::int32_t northAmerica) {
    for (int n = 0; n < 3; ++n) {
        auto profile = std::make_unique<_STOREDPROFILE>();
        std::memset(profile.get(), kPattern, sizeof *profile);
        const std::int32_t code =
            ProfileListing::ParseStoredProfile(n, listing, *profile, northAmerica);
        Require(code == 0 || code == ProfileListing::kReadFailed,
                "ParseStoredProfile gives one of its codes");
        CheckLocation(profile->Primary, northAmerica == 1, code == 0);
        CheckLocation(profile->Alternate, northAmerica == 1, code == 0);
        if (northAmerica != 1) {
            Require(Untouched(&profile->AutoSpidLocation, sizeof profile->AutoSpidLocation),
                    "an International card leaves the AutoSPID location alone");
        }
        if (code == 0) {
            Require(profile->DataOverVoice == 0 || profile->DataOverVoice == 1,
                    "Data Over Voice is read as on or off");
            Require(profile->Protocol >= 10 && profile->Protocol <= 12,
                    "a profile read has a known protocol");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view listing(reinterpret_cast<const char*>(data), size);
    CheckProfiles(listing, 1);
    CheckProfiles(listing, 0);
    auto profiles = std::make_unique<_CARDPROFILES>();
    const std::int32_t code = ProfileListing::ParseDefaultProfile(listing, *profiles);
    Require(code == 0 || code == ProfileListing::kTokenFailed,
            "ParseDefaultProfile gives one of its codes");
    return 0;
}
