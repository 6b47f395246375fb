#include "ornaprop/PropCards.h"

#include <cstring>
#include <memory>
#include <new>

#include "CardList.h"
#include "ornaprop/AppletSheet.h"
#include "ornaprop/DetectCardsDlg.h"
#include "ornaprop/FirmwareLevels.h"
#include "ornaprop/HelpTopic.h"
#include "ornaprop/PropCard.h"
#include "ornaprop/PropListProf.h"
#include "ornaprop/Resources.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"

namespace {

using namespace ornaprop;

constexpr int kIdProfileProperties = 1002;
constexpr int kIdProperties = 1003;
constexpr int kIdRefresh = 1004;
constexpr int kIdCardList = 1009;
constexpr int kIdProfileGroup = 1087;
constexpr int kIdProfileText = 1088;

constexpr std::uint32_t kDetectTimer = 1;
constexpr std::uint32_t kDetectDelayMs = 100;  // lets the page show before the detection runs

void Message(std::uint32_t id) {
    ui::MessageBox(ThisModule(), id);
}

// The list item's text: string 59143 with the port name for its "%s".
std::string CardItemText(const char* port) {
    std::string text = ThisModule().String(kIdsCardItem);
    if (auto at = text.find("%s"); at != std::string::npos) {
        text.replace(at, 2, port);
    }
    return text;
}

}  // namespace

CPropCards::CPropCards() : ui::PropertyPage(ThisModule(), kIddCards) {}

CPropCards::~CPropCards() {
    WaitForDetection();
}

void CPropCards::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(kIdCardList, m_pCardList);
}

bool CPropCards::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    if (!m_pCardList) {
        return true;
    }
    m_ImageList.Create(16, 16, true, 2, 10);
    m_ImageList.Add(ThisModule().Icon(kIconCardSmall));
    m_ImageList.Add(ThisModule().Icon(kIconCardDetect));
    m_pCardList->SetImageList(&m_ImageList);
    m_pCardList->InsertColumn(0, "", 35 * ui::kBaseUnitX);

    if (!FillCardList()) {
        Message(kIdsDetectFailed);
        return true;
    }
    // The stored list shows at once; the fresh detection follows once the page is up.
    SetTimer(kDetectTimer, kDetectDelayMs);
    return true;
}

void CPropCards::OnTimer(std::uint32_t id) {
    if (id != kDetectTimer) {
        ui::PropertyPage::OnTimer(id);
        return;
    }
    KillTimer(kDetectTimer);
    DetectCards();
}

bool CPropCards::OnCommand(int id, int code) {
    switch (id) {
        case kIdRefresh:
            DetectCards();
            return true;
        case kIdProperties:
            OpenCardProperties();
            return true;
        case kIdProfileProperties:
            OpenProfileProperties();
            return true;
        case ui::kHelpCommand:
            ShowHelpTopic(*this, kHelpCards);
            return true;
        default:
            return ui::PropertyPage::OnCommand(id, code);
    }
}

ui::MessageResult CPropCards::OnNotify(const ui::Notification& notification) {
    if (notification.id != kIdCardList) {
        return ui::PropertyPage::OnNotify(notification);
    }
    switch (notification.code) {
        // The profile controls follow the selection however the user moved it, arrows included.
        case ui::kItemChanged:
        case ui::kItemClick:
        case ui::kItemRightClick:
        case ui::kItemRightDoubleClick:
            OnListClick();
            return 0;
        case ui::kItemDoubleClick:
            OpenCardProperties();
            return 0;
        default:
            return ui::PropertyPage::OnNotify(notification);
    }
}

bool CPropCards::FillCardList() {
    // A scan (one that Escape cut short, or another process's) holds the card list while it
    // probes, and the read waits for it: busy until the list is drawn.
    ui::WaitCursor busy;
    int count = kMaxCards;
    if (CCardList().GetCardInfoList(m_CardInfo.data(), count) != 0) {
        return false;
    }
    // Records past this listing would otherwise keep an earlier listing's cards, and a click
    // would take their firmware for the selected card's.
    for (int i = count; i < kMaxCards; ++i) {
        m_CardInfo[i] = _CardInfo{};
    }

    int first = -1;
    int firstRecord = -1;
    for (int i = 0; i < count; ++i) {
        const _CardInfo& card = m_CardInfo[i];
        if (card.nInserted != 1) {
            continue;
        }
        int item = m_pCardList->InsertItem(i, CardItemText(card.szPort), 0);
        if (item < 0) {
            continue;
        }
        m_pCardList->SetItemData(item, static_cast<std::uintptr_t>(i));
        m_strPortName[i] = card.szPort;
        m_pCardList->SetItemState(item, 0, ui::kItemSelected | ui::kItemFocused);
        if (first < 0) {
            first = item;
            firstRecord = i;
        }
    }

    if (first >= 0) {
        m_pCardList->SetItemState(first, ui::kItemSelected | ui::kItemFocused,
                                  ui::kItemSelected | ui::kItemFocused);
        EnableProfileControls(firstRecord);
        Item(kIdProperties)->Enable(true);
    } else {
        Item(kIdProperties)->Enable(false);
        Item(kIdProfileProperties)->Enable(false);
    }
    return true;
}

void CPropCards::DetectCards() {
    // A detection that Escape cut short may still be scanning; one scan at a time, so that its
    // close request can never reach the next dialog.
    WaitForDetection();
    CDetectCardsDlg dialog(m_hDetectThread);
    m_pCardList->DeleteAllItems();
    ui::BeginWaitCursor();
    ui::SetCapture(this);
    dialog.DoModal();
    ui::EndWaitCursor();
    ui::ReleaseCapture();
    if (!FillCardList()) {
        Message(kIdsRefreshFailed);
    }
    m_pCardList->SetFocus();
}

void CPropCards::WaitForDetection() {
    if (m_hDetectThread == sys::kNoHandle) {
        return;
    }
    if (sys::Wait(m_hDetectThread, 0) != sys::WaitResult::Signaled) {
        ui::WaitCursor busy;
        sys::Wait(m_hDetectThread, sys::kInfinite);
    }
    sys::CloseHandle(m_hDetectThread);
    m_hDetectThread = sys::kNoHandle;
}

void CPropCards::EnableProfileControls(int record) {
    if (record < 0 || record >= kMaxCards) {
        return;
    }
    bool bEnable = m_CardInfo[record].SoftwareVer.nMinor > kLastMinorWithoutProfiles;
    for (int id : {kIdProfileProperties, kIdProfileGroup, kIdProfileText}) {
        Item(id)->Enable(bEnable);
    }
}

void CPropCards::OnListClick() {
    int item = m_pCardList->FirstSelected();
    if (item < 0) {
        return;
    }
    const std::string& port = m_strPortName[m_pCardList->ItemData(item) % kMaxCards];
    for (int i = 0; i < kMaxCards; ++i) {
        if (port == m_CardInfo[i].szPort) {
            EnableProfileControls(i);
        }
    }
}

void CPropCards::OpenCardProperties() {
    CPropCard page;
    std::unique_ptr<CAppletSheet> sheet(
        new (std::nothrow) CAppletSheet(ThisModule().String(kIdsCardSheet), m_pMainSheet, 0));
    if (!sheet) {
        Message(kIdsNoMemory);
        return;
    }
    sheet->SetNoApply(true);
    page.SetHasHelp(true);
    sheet->AddPage(&page);

    int item = m_pCardList->FirstSelected();
    if (item < 0) {
        Message(kIdsSelectCard);
        sheet->RemovePage(&page);
        return;
    }
    const std::string& port = m_strPortName[m_pCardList->ItemData(item) % kMaxCards];
    if (page.Init(sheet.get(), port)) {
        sheet->m_nHorizontalOffset = 0;
        sheet->m_nVerticalOffset = 0;
        sheet->DoModal();
    }
    sheet->RemovePage(&page);
    sheet.reset();

    // The card page may have changed the card (its firmware, say): list afresh.
    m_pCardList->DeleteAllItems();
    if (!FillCardList()) {
        Message(kIdsDetectFailed);
    }
    m_pCardList->SetFocus();
}

void CPropCards::OpenProfileProperties() {
    CPropListProf page;
    int item = m_pCardList->FirstSelected();
    if (item < 0) {
        Message(kIdsSelectCard);
        return;
    }
    const std::string& port = m_strPortName[m_pCardList->ItemData(item) % kMaxCards];
    const _CardInfo* card = nullptr;
    for (const _CardInfo& record : m_CardInfo) {
        if (std::strcmp(record.szPort, port.c_str()) == 0) {
            card = &record;
            break;
        }
    }
    if (!card) {
        return;
    }
    std::uint32_t title = card->VersionType == VERSIONTYPE_EURO ? kIdsProfilesInternational
                                                                : kIdsProfilesNorthAmerica;
    std::unique_ptr<CAppletSheet> sheet(
        new (std::nothrow) CAppletSheet(ThisModule().String(title), m_pMainSheet, 0));
    if (!sheet) {
        Message(kIdsNoMemory);
        return;
    }
    page.m_pParentSheet = sheet.get();
    if (!page.InitProfiles(port, &m_Storage, card->VersionType)) {
        return;
    }
    sheet->SetNoApply(true);
    page.SetHasHelp(true);
    sheet->AddPage(&page);
    sheet->m_nHorizontalOffset = 0;
    sheet->m_nVerticalOffset = 0;
    sheet->DoModal();
    sheet->RemovePage(&page);
    sheet.reset();
    m_pCardList->SetFocus();
}
