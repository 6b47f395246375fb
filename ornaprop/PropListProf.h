// The page of the profiles sheet: a card's three stored profiles under the names kept on the
// computer (registry values shared by all cards), renamed in place, configured one at a time in
// a nested configuration sheet, the default profile chosen, and everything written back on OK.
//
// The cards page builds the page for one sheet run, sets m_pParentSheet and calls InitProfiles
// with the storage object it owns and lends; the page owns the card's record while the sheet
// runs and lends the configuration pages a pointer into it. On OK the page writes the record to
// the card only when something in it changed, then the names to the registry; Cancel writes
// nothing. Every card access brackets Open, one transfer and Close with the wait cursor.
// User-interface thread only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "CardProfiles.h"
#include "platform/ui/PropertyPage.h"

class CAppletSheet;
class CStorage;

namespace ui {
class DropDownList;
class ListView;
}  // namespace ui

class CPropListProf : public ui::PropertyPage {
  public:
    CPropListProf();
    ~CPropListProf() override;

    // Keeps the port, the storage (owned by the cards page) and the region flag (nonzero:
    // North America), and reads the card's profiles. Nonzero on success; 0 after showing
    // ERR0004, and then the sheet is not to be shown.
    int InitProfiles(const std::string& portName, CStorage* storage, int northAmerica);

    // Runs the configuration sheet of profile `profile` (0 to 2), titled after `name`.
    void ConfigureProfile(int profile, const std::string& name);

    // The profiles sheet holding this page; set by the cards page before the sheet runs.
    ui::PropertySheet* m_pParentSheet = nullptr;

  protected:
    bool OnInitDialog() override;
    // Writes the profiles to the card when they changed; false keeps the sheet open.
    bool OnKillActive() override;
    // Saves the names (after the page was left).
    void OnOK() override;
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;
    ui::MessageResult OnNotify(const ui::Notification& notification) override;

  private:
    bool ReadCard();
    bool WriteCard();
    void ReadProfileNames();
    void FillDefaultProfileList();
    void FillProfileList();
    void Configure();
    template <class LocationPage>
    void RunConfiguration(int profile, const std::string& name);
    void Rename(int row, const std::string* text);
    void SelectDefaultProfileEntry();
    void OnDefaultProfileChanged();

    std::unique_ptr<CAppletSheet> m_pConfigSheet;  // while a configuration sheet runs
    std::string m_strPortName;
    CStorage* m_pStorage = nullptr;
    bool m_bProfilesChanged = false;
    bool m_bNorthAmerica = false;
    std::array<std::string, 3> m_strProfileName;
    _CARDPROFILES m_CardProfiles{};
    ui::ListView* m_ProfileList = nullptr;
    ui::DropDownList* m_DefaultProfileCombo = nullptr;
};
