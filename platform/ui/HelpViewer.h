// The help viewer: a toolkit window showing one topic of a help file (platform/help format).
//
// ShowHelp reads the file, fills the thread's viewer window (created on first use, reused
// afterwards, as help engines keep one window) and hands it to the front end, which either runs
// it modally or leaves it open beside the program's windows. The viewer belongs to the thread;
// the user closes it with its Close button or Esc, and the focus goes back to the control that
// had it when the help was asked for, if that still exists.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/ui/Dialog.h"

namespace ui {

class QUILAN_EXPORT HelpViewer : public Dialog {
  public:
    static constexpr int kTextId = 100;  // the static text holding the topic's text

    HelpViewer();
    WindowKind Kind() const override { return WindowKind::HelpViewer; }

    const std::filesystem::path& File() const { return m_file; }
    std::uint32_t TopicNumber() const { return m_nTopic; }
    const std::string& TopicTitle() const { return m_title; }
    const std::string& TopicText() const { return m_text; }

    // For a front end that shows the viewer modally: runs until the user closes it.
    void RunModal();
    void Close();

  private:
    friend bool ShowHelp(Window*, const std::filesystem::path&, std::uint32_t);
    void Fill(Window* owner, const std::filesystem::path& file, std::uint32_t topic,
              std::string title, std::string text);

    void OnOK() override;
    void OnCancel() override;
    void OnDestroy() override;

    std::filesystem::path m_file;
    std::uint32_t m_nTopic = 0;
    std::string m_title;
    std::string m_text;
    bool m_bModal = false;
    Window* m_pReturnFocus = nullptr;
    sys::WindowHandle m_hReturnFocus = 0;  // checked before m_pReturnFocus is used
};

// Shows the topic; false when the file cannot be read, is malformed or has no such topic.
QUILAN_EXPORT bool ShowHelp(Window* owner, const std::filesystem::path& file, std::uint32_t topic);

// The thread's viewer while its window is open; null otherwise.
QUILAN_EXPORT HelpViewer* OpenHelpViewer();

}  // namespace ui
