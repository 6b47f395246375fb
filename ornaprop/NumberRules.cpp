#include "ornaprop/NumberRules.h"

#include <algorithm>
#include <cstdint>

#include "ornaprop/ProfileFields.h"
#include "ornaprop/ProfileResources.h"
#include "ornaprop/PropNAProfile.h"
#include "ornaprop/PropROWProfile.h"
#include "ornaprop/Resources.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/MessageBox.h"

namespace ornaprop {

namespace {

Scan ScanValue(std::string_view value, std::string_view allowed) {
    for (char c : value) {
        if (c != ' ' && allowed.find(c) == std::string_view::npos) {
            return Scan::BadCharacter;
        }
    }
    auto significant = static_cast<std::size_t>(
        std::count_if(value.begin(), value.end(), [](char c) { return c != ' '; }));
    return significant > kMaxSignificant || value.size() >= kFieldSize ? Scan::TooLong : Scan::Ok;
}

void Refuse(ui::DataExchange& exchange, std::uint32_t message) {
    ui::MessageBox(ThisModule(), message);
    exchange.Fail();
}

void Report(ui::DataExchange& exchange, Scan scan, std::uint32_t badCharacter,
            std::uint32_t tooLong) {
    if (scan != Scan::Ok) {
        Refuse(exchange, scan == Scan::BadCharacter ? badCharacter : tooLong);
    }
}

template <class Page>
bool Applies(const ui::DataExchange& exchange, const Page& page, int which) {
    if (exchange.Failed() || !exchange.IsSaving() || !page.IsLocationActive()) {
        return false;
    }
    return which == 1 || (page.IsMultilinkSelected() && page.IsSecondNumberInUse());
}

}  // namespace

Scan ScanNumber(std::string_view value) {
    return ScanValue(value, "0123456789#*");
}

Scan ScanSpid(std::string_view value) {
    return ScanValue(value, "0123456789");
}

void StoreNumber(char (&field)[kFieldSize], const std::string& value) {
    if (ScanNumber(value) == Scan::Ok) {
        SetField(field, value);
    }
}

void StoreSpid(char (&field)[kFieldSize], const std::string& value) {
    if (ScanSpid(value) == Scan::Ok) {
        SetField(field, value);
    }
}

bool IsFoldedNorthAmerica(const _PROFILELOCATION& location) {
    if (FieldText(location.Number2) != FieldText(location.Number1)) {
        return false;
    }
    bool bSameSpid = FieldText(location.Spid2) == FieldText(location.Spid1) &&
                     (location.NoSpid2 != 0) == (location.NoSpid1 != 0);
    return bSameSpid || (location.NoSpid1 != 0 && location.NoSpid2 != 0);
}

bool IsFoldedInternational(const _PROFILELOCATION& location) {
    return FieldText(location.Number2) == FieldText(location.Number1);
}

bool RepeatsFirstNumber(const std::string& number1, const std::string& spid1, bool bSpid1,
                        const std::string& number2, const std::string& spid2, bool bSpid2) {
    if (number2 != number1) {
        return false;
    }
    return (spid2 == spid1 && bSpid2 == bSpid1) || (!bSpid1 && !bSpid2);
}

void CheckIsdnNumber(ui::DataExchange& exchange, const std::string& number,
                     const CPropNAProfile& page, int which) {
    if (!Applies(exchange, page, which)) {
        return;
    }
    if (which == 2 && number.empty() && page.SecondSpid().empty() && page.IsSecondSpidTicked()) {
        Refuse(exchange, kIdsSecondNumberEmpty);
        return;
    }
    Report(exchange, ScanNumber(number), kIdsBadNumber, kIdsNumberTooLong);
}

void CheckSpid(ui::DataExchange& exchange, const std::string& spid, const CPropNAProfile& page,
               int which) {
    if (Applies(exchange, page, which)) {
        Report(exchange, ScanSpid(spid), kIdsBadSpid, kIdsSpidTooLong);
    }
}

void CheckIsdnNumberIntl(ui::DataExchange& exchange, const std::string& number,
                         const CPropROWProfile& page, int which) {
    if (Applies(exchange, page, which)) {
        Report(exchange, ScanNumber(number), kIdsBadNumber, kIdsNumberTooLong);
    }
}

void CheckSecondNumberIntl(ui::DataExchange& exchange, const CPropROWProfile& page) {
    if (exchange.Failed() || !exchange.IsSaving() || !page.IsLocationActive() ||
        !page.IsSecondNumberInUse()) {
        return;
    }
    if (page.SecondNumber().empty() && !page.FirstNumber().empty()) {
        Refuse(exchange, kIdsSecondNumberEmpty);
    }
}

}  // namespace ornaprop
