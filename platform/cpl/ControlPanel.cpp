#include "platform/cpl/ControlPanel.h"

#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"

namespace {

constexpr std::uint32_t kPanelDialog = 100;
constexpr std::uint32_t kOpenAtOnceMessage = ui::kUserMessage + 1;
// The list view tells nothing when the arrows move its selection: the description follows the
// focused row on this timer.
constexpr std::uint32_t kDescriptionTimer = 1;
constexpr std::uint32_t kDescriptionPeriodMs = 100;

ui::ControlTemplate Line(ui::ControlKind kind, int id, std::string text, ui::Rect rect,
                         std::uint32_t style) {
    ui::ControlTemplate line;
    line.kind = kind;
    line.id = id;
    line.text = std::move(text);
    line.rect = rect;
    line.style = style;
    return line;
}

ui::Module MakeHostModule() {
    using ui::ControlKind;
    namespace style = ui::style;
    ui::Module module("quilan-control");
    module.AddStrings({{ui::kTitleString, "Control Panel"}});
    ui::DialogTemplate panel;
    panel.id = kPanelDialog;
    panel.title = "Control Panel";
    panel.cx = 280;
    panel.cy = 152;
    panel.style = style::kCaption | style::kSystemMenu;
    panel.controls = {
        Line(ControlKind::ListView, CControlPanel::kIdList, "", {8, 8, 264, 96},
             style::kReportView | style::kSingleSelection | style::kAlignLeft),
        Line(ControlKind::Text, CControlPanel::kIdDescription, "", {8, 108, 264, 16}, 0),
        Line(ControlKind::PushButton, ui::kIdOk, "&Open", {164, 128, 48, 16},
             style::kDefaultButton),
        Line(ControlKind::PushButton, ui::kIdCancel, "Close", {220, 128, 48, 16}, 0),
    };
    module.AddDialog(std::move(panel));
    return module;
}

}  // namespace

const ui::Module& CControlPanel::HostModule() {
    static const ui::Module module = MakeHostModule();
    return module;
}

CControlPanel::CControlPanel(std::vector<std::filesystem::path> files, bool bOpenAtOnce)
    : ui::Dialog(HostModule(), kPanelDialog),
      m_files(std::move(files)),
      m_bOpenAtOnce(bOpenAtOnce) {}

bool CControlPanel::OnInitDialog() {
    ui::Dialog::OnInitDialog();
    auto* list = ItemAs<ui::ListView>(kIdList);
    list->InsertColumn(0, "Applet", 256);
    m_images.Create(32, 32, true, 4, 4);
    list->SetImageList(&m_images);

    for (const auto& path : m_files) {
        auto file = std::make_unique<CAppletFile>();
        std::string error;
        if (!file->Load(path.string(), Handle(), &error)) {
            m_failures.push_back(error);
            continue;
        }
        for (int n = 0; n < static_cast<int>(file->Applets().size()); ++n) {
            const CAppletFile::Applet& applet = file->Applets()[n];
            int image = m_images.Add(CplIconImage(applet.icon));
            list->InsertItem(list->ItemCount(), applet.name, image);
            m_entries.push_back({file.get(), n});
        }
        m_loaded.push_back(std::move(file));
    }
    for (const std::string& failure : m_failures) {
        ui::MessageBoxText(HostModule(), failure, ui::kOk | ui::kIconStop);
    }

    if (list->ItemCount() > 0) {
        list->SetItemState(0, ui::kItemSelected | ui::kItemFocused,
                           ui::kItemSelected | ui::kItemFocused);
    }
    Item(ui::kIdOk)->Enable(list->ItemCount() > 0);
    ShowDescription();
    SetTimer(kDescriptionTimer, kDescriptionPeriodMs);
    list->SetFocus();
    if (m_bOpenAtOnce) {
        Post(kOpenAtOnceMessage);
    }
    return false;
}

ui::MessageResult CControlPanel::WindowProc(std::uint32_t message, std::uintptr_t wParam,
                                            std::intptr_t lParam) {
    static const std::uint32_t windowObject = sys::RegisterWindowMessage(kCplWindowObjectMessage);
    if (message == windowObject) {
        return reinterpret_cast<ui::MessageResult>(static_cast<ui::Window*>(this));
    }
    if (message == kOpenAtOnceMessage) {
        if (!m_entries.empty()) {
            m_entries.front().file->Open(m_entries.front().applet);
        }
        EndDialog(m_entries.empty() ? ui::kIdCancel : ui::kIdOk);
        return 0;
    }
    return ui::Dialog::WindowProc(message, wParam, lParam);
}

void CControlPanel::OnOK() {
    OpenSelected();
}

ui::MessageResult CControlPanel::OnNotify(const ui::Notification& notification) {
    if (notification.id == kIdList) {
        ShowDescription();
        if (notification.code == ui::kItemDoubleClick && notification.item >= 0) {
            OpenSelected();
        }
        return 0;
    }
    return ui::Dialog::OnNotify(notification);
}

void CControlPanel::OnTimer(std::uint32_t id) {
    if (id == kDescriptionTimer) {
        ShowDescription();
    }
}

void CControlPanel::OpenSelected() {
    int row = ItemAs<ui::ListView>(kIdList)->FirstSelected();
    if (row >= 0 && row < static_cast<int>(m_entries.size())) {
        m_entries[row].file->Open(m_entries[row].applet);
    }
}

void CControlPanel::ShowDescription() {
    auto* list = ItemAs<ui::ListView>(kIdList);
    int row = list->FocusedItem() >= 0 ? list->FocusedItem() : list->FirstSelected();
    if (row == m_nShownRow) {
        return;
    }
    m_nShownRow = row;
    const bool bValid = row >= 0 && row < static_cast<int>(m_entries.size());
    Item(kIdDescription)
        ->SetText(bValid ? m_entries[row].file->Applets()[m_entries[row].applet].info : "");
}

void CControlPanel::OnDestroy() {
    // The applets hear CPL_STOP and CPL_EXIT while the window they were given still exists.
    KillTimer(kDescriptionTimer);
    m_entries.clear();
    m_loaded.clear();
    ui::Dialog::OnDestroy();
}
