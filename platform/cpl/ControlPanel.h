// The host's window: a dialog listing the applets of the loaded files with their icons and
// names, the selected applet's description under the list. Enter, the Open button or a double
// click opens the selected applet; Esc or Close ends the host.
//
// The panel owns the applet files. It loads them when its window is created (the applets get
// the window with every message) and unloads them when the window goes away. With `bOpenAtOnce`
// it opens the first applet of the first file as soon as it runs and ends when that applet
// returns, as a Control Panel started with an applet's file name does. Used on one
// user-interface thread.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/cpl/AppletFile.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ImageList.h"

class CControlPanel : public ui::Dialog {
  public:
    CControlPanel(std::vector<std::filesystem::path> files, bool bOpenAtOnce);

    // The host's resources: the panel's template and its texts.
    static const ui::Module& HostModule();

    // Control identifiers of the panel's template.
    static constexpr int kIdList = 1000;
    static constexpr int kIdDescription = 1001;

    // Files that failed to load, with the reason; filled while the window is created.
    const std::vector<std::string>& Failures() const { return m_failures; }

  protected:
    bool OnInitDialog() override;
    void OnOK() override;
    ui::MessageResult OnNotify(const ui::Notification& notification) override;
    void OnTimer(std::uint32_t id) override;
    void OnDestroy() override;
    ui::MessageResult WindowProc(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) override;

  private:
    struct Entry {
        CAppletFile* file;
        int applet;
    };

    void OpenSelected();
    void ShowDescription();

    std::vector<std::filesystem::path> m_files;
    bool m_bOpenAtOnce;
    std::vector<std::unique_ptr<CAppletFile>> m_loaded;
    std::vector<Entry> m_entries;  // one per list row, in row order
    std::vector<std::string> m_failures;
    ui::ImageList m_images;
    int m_nShownRow = -2;
};
