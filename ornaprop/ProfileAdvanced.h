// The advanced page of a profile's configuration sheet: BACP, the two billing intervals of the
// cost reduction timers, Data Over Voice and the AutoSPID location (the last two hidden for
// international switch types), for both regions.
//
// The profile list page builds one for a run of the configuration sheet, hands it the profile
// with SetProfile and reads IsModified after the sheet has closed. The page stores into the
// profile only when the sheet's OK reaches OnOK and the intervals passed their checks; its
// hidden and disabled controls take part like the others, so their values pass through. A
// page that was never shown loads and saves nothing. User-interface thread only.
#pragma once

#include "CardProfiles.h"
#include "platform/ui/PropertyPage.h"

namespace ui {
class UpDown;
}

class CProfileAdvanced : public ui::PropertyPage {
  public:
    CProfileAdvanced();

    void SetProfile(_STOREDPROFILE* profile) { m_pProfile = profile; }
    // The user changed a control since the page was shown; cleared when the sheet is cancelled.
    bool IsModified() const { return m_bModified; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;

  private:
    void OnBacpClicked();
    void OnInitialIntervalChanged();

    bool m_bModified = false;
    _STOREDPROFILE* m_pProfile = nullptr;
    ui::UpDown* m_spinBilling = nullptr;
    ui::UpDown* m_spinInitial = nullptr;
    int m_bBacp = 0;
    unsigned m_nInitialInterval = 0;
    unsigned m_nBillingInterval = 0;
    int m_bDov = 0;
    int m_nAutoSpidLocation = -1;
};
