// Firmware download to a Quilan ISDN T/A, as the card page reaches it.
//
// One object serves one download, on one user-interface thread: InitializeXfer, then StartXfer
// or StartXferFromFile, then TerminateXfer in every case (also when InitializeXfer failed). The
// library owns its dialogs, threads, events, file and port between InitializeXfer and
// TerminateXfer. The start operations return whether the download ran; how it ended (0, -2 the
// adapter cancelled, -3 no answer in time, -7 cancelled by the user or the final check failed)
// goes to `result`.
#pragma once

#include <cstdint>

#include "IsdnVersionType.h"
#include "SoftwareVer.h"
#include "platform/sys/Export.h"

namespace ui {
class Window;
}
class CXferProgressDlg;

class QUILAN_EXPORT CFileTransferIF {
  public:
    enum : std::int32_t {
        kNoMemory = 2003,   // InitializeXfer: the progress dialog cannot be created
        kNotStarted = 2004  // the file or the port could not be prepared
    };

    CFileTransferIF();
    ~CFileTransferIF();
    CFileTransferIF(const CFileTransferIF&) = delete;
    CFileTransferIF& operator=(const CFileTransferIF&) = delete;

    // Creates the progress dialog (not yet shown) and keeps `parent`; 0 or kNoMemory.
    std::int32_t InitializeXfer(ui::Window* parent);
    // Asks for the ELM file (starting with `initialName`), checks it against the card's firmware
    // and downloads it to the card on `portName` ("COM1" ... "COM10"). 0 when the user cancelled
    // the file dialog (`result` untouched) or the download ran; kNotStarted otherwise.
    std::int32_t StartXfer(const char* portName, _SoftwareVer cardVersion,
                           _ISDN_VERSIONTYPE cardType, const char* initialName,
                           std::int32_t& result);
    // Downloads `fileName` without asking: only its structure is checked. 0 when the download
    // ran, kNotStarted otherwise (after the file's messages).
    std::int32_t StartXferFromFile(const char* fileName, const char* portName,
                                   std::int32_t& result);
    // Releases whatever the download still holds and destroys the progress dialog; always 0.
    std::int32_t TerminateXfer();

  private:
    CXferProgressDlg* m_pProgressDlg = nullptr;
    ui::Window* m_pParent = nullptr;
};
