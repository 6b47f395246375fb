// The page of the "Card Properties" sheet: the card's port and firmware version, the Download
// button, and the region list, whose other entry downloads that region's standard firmware.
// Each download ends by reading the card again; the page changes nothing on OK, Cancel or
// leaving.
//
// Built by the cards page for one sheet run, on the user-interface thread; Init reads the card
// before the sheet is shown. A download runs inside the page's handlers through a
// CFileTransferIF of their own.
#pragma once

#include <string>

#include "IsdnVersionType.h"
#include "SoftwareVer.h"
#include "platform/ui/PropertyPage.h"

class CAppletSheet;
namespace ui {
class DropDownList;
}

class CPropCard : public ui::PropertyPage {
  public:
    CPropCard();

    // Keeps the sheet and the port and reads the card: 1, or 0 after message 59157 (the sheet
    // is then not to be shown).
    int Init(CAppletSheet* sheet, const std::string& port);

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;

  private:
    int ReadCard();
    int RefreshFromCard();
    void SelectCardRegion();
    void ResetRegion();
    bool RegionChangeRequested(_ISDN_VERSIONTYPE& requested) const;
    void EnableFirmwareControls();
    void OnDownload();
    void OnRegionChange();
    // After a download attempt: the card read again, and its messages.
    void AfterDownload(std::int32_t result);

    CAppletSheet* m_pSheet = nullptr;
    std::string m_strPort;
    _ISDN_VERSIONTYPE m_VersionType = VERSIONTYPE_NI1;
    _SoftwareVer m_SoftwareVer{};
    std::string m_strVersion;
    std::string m_strPortText;
    ui::DropDownList* m_pRegionList = nullptr;
};
