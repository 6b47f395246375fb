// The rules for the telephone numbers (ISDN numbers) and SPIDs typed on the location pages:
// allowed characters, at most 20 significant characters, an enabled 2nd number not left empty,
// and the folding of a location whose 2nd number repeats the 1st (the record has no flag of
// its own for the 2nd number).
//
// The checks are steps of a location page's data exchange. Each does nothing unless the
// exchange saves and the page's location is active; the checks of the 2nd number and 2nd SPID
// also need "Multilink PPP" and the 2nd number in use. A failing check shows its message and
// fails the exchange: the focus goes to the control exchanged last. User-interface thread.
#pragma once

#include <string>
#include <string_view>

#include "CardProfiles.h"
#include "ornaprop/ProfileFields.h"

namespace ui {
class DataExchange;
}

class CPropNAProfile;
class CPropROWProfile;

namespace ornaprop {

inline constexpr std::size_t kMaxSignificant = 20;

enum class Scan { Ok, BadCharacter, TooLong };

// Numbers: digits, "#", "*" and spaces; SPIDs: digits and spaces. Spaces do not count towards
// the 20, but the whole value must fit the record's field of 99 characters.
Scan ScanNumber(std::string_view value);
Scan ScanSpid(std::string_view value);

// Store the value in a record field only when it keeps the rules; otherwise the field keeps
// its value. The checks refuse such values where they run; where they do not (a disabled
// alternate location keeps what its edits hold), nothing that breaks the rules reaches the
// record either.
void StoreNumber(char (&field)[kFieldSize], const std::string& value);
void StoreSpid(char (&field)[kFieldSize], const std::string& value);

// Loading: whether a stored location shows its 2nd number as not used.
bool IsFoldedNorthAmerica(const _PROFILELOCATION& location);
bool IsFoldedInternational(const _PROFILELOCATION& location);

// Saving, North America: whether a 2nd number in use repeats the 1st (the next opening will
// show it folded).
bool RepeatsFirstNumber(const std::string& number1, const std::string& spid1, bool bSpid1,
                        const std::string& number2, const std::string& spid2, bool bSpid2);

// `which` is 1 or 2: the 1st or the 2nd number (SPID) of the page.
void CheckIsdnNumber(ui::DataExchange& exchange, const std::string& number,
                     const CPropNAProfile& page, int which);
void CheckSpid(ui::DataExchange& exchange, const std::string& spid, const CPropNAProfile& page,
               int which);
void CheckIsdnNumberIntl(ui::DataExchange& exchange, const std::string& number,
                         const CPropROWProfile& page, int which);
// After the whole exchange: a 2nd number in use may not be empty when the 1st is given.
void CheckSecondNumberIntl(ui::DataExchange& exchange, const CPropROWProfile& page);

}  // namespace ornaprop
