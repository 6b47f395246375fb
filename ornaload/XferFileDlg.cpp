#include "ornaload/XferFileDlg.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <new>
#include <string_view>

#include "link/ReplyParser.h"
#include "ornaload/ElmRecords.h"
#include "ornaload/Resources.h"
#include "platform/registry/Key.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/Format.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"

namespace {

constexpr int kIdFileName = 1002;
constexpr int kIdBrowse = 1004;
constexpr char kDirectoryKey[] = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory";
constexpr char kElmDirectory[] = "ElmDirectory";
constexpr std::size_t kDirectorySize = 260;

// A file opened for one check, closed on every path.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// The directory the installation keeps the ELM files in; empty when it is not recorded.
std::string ElmDirectory() {
    registry::Key key;
    char directory[kDirectorySize];
    if (key.Open(kDirectoryKey, registry::Access::Read) != registry::Status::Ok ||
        key.QueryString(kElmDirectory, directory, sizeof directory) != registry::Status::Ok) {
        return {};
    }
    return directory;
}

}  // namespace

CXferFileDlg::CXferFileDlg(const _SoftwareVer& cardVersion, _ISDN_VERSIONTYPE cardType,
                           std::string initialName)
    : ui::Dialog(ornaload::ThisModule(), ornaload::kIddFile),
      m_strFileName(std::move(initialName)),
      m_cardVersion(cardVersion),
      m_cardType(cardType) {}

CXferFileDlg::CXferFileDlg() : ui::Dialog(ornaload::ThisModule(), ornaload::kIddFile) {}

CXferFileDlg::~CXferFileDlg() {
    if (m_bWaitCursor) {
        ui::EndWaitCursor();
    }
}

bool CXferFileDlg::CheckElmFile(const char* path) {
    File file(std::fopen(path, "rb"));
    if (!file) {
        ui::MessageBox(GetModule(), ornaload::kIdsOpenFailed);
        return false;
    }
    std::unique_ptr<unsigned char[]> buffer(
        new (std::nothrow) unsigned char[ornaload::kElmChunkSize]);
    if (!buffer) {
        ui::MessageBox(GetModule(), ornaload::kIdsNoMemory);
        return false;
    }
    if (!ornaload::AreElmRecordsValid(file.get(), buffer.get())) {
        ui::MessageBox(GetModule(), ornaload::kIdsInvalidFile);
        return false;
    }
    return true;
}

bool CXferFileDlg::ReadElmVersion(const char* path) {
    m_versionScan.Reset();
    m_typeScan.Reset();
    File file(std::fopen(path, "rb"));
    long length = file && std::fseek(file.get(), 0, SEEK_END) == 0 ? std::ftell(file.get()) : -1;
    if (length < 0) {
        ui::MessageBox(GetModule(), ornaload::kIdsOpenFailed);
        return false;
    }
    std::rewind(file.get());
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[ornaload::kElmChunkSize + 1]);
    if (!chunk) {
        ui::MessageBox(GetModule(), ornaload::kIdsNoMemory);
        return false;
    }
    auto remaining = static_cast<std::size_t>(length);
    while (remaining > 0) {
        std::size_t got =
            std::fread(chunk.get(), 1, std::min(remaining, ornaload::kElmChunkSize), file.get());
        if (got == 0) {
            ui::MessageBox(GetModule(), ornaload::kIdsInvalidFile);
            return false;
        }
        remaining -= got;
        chunk[got] = '\0';
        for (ornaload::ElmTextScan* scan : {&m_typeScan, &m_versionScan}) {
            if (!scan->IsComplete()) {
                scan->Step(chunk.get(), got);
            }
        }
        if (m_typeScan.IsComplete() && m_versionScan.IsComplete()) {
            file.reset();
            chunk.reset();
            return CompareElmWithCard();
        }
    }
    return false;
}

bool CXferFileDlg::CompareElmWithCard() {
    // Each text is read as the card's own reply to the matching query would be. A text that
    // cannot be read names itself in its message.
    _ISDN_VERSIONTYPE fileType = VERSIONTYPE_NI1;
    std::string typeReply = "\n" + m_typeScan.Text() + "\r\n\r\nOK\r\n";
    bool bTypeRead = CReplyParser::ParseVersionType(typeReply.c_str(), fileType) == 0;
    if (!bTypeRead && !Confirm(ornaload::kIdsBadType)) {
        return false;
    }
    _SoftwareVer fileVersion{};
    std::string versionReply = "\nV" + m_versionScan.Text() + "\r\n\r\nOK\r\n";
    if (CReplyParser::ParseSoftwareVersion(versionReply.c_str(), fileVersion) != 0 &&
        !Confirm(ornaload::kIdsBadVersion)) {
        return false;
    }
    bool bSame = bTypeRead && fileType == m_cardType &&
                 std::string_view(m_cardVersion.szVersionText) == fileVersion.szVersionText;
    std::string cardRegion = RegionName(m_cardType);
    std::string text = bSame ? ui::FormatMessage(GetModule().String(ornaload::kIdsSameFirmware),
                                                 {cardRegion, m_cardVersion.szVersionText})
                             : ui::FormatMessage(GetModule().String(ornaload::kIdsOtherFirmware),
                                                 {cardRegion, m_cardVersion.szVersionText,
                                                  bTypeRead ? RegionName(fileType) : "unknown",
                                                  fileVersion.szVersionText});
    if (ui::MessageBoxText(GetModule(), text, ui::kYesNo) != ui::kIdYes) {
        return false;
    }
    if (!m_bWaitCursor) {
        ui::BeginWaitCursor();
        m_bWaitCursor = true;
    }
    return true;
}

bool CXferFileDlg::Confirm(std::uint32_t textId) {
    return ui::MessageBox(GetModule(), textId, ui::kYesNo) == ui::kIdYes;
}

std::string CXferFileDlg::RegionName(_ISDN_VERSIONTYPE type) const {
    return GetModule().String(type == VERSIONTYPE_EURO ? ornaload::kIdsInternational
                                                       : ornaload::kIdsNorthAmerica);
}

void CXferFileDlg::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Text(kIdFileName, m_strFileName);
}

void CXferFileDlg::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    bool bValid = false;
    if (m_strFileName.empty()) {
        ui::MessageBox(GetModule(), ornaload::kIdsNoFileName);
    } else {
        bValid = CheckElmFile(m_strFileName.c_str()) && ReadElmVersion(m_strFileName.c_str());
    }
    if (bValid) {
        EndDialog(ui::kIdOk);
    } else if (Window* edit = Item(kIdFileName)) {
        edit->SetFocus();
    }
}

bool CXferFileDlg::OnCommand(int id, int code) {
    if (id == kIdBrowse) {
        OnBrowse();
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

void CXferFileDlg::OnBrowse() {
    const ui::Module& module = GetModule();
    ui::FileDialog dialog(module.String(ornaload::kIdsElmExtension),
                          module.String(ornaload::kIdsElmPattern),
                          ui::kHideReadOnly | ui::kPathMustExist | ui::kFileMustExist,
                          module.String(ornaload::kIdsElmFilter), this);
    if (std::string directory = ElmDirectory(); !directory.empty()) {
        dialog.SetInitialDirectory(directory);
    }
    if (dialog.DoModal() != ui::kIdOk) {
        return;
    }
    m_strFileName = dialog.PathName();
    UpdateData(false);
    if (Window* download = Item(ui::kIdOk)) {
        download->SetFocus();
    }
}
