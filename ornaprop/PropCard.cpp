#include "ornaprop/PropCard.h"

#include <optional>

#include "CardInfo.h"
#include "FileTransferIF.h"
#include "ornaprop/FirmwareLevels.h"
#include "ornaprop/HelpTopic.h"
#include "ornaprop/Resources.h"
#include "platform/registry/Key.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"

namespace {

using namespace ornaprop;

constexpr int kIdPort = 1001;
constexpr int kIdVersion = 1040;
constexpr int kIdDownload = 1042;
constexpr int kIdRegionList = 1093;

// The sorted region list: International first.
constexpr int kIndexInternational = 0;
constexpr int kIndexNorthAmerica = 1;

constexpr char kDirectoryKey[] = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory";
constexpr char kElmDirectory[] = "ElmDirectory";
constexpr std::size_t kMaxPath = 260;
constexpr char kStandardNorthAmerica[] = "ROM0NA.ELM";
constexpr char kStandardInternational[] = "ROM0ROW.ELM";

constexpr std::int32_t kNothingDownloaded = -1;

// The folder of the installed ELM files; nothing when the registry does not name one (an empty
// value names none either: it would read the firmware from wherever the process happens to be).
// `bNoKey` tells whether the key itself is missing.
std::optional<std::string> ElmDirectory(bool* bNoKey = nullptr) {
    registry::Key key;
    bool bOpened = key.Open(kDirectoryKey, registry::Access::Read) == registry::Status::Ok;
    if (bNoKey) {
        *bNoKey = !bOpened;
    }
    char directory[kMaxPath];
    if (!bOpened ||
        key.QueryString(kElmDirectory, directory, sizeof directory) != registry::Status::Ok ||
        directory[0] == '\0') {
        return std::nullopt;
    }
    return directory;
}

// The value is expected to end with a separator; one is put in where it does not.
std::string InDirectory(std::string directory, const char* file) {
    if (directory.back() != '/') {
        directory += '/';
    }
    return directory + file;
}

const char* StandardFile(_ISDN_VERSIONTYPE type) {
    return type == VERSIONTYPE_EURO ? kStandardInternational : kStandardNorthAmerica;
}

void Message(std::uint32_t id, unsigned type = ui::kOk) {
    ui::MessageBox(ThisModule(), id, type);
}

}  // namespace

CPropCard::CPropCard() : ui::PropertyPage(ThisModule(), kIddCard) {}

int CPropCard::Init(CAppletSheet* sheet, const std::string& port) {
    m_pSheet = sheet;
    m_strPort = port;
    int read;
    {
        ui::WaitCursor busy;
        read = ReadCard();
    }
    if (!read) {
        Message(kIdsCardUnreadable);
    }
    return read;
}

int CPropCard::ReadCard() {
    ui::WaitCursor busy;
    CCardInfo card;
    _SoftwareVer version{};
    _ISDN_VERSIONTYPE type = VERSIONTYPE_NI1;
    bool bRead = card.OpenConnection(m_strPort.c_str()) == 0 &&
                 card.GetSoftwareVersion(version) == 0 && card.GetVersionType(type) == 0;
    card.CloseConnection();
    if (!bRead) {
        return 0;  // the page keeps the values it had
    }
    m_strPortText = m_strPort;
    m_strVersion = version.szVersionText;
    m_SoftwareVer = version;
    m_VersionType = type;
    return 1;
}

bool CPropCard::OnInitDialog() {
    EnableFirmwareControls();
    ui::PropertyPage::OnInitDialog();
    SelectCardRegion();
    return true;
}

void CPropCard::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Text(kIdVersion, m_strVersion);
    exchange.Text(kIdPort, m_strPortText);
    exchange.Control(kIdRegionList, m_pRegionList);
}

bool CPropCard::OnCommand(int id, int code) {
    if (id == ui::kHelpCommand) {
        ShowHelpTopic(*this, kHelpCard);
        return true;
    }
    if (id == kIdDownload && code == ui::kClicked) {
        OnDownload();
        return true;
    }
    if (id == kIdRegionList && code == ui::kSelectionChange) {
        OnRegionChange();
        return true;
    }
    return ui::PropertyPage::OnCommand(id, code);
}

int CPropCard::RefreshFromCard() {
    if (!ReadCard()) {
        return 0;
    }
    SelectCardRegion();
    EnableFirmwareControls();
    UpdateData(false);
    return 1;
}

void CPropCard::SelectCardRegion() {
    if (!m_pRegionList) {
        return;
    }
    if (m_VersionType == VERSIONTYPE_EURO) {
        m_pRegionList->SetCurSel(kIndexInternational);
    } else if (m_VersionType == VERSIONTYPE_NI1) {
        m_pRegionList->SetCurSel(kIndexNorthAmerica);
    }
}

void CPropCard::ResetRegion() {
    SelectCardRegion();
    UpdateData(false);
}

bool CPropCard::RegionChangeRequested(_ISDN_VERSIONTYPE& requested) const {
    int selected = m_pRegionList ? m_pRegionList->CurSel() : -1;
    if (selected == kIndexInternational && m_VersionType != VERSIONTYPE_EURO) {
        requested = VERSIONTYPE_EURO;
        return true;
    }
    if (selected == kIndexNorthAmerica && m_VersionType != VERSIONTYPE_NI1) {
        requested = VERSIONTYPE_NI1;
        return true;
    }
    return false;
}

void CPropCard::EnableFirmwareControls() {
    bool bEnable = m_SoftwareVer.nMinor >= kFirstReplaceableMinor;
    for (int id : {kIdDownload, kIdRegionList}) {
        if (Window* control = Item(id)) {
            control->Enable(bEnable);
        }
    }
}

void CPropCard::OnDownload() {
    std::int32_t result = kNothingDownloaded;
    CFileTransferIF transfer;
    if (transfer.InitializeXfer(this) != 0) {
        transfer.TerminateXfer();
        Message(kIdsDownloadFailed);
        return;
    }
    std::optional<std::string> directory = ElmDirectory();
    std::string initialName = directory ? InDirectory(*directory, StandardFile(m_VersionType)) : "";
    if (transfer.StartXfer(m_strPort.c_str(), m_SoftwareVer, m_VersionType, initialName.c_str(),
                           result) != 0) {
        transfer.TerminateXfer();
        Message(kIdsDownloadFailed);
        return;
    }
    transfer.TerminateXfer();
    AfterDownload(result);
}

void CPropCard::OnRegionChange() {
    std::int32_t result = kNothingDownloaded;
    _ISDN_VERSIONTYPE requested;
    if (RegionChangeRequested(requested)) {
        if (ui::MessageBox(ThisModule(), kIdsChangeFirmware, ui::kYesNo) != ui::kIdYes) {
            ResetRegion();
            return;
        }
        bool bNoKey = false;
        std::optional<std::string> directory = ElmDirectory(&bNoKey);
        if (!directory) {
            ResetRegion();
            Message(kIdsNoElmDirectory);
            if (bNoKey) {
                return;
            }
        } else {
            std::string path = InDirectory(*directory, StandardFile(requested));
            CFileTransferIF transfer;
            if (transfer.InitializeXfer(this) != 0 ||
                transfer.StartXferFromFile(path.c_str(), m_strPort.c_str(), result) != 0) {
                transfer.TerminateXfer();
                ResetRegion();
                Message(kIdsDownloadFailed);
                return;
            }
            transfer.TerminateXfer();
        }
    }
    AfterDownload(result);
}

void CPropCard::AfterDownload(std::int32_t result) {
    if (!RefreshFromCard()) {
        // The page keeps what it last read, the region list included.
        ResetRegion();
        Message(kIdsCardUnreadable);
        return;
    }
    if (result == 0) {
        Message(kIdsDownloadComplete, ui::kOk | ui::kIconInformation);
    } else {
        ResetRegion();
    }
}
