#include "quilanctl/CardAccess.h"

#include <cstring>
#include <filesystem>
#include <functional>
#include <system_error>

#include "CardInfo.h"
#include "ComStorage.h"
#include "ornaprop/FirmwareLevels.h"
#include "platform/sys/Root.h"

namespace quilanctl {

namespace {

// A port name the system does not have, or one whose device is not there.
Outcome CheckPortExists(const std::string& port) {
    std::optional<std::filesystem::path> device = sys::ComPortDevice(port);
    std::error_code error;
    if (!device || !std::filesystem::exists(*device, error)) {
        return Failure{kNoCard, port + ": no such port"};
    }
    return std::nullopt;
}

Failure PortBusy(const std::string& port) {
    return {kNoCard, port + ": the port cannot be opened (is another program using it?)"};
}

}  // namespace

const char* RegionName(_ISDN_VERSIONTYPE type) {
    return type == VERSIONTYPE_EURO ? "International" : "North America";
}

Outcome ProbeCard(const std::string& port, CardFirmware& firmware) {
    if (Outcome absent = CheckPortExists(port)) {
        return absent;
    }
    CCardInfo card;
    std::int32_t status = card.OpenConnection(port.c_str());
    Outcome outcome;
    if (status == CCardInfo::kPortFailed) {
        outcome = PortBusy(port);
    } else if (status == CCardInfo::kNotIdentified) {
        outcome = Failure{kNoCard, port + ": no Quilan ISDN T/A answers on the port"};
    } else if (status != 0) {
        outcome = Failure{kCardError, port + ": the connection to the card cannot be set up"};
    } else if (card.GetSoftwareVersion(firmware.version) != 0 ||
               card.GetVersionType(firmware.type) != 0) {
        outcome = Failure{kCardError, port + ": the card does not tell its firmware version"};
    }
    card.CloseConnection();
    return outcome;
}

Outcome CheckHasProfiles(const std::string& port, const CardFirmware& firmware) {
    if (firmware.version.nMinor > ornaprop::kLastMinorWithoutProfiles) {
        return std::nullopt;
    }
    return Failure{kRefused, port + ": firmware " + firmware.version.szVersionText +
                                 " has no profile settings"};
}

Outcome CheckSameRegion(const std::string& port, const CardFirmware& firmware,
                        const _CARDPROFILES& profiles, const std::string& source) {
    _ISDN_VERSIONTYPE region = profiles.NorthAmerica == 1 ? VERSIONTYPE_NI1 : VERSIONTYPE_EURO;
    if ((region == VERSIONTYPE_EURO) == (firmware.type == VERSIONTYPE_EURO)) {
        return std::nullopt;
    }
    return Failure{kRefused, source + " holds profiles for " + RegionName(region) +
                                 " firmware; the card on " + port + " runs " +
                                 RegionName(firmware.type) + " firmware"};
}

namespace {

// One conversation with the card's profile storage: open, `exchange`, close; `failed` says what
// went wrong when the exchange fails.
Outcome WithStorage(const std::string& port, const std::function<std::int32_t(CStorage&)>& exchange,
                    const std::string& failed) {
    CComStorage storage;
    CStorage& store = storage;
    std::int32_t status = store.Open(port.c_str());
    Outcome outcome;
    if (status == CStorage::kPortFailed) {
        outcome = PortBusy(port);
    } else if (status != 0) {
        outcome = Failure{kCardError, port + ": the connection to the card cannot be set up"};
    } else if (exchange(store) != 0) {
        outcome = Failure{kCardError, port + ": " + failed};
    }
    store.Close();
    return outcome;
}

}  // namespace

Outcome ReadCardProfiles(const std::string& port, _CARDPROFILES& profiles) {
    std::memset(&profiles, 0, sizeof profiles);
    return WithStorage(
        port, [&profiles](CStorage& store) { return store.ReadProfiles(profiles); },
        "reading the profiles from the card failed");
}

Outcome WriteCardProfiles(const std::string& port, const _CARDPROFILES& profiles) {
    return WithStorage(
        port, [&profiles](CStorage& store) { return store.WriteProfiles(profiles); },
        "writing the profiles to the card failed; it may hold part of the new settings");
}

}  // namespace quilanctl
