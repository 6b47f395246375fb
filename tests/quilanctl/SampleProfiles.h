// Profiles with every field set to something of its own, for both regions, as a card would
// list them: what the profile file tests send through JSON and to the emulated card.
#pragma once

#include <cstdio>
#include <cstring>

#include "CardProfiles.h"

inline void SetText(char (&field)[100], const char* text) {
    std::snprintf(field, sizeof field, "%s", text);
}

inline _CARDPROFILES SampleProfiles(bool bNorthAmerica) {
    _CARDPROFILES profiles;
    std::memset(&profiles, 0, sizeof profiles);
    profiles.NorthAmerica = bNorthAmerica ? 1 : 0;
    profiles.DefaultProfile = 2;
    const int kProtocols[] = {10, 11, 12};
    for (int n = 0; n < 3; ++n) {
        _STOREDPROFILE& p = profiles.Profiles[n];
        p.Protocol = kProtocols[n];
        p.DataOverVoice = n % 2;
        p.Bacp = n == 2;
        p.InitialBillingInterval = static_cast<std::uint16_t>(30 + n);
        p.BillingInterval = static_cast<std::uint16_t>(n == 1 ? 65535 : 6 + n);
        p.Primary.SwitchType = bNorthAmerica ? 1 : 3;
        p.Alternate.SwitchType = n == 0 ? 255 : (bNorthAmerica ? 0 : 254);
        char text[100];
        std::snprintf(text, sizeof text, "555010%d", n);
        SetText(p.Primary.Number1, text);
        std::snprintf(text, sizeof text, "555020%d", n);
        SetText(p.Primary.Number2, text);
        SetText(p.Primary.Number3, "*70");
        SetText(p.Primary.Number4, "#80");
        std::snprintf(text, sizeof text, "666010%d", n);
        SetText(p.Alternate.Number1, text);
        SetText(p.Alternate.Number2, text);
        if (bNorthAmerica) {
            p.AutoSpidLocation = n == 1;
            std::snprintf(text, sizeof text, "0155501%d0101", n);
            SetText(p.Primary.Spid1, text);
            std::snprintf(text, sizeof text, "0155502%d0202", n);
            SetText(p.Primary.Spid2, text);
            SetText(p.Alternate.Spid1, "01666010101");
            SetText(p.Alternate.Spid2, "01666010101");
            p.Primary.NoSpid1 = n % 2;
            p.Primary.NoSpid2 = 0;
            p.Alternate.NoSpid1 = 1;
            p.Alternate.NoSpid2 = 1;
        }
    }
    return profiles;
}
