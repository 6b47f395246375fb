#include "platform/ui/HelpViewer.h"

#include <memory>

#include "platform/help/HelpFile.h"
#include "platform/ui/FrontEnd.h"
#include "platform/ui/UiThread.h"

namespace ui {

namespace {

constexpr std::uint32_t kViewerTemplate = 1;

bool IsWithin(const Window* window, const Window& top) {
    for (; window; window = window->Parent()) {
        if (window == &top) {
            return true;
        }
    }
    return false;
}

std::unique_ptr<HelpViewer>& ThreadViewer() {
    UiThread::Current();  // made first, so it is destroyed after the viewer at thread exit
    thread_local std::unique_ptr<HelpViewer> viewer;
    return viewer;
}

}  // namespace

const Module& ToolkitModule() {
    static const Module* module = [] {
        auto* toolkit = new Module("platform_ui");  // never destroyed: windows may outlive statics
        toolkit->AddDialog(
            DialogTemplate{kViewerTemplate,
                           "Help",
                           240,
                           160,
                           style::kCaption | style::kSystemMenu,
                           {
                               {ControlKind::Text, HelpViewer::kTextId, "", Rect{4, 4, 232, 132}},
                               {ControlKind::PushButton, kIdCancel, "&Close",
                                Rect{186, 142, 50, 14}, style::kDefaultButton},
                           }});
        return toolkit;
    }();
    return *module;
}

HelpViewer::HelpViewer() : Dialog(ToolkitModule(), kViewerTemplate) {}

void HelpViewer::Fill(Window* owner, const std::filesystem::path& file, std::uint32_t topic,
                      std::string title, std::string text) {
    m_file = file;
    m_nTopic = topic;
    m_title = std::move(title);
    m_text = std::move(text);
    if (Window* focus = Window::Focus(); focus && !IsWithin(focus, *this)) {
        m_pReturnFocus = focus;
        m_hReturnFocus = focus->Handle();
    }
    if (!Exists()) {
        CreateFromTemplate(nullptr, owner);
    } else {
        SetOwner(owner);
    }
    SetText(m_title.empty() ? "Help" : m_title);
    Item(kTextId)->SetText(m_text);
}

void HelpViewer::RunModal() {
    if (!Exists()) {
        return;
    }
    m_bModal = true;
    UiThread::Current().RunModal(*this, [this] { return IsEnded() || !Exists(); });
    m_bModal = false;
    Destroy();
}

void HelpViewer::Close() {
    if (m_bModal) {
        EndDialog(kIdCancel);
    } else {
        Destroy();
    }
}

void HelpViewer::OnOK() {
    Close();
}

void HelpViewer::OnCancel() {
    Close();
}

void HelpViewer::OnDestroy() {
    // Handles are never reused: a live one means the control is still there.
    if (m_hReturnFocus && sys::IsWindowEndpoint(m_hReturnFocus)) {
        m_pReturnFocus->SetFocus();
    }
    m_pReturnFocus = nullptr;
    m_hReturnFocus = 0;
    Dialog::OnDestroy();
}

bool ShowHelp(Window* owner, const std::filesystem::path& file, std::uint32_t topic) {
    help::Topic found;
    if (help::FindHelpTopic(file, topic, found) != help::Status::Ok) {
        return false;
    }
    auto& viewer = ThreadViewer();
    if (!viewer) {
        viewer = std::make_unique<HelpViewer>();
    }
    viewer->Fill(owner, file, topic, std::move(found.title), std::move(found.text));
    UiThread::Current().Front().HelpShown(*viewer);
    return true;
}

HelpViewer* OpenHelpViewer() {
    auto& viewer = ThreadViewer();
    return viewer && viewer->Exists() ? viewer.get() : nullptr;
}

}  // namespace ui
