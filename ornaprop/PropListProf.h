// The page of the profiles sheet, as far as it exists yet: it shows the card's port and says
// plainly that profile configuration is not available. It neither reads nor writes the card
// or the registry; the storage object is only kept.
//
// Built by the cards page for one sheet run, on the user-interface thread.
#pragma once

#include <string>

#include "platform/ui/PropertyPage.h"

class CStorage;

class CPropListProf : public ui::PropertyPage {
  public:
    CPropListProf();

    // Keeps the port, the storage (owned by the cards page) and the region flag (nonzero:
    // North America); nonzero (the sheet may be shown).
    int InitProfiles(const std::string& portName, CStorage* storage, int northAmerica);

    // The profiles sheet holding this page; set by the cards page before the sheet runs.
    ui::PropertySheet* m_pParentSheet = nullptr;

  protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;

  private:
    std::string m_strPortName;
    CStorage* m_pStorage = nullptr;
    int m_bNorthAmerica = 0;
};
