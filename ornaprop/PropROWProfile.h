// A location page of an international card: one location (primary or alternate) of one stored
// profile, with the profile's switch type and protocol and two numbers; no SPIDs.
//
// The switch type belongs to the primary location: the alternate location stores only 254
// (enabled) or 255 (disabled), and its page shows the primary's switch type and protocol with
// both lists disabled. The profile list page builds two of these for one run of a profile's
// configuration sheet, hands each the profile with SetProfile and reads IsModified after the
// sheet has closed. The page edits the profile in place: the protocol and the switch type the
// moment they are chosen, everything else when the sheet's OK reaches OnOK after the checks
// passed. The SPID fields of the record are never read or written. A page that was never
// shown loads and saves nothing. User-interface thread only.
#pragma once

#include <cstdint>
#include <string>

#include "CardProfiles.h"
#include "platform/ui/PropertyPage.h"

namespace ui {
class Button;
class DropDownList;
}  // namespace ui

class CPropROWProfile : public ui::PropertyPage {
  public:
    // `caption`: the tab's text ("Primary Location" or "Alternate Location").
    explicit CPropROWProfile(std::string caption);

    // `location`: 0 primary, 1 alternate.
    void SetProfile(int location, _STOREDPROFILE* profile);
    // The user changed a control since the page was shown; cleared when the sheet is cancelled.
    bool IsModified() const { return m_bModified; }

    // What the number checks read while the exchange runs.
    bool IsLocationActive() const;
    bool IsMultilinkSelected() const;
    bool IsSecondNumberInUse() const;
    const std::string& FirstNumber() const { return m_strNumber1; }
    const std::string& SecondNumber() const { return m_strNumber2; }

  protected:
    bool OnInitDialog() override;
    bool OnSetActive() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;

  private:
    bool IsAlternate() const { return m_nLocation != 0; }
    _PROFILELOCATION& Location() const;

    // The named steps of the page's state table.
    void EnableSecondArea(bool bOn);
    void DisableSecondControls();
    void RefreshSecondArea();
    // The 2nd number is usable under "Multilink PPP" once the 1st number is given.
    void FollowFirstNumber(bool bFirstGiven);
    void EnableLocation();
    void DisableLocation();
    void ShowProtocol();
    void ShowSwitchType();
    void LoadLocation();
    void SetSecondNumberStart();
    void StorePrimary();
    void StoreAlternate();

    void OnProtocolChanged();
    void OnSwitchTypeChanged();
    void OnSecondNumberClicked();

    bool m_bModified = false;
    bool m_bFolded = false;
    ui::Button* m_btnSecondNumber = nullptr;
    ui::DropDownList* m_cbProtocol = nullptr;
    ui::DropDownList* m_cbSwitchType = nullptr;
    std::string m_strNumber1;
    std::string m_strNumber2;
    bool m_bAltEnabled = false;
    bool m_bSecondNumber = false;
    int m_nLocation = 0;
    _STOREDPROFILE* m_pProfile = nullptr;
};
