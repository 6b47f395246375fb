// The file dialog of a download: asks for the ELM file and checks it before anything is sent.
// The checks walk the file's records (CheckElmFile), find its version and type texts
// (ReadElmVersion) and let the user confirm the download against the card's firmware
// (CompareElmWithCard); each shows its own messages. Built by CFileTransferIF for one download,
// on the user-interface thread.
#pragma once

#include <string>

#include "IsdnVersionType.h"
#include "SoftwareVer.h"
#include "ornaload/ElmTextScan.h"
#include "platform/ui/Dialog.h"

class CXferFileDlg : public ui::Dialog {
  public:
    // For a download to a card with this firmware, starting with `initialName` in the edit.
    CXferFileDlg(const _SoftwareVer& cardVersion, _ISDN_VERSIONTYPE cardType,
                 std::string initialName);
    // For the structural check alone.
    CXferFileDlg();
    ~CXferFileDlg() override;

    // True when the file at `path` is made of well-formed records; messages 10, 9 or 11.
    bool CheckElmFile(const char* path);
    // Finds both texts, then compares: true when the user accepted the download. False without
    // a message when the file lacks a text.
    bool ReadElmVersion(const char* path);
    // Parses the texts found and asks the user: true on Yes (the wait cursor is then on until
    // this object goes, since the download is about to begin).
    bool CompareElmWithCard();

    const std::string& FileName() const { return m_strFileName; }

  protected:
    void DoDataExchange(ui::DataExchange& exchange) override;
    void OnOK() override;  // Download
    bool OnCommand(int id, int code) override;

  private:
    void OnBrowse();
    bool Confirm(std::uint32_t textId);
    std::string RegionName(_ISDN_VERSIONTYPE type) const;

    std::string m_strFileName;
    ornaload::ElmTextScan m_versionScan{ornaload::ElmTextScan::Kind::Version};
    ornaload::ElmTextScan m_typeScan{ornaload::ElmTextScan::Kind::Type};
    _SoftwareVer m_cardVersion{};
    _ISDN_VERSIONTYPE m_cardType = VERSIONTYPE_NI1;
    bool m_bWaitCursor = false;
};
