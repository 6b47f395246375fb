// The cards page: the only page of the main sheet. It lists the cards that the shared card list
// knows as present, runs a card detection when it opens and on Refresh, and opens the
// "Card Properties" and profiles sheets for the selected card.
//
// Built by StartCfg as a local object, it lives while the main sheet runs; it owns its image
// list, its records of the last listing, the profile storage it lends to the profile list page,
// and the detection thread of its last detection, for which it waits before it goes away.
// User-interface thread only; the detection thread touches nothing of the page.
#pragma once

#include <array>
#include <string>

#include "CardInfoRecord.h"
#include "ComStorage.h"
#include "platform/sys/Handle.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PropertyPage.h"

class CAppletSheet;

class CPropCards : public ui::PropertyPage {
  public:
    static constexpr int kMaxCards = 10;

    CPropCards();
    ~CPropCards() override;

    // The parent of the sheets this page opens; set by StartCfg before the sheet runs.
    CAppletSheet* m_pMainSheet = nullptr;

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& exchange) override;
    bool OnCommand(int id, int code) override;
    ui::MessageResult OnNotify(const ui::Notification& notification) override;
    void OnTimer(std::uint32_t id) override;

  private:
    bool FillCardList();
    void DetectCards();
    void EnableProfileControls(int record);
    void OnListClick();
    void OpenCardProperties();
    void OpenProfileProperties();
    // Waits, with the wait cursor, for a detection thread that Escape left running.
    void WaitForDetection();

    ui::ImageList m_ImageList;
    std::array<std::string, kMaxCards> m_strPortName;
    std::array<_CardInfo, kMaxCards> m_CardInfo{};
    CComStorage m_Storage;
    ui::ListView* m_pCardList = nullptr;
    sys::Handle m_hDetectThread = sys::kNoHandle;
};
