// The image of a card's three stored profiles, its default profile and its region.
//
// Plain records copied and cleared byte for byte: the layout is an interface between the
// profile storage and the user interface, built separately, so every offset is fixed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

// The ISDN line settings of one location.
struct _PROFILELOCATION {
    std::int32_t SwitchType;  // 9, 1, 0 North America; 2, 3, 4 International; 255/254 alternate
    char Number1[100];
    char Number3[100];  // further register of the 1st number; the pages store it empty
    char Spid1[100];    // North America only
    char Number2[100];
    char Number4[100];     // further register of the 2nd number; the pages store it empty
    char Spid2[100];       // North America only
    std::int32_t NoSpid1;  // 1: 1st number used without a SPID (North America only)
    std::int32_t NoSpid2;  // the same for the 2nd number (North America only)
};

struct _STOREDPROFILE {
    _PROFILELOCATION Primary;
    _PROFILELOCATION Alternate;
    std::int32_t Protocol;                 // 10 PPP, 11 V.120, 12 Multilink PPP; others: not sent
    std::int32_t DataOverVoice;            // 1 on, 0 off
    std::int32_t Bacp;                     // 1 on, 0 off
    std::int32_t AutoSpidLocation;         // 0 primary, 1 alternate (North America only)
    std::uint16_t InitialBillingInterval;  // seconds
    std::uint16_t BillingInterval;         // seconds
};

struct _CARDPROFILES {
    _STOREDPROFILE Profiles[3];
    std::int32_t DefaultProfile;  // the profile the card restores on reset, 0 to 2
    std::int32_t NorthAmerica;    // exactly 1: North American firmware; anything else International
};

static_assert(offsetof(_PROFILELOCATION, SwitchType) == 0);
static_assert(offsetof(_PROFILELOCATION, Number1) == 4);
static_assert(offsetof(_PROFILELOCATION, Number3) == 104);
static_assert(offsetof(_PROFILELOCATION, Spid1) == 204);
static_assert(offsetof(_PROFILELOCATION, Number2) == 304);
static_assert(offsetof(_PROFILELOCATION, Number4) == 404);
static_assert(offsetof(_PROFILELOCATION, Spid2) == 504);
static_assert(offsetof(_PROFILELOCATION, NoSpid1) == 604);
static_assert(offsetof(_PROFILELOCATION, NoSpid2) == 608);
static_assert(sizeof(_PROFILELOCATION) == 612);

static_assert(offsetof(_STOREDPROFILE, Primary) == 0);
static_assert(offsetof(_STOREDPROFILE, Alternate) == 612);
static_assert(offsetof(_STOREDPROFILE, Protocol) == 1224);
static_assert(offsetof(_STOREDPROFILE, DataOverVoice) == 1228);
static_assert(offsetof(_STOREDPROFILE, Bacp) == 1232);
static_assert(offsetof(_STOREDPROFILE, AutoSpidLocation) == 1236);
static_assert(offsetof(_STOREDPROFILE, InitialBillingInterval) == 1240);
static_assert(offsetof(_STOREDPROFILE, BillingInterval) == 1242);
static_assert(sizeof(_STOREDPROFILE) == 1244);

static_assert(offsetof(_CARDPROFILES, Profiles) == 0);
static_assert(offsetof(_CARDPROFILES, DefaultProfile) == 3732);
static_assert(offsetof(_CARDPROFILES, NorthAmerica) == 3736);
static_assert(sizeof(_CARDPROFILES) == 3740);

// Copied and cleared byte for byte on both sides of the interface.
static_assert(std::is_trivially_copyable_v<_CARDPROFILES> &&
              std::is_standard_layout_v<_CARDPROFILES>);
static_assert(std::is_trivially_copyable_v<_STOREDPROFILE> &&
              std::is_standard_layout_v<_STOREDPROFILE>);
static_assert(std::is_trivially_copyable_v<_PROFILELOCATION> &&
              std::is_standard_layout_v<_PROFILELOCATION>);
