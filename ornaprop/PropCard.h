// The page of the "Card Properties" sheet, as far as it exists yet: it shows the card's port
// and says plainly that reading the firmware, downloading and changing the region are not
// available. It neither reads nor changes the card.
//
// Built by the cards page for one sheet run, on the user-interface thread.
#pragma once

#include <string>

#include "platform/ui/PropertyPage.h"

class CAppletSheet;

class CPropCard : public ui::PropertyPage {
  public:
    CPropCard();

    // Keeps the sheet and the port; 1 (the sheet may be shown).
    int Init(CAppletSheet* sheet, const std::string& port);

  protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;

  private:
    CAppletSheet* m_pSheet = nullptr;
    std::string m_strPort;
};
