// A location page of a North American card: one location (primary or alternate) of one stored
// profile, with its switch type, the profile's protocol, two numbers and their SPIDs.
//
// The profile list page builds two of these for one run of a profile's configuration sheet,
// hands each the profile (inside the record it owns) with SetProfile, and reads IsModified
// after the sheet has closed. The page edits the profile in place: the protocol the moment it
// is chosen (the alternate page shows it), everything else when the sheet's OK reaches OnOK
// after the checks passed. A page that was never shown loads and saves nothing.
// User-interface thread only.
#pragma once

#include <cstdint>
#include <string>

#include "CardProfiles.h"
#include "platform/ui/PropertyPage.h"

namespace ui {
class Button;
class DropDownList;
}  // namespace ui

class CPropNAProfile : public ui::PropertyPage {
  public:
    // `caption`: the tab's text ("Primary Location" or "Alternate Location").
    explicit CPropNAProfile(std::string caption);

    // `location`: 0 primary, 1 alternate.
    void SetProfile(int location, _STOREDPROFILE* profile);
    // The user changed a control since the page was shown; cleared when the sheet is cancelled.
    bool IsModified() const { return m_bModified; }

    // What the number checks read while the exchange runs.
    bool IsLocationActive() const;
    bool IsMultilinkSelected() const;
    bool IsSecondNumberInUse() const;
    bool IsSecondSpidTicked() const;
    const std::string& SecondSpid() const { return m_strSpid2; }

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
    void ApplySpid1Box();
    void EnableLocation();
    void DisableLocation();
    void ShowProtocol();
    void LoadLocation();
    void SetSecondNumberStart();
    void StoreLocation();

    void OnProtocolChanged();
    void OnSecondNumberClicked();

    bool m_bSecondInUse = false;
    bool m_bModified = false;
    bool m_bFolded = false;
    ui::Button* m_btnSecondNumber = nullptr;
    ui::DropDownList* m_cbProtocol = nullptr;
    ui::DropDownList* m_cbSwitchType = nullptr;
    std::string m_strNumber1;
    std::string m_strSpid1;
    std::string m_strNumber2;
    std::string m_strSpid2;
    bool m_bAltEnabled = false;
    bool m_bSecondNumber = true;
    bool m_bSpid1 = false;
    bool m_bSpid2 = false;
    int m_nLocation = 0;
    _STOREDPROFILE* m_pProfile = nullptr;
};
