#include "FileTransferIF.h"

#include <new>
#include <string>

#include "ornaload/Resources.h"
#include "ornaload/XferFileDlg.h"
#include "ornaload/XferProgressDlg.h"
#include "platform/ui/MessageBox.h"

CFileTransferIF::CFileTransferIF() = default;

CFileTransferIF::~CFileTransferIF() {
    TerminateXfer();
}

std::int32_t CFileTransferIF::InitializeXfer(ui::Window* parent) {
    m_pParent = parent;
    m_pProgressDlg = new (std::nothrow) CXferProgressDlg();
    return m_pProgressDlg ? 0 : kNoMemory;
}

std::int32_t CFileTransferIF::StartXfer(const char* portName, _SoftwareVer cardVersion,
                                        _ISDN_VERSIONTYPE cardType, const char* initialName,
                                        std::int32_t& result) {
    if (!m_pProgressDlg) {
        return kNotStarted;
    }
    std::string fileName;
    {
        // The file dialog keeps the wait cursor it showed on Yes while the port is prepared.
        CXferFileDlg fileDlg(cardVersion, cardType, initialName ? initialName : "");
        if (fileDlg.DoModal() != ui::kIdOk) {
            return 0;
        }
        fileName = fileDlg.FileName();
        if (m_pProgressDlg->BeginXfer(fileName.c_str(), portName) != 0) {
            return kNotStarted;
        }
    }
    result = m_pProgressDlg->DoModal();
    return 0;
}

std::int32_t CFileTransferIF::StartXferFromFile(const char* fileName, const char* portName,
                                                std::int32_t& result) {
    if (!m_pProgressDlg) {
        return kNotStarted;
    }
    CXferFileDlg checker;
    if (!checker.CheckElmFile(fileName)) {
        ui::MessageBox(ornaload::ThisModule(), ornaload::kIdsOpenFailed);
        return kNotStarted;
    }
    if (m_pProgressDlg->BeginXfer(fileName, portName) != 0) {
        return kNotStarted;
    }
    result = m_pProgressDlg->DoModal();
    return 0;
}

std::int32_t CFileTransferIF::TerminateXfer() {
    if (m_pProgressDlg) {
        m_pProgressDlg->ResetXfer();
        delete m_pProgressDlg;
        m_pProgressDlg = nullptr;
    }
    return 0;
}
