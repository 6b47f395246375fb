#include "platform/ui/Dialog.h"

#include "platform/ui/Button.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListView.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Static.h"
#include "platform/ui/UiThread.h"
#include "platform/ui/UpDown.h"

namespace ui {

namespace {

std::unique_ptr<Control> MakeControl(ControlKind kind) {
    switch (kind) {
        case ControlKind::Text:
        case ControlKind::GroupBox:
        case ControlKind::EtchedLine:
        case ControlKind::Icon:
        case ControlKind::Picture:
            return std::make_unique<Static>(kind);
        case ControlKind::Edit:
            return std::make_unique<Edit>();
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
            return std::make_unique<Button>(kind);
        case ControlKind::DropDownList:
            return std::make_unique<DropDownList>();
        case ControlKind::ListView:
            return std::make_unique<ListView>();
        case ControlKind::UpDown:
            return std::make_unique<UpDown>();
        case ControlKind::ProgressBar:
            return std::make_unique<ProgressBar>();
    }
    return nullptr;
}

}  // namespace

Dialog::Dialog(const Module& module, std::uint32_t templateId, Window* parent)
    : m_module(module), m_nTemplateId(templateId), m_pParentWindow(parent) {}

bool Dialog::CreateFromTemplate(Window* parent, Window* owner) {
    const DialogTemplate* dialog = m_module.Dialog(m_nTemplateId);
    if (!dialog) {
        return false;
    }
    m_bEnded = false;
    m_nResult = 0;
    m_controls.clear();
    SetOwner(owner);
    Create(parent, 0, dialog->title, Rect{0, 0, dialog->cx, dialog->cy}, dialog->style);
    for (const ControlTemplate& line : dialog->controls) {
        auto control = MakeControl(line.kind);
        control->Create(this, line, m_module);
        m_controls.push_back(std::move(control));
    }
    return true;
}

void Dialog::StartFocus() {
    for (Window* child : Children()) {
        auto* control = dynamic_cast<Control*>(child);
        if (control && control->IsTabStop() && control->IsEnabled() && control->IsVisible()) {
            control->SetFocus();
            if (auto* edit = dynamic_cast<Edit*>(control)) {
                edit->SelectAll();
            }
            return;
        }
    }
}

int Dialog::DoModal() {
    UiThread& thread = UiThread::Current();
    Window* owner = m_pParentWindow ? m_pParentWindow : thread.ActiveModal();
    if (!CreateFromTemplate(nullptr, owner)) {
        return -1;
    }
    Window* previousFocus = thread.focus;
    sys::WindowHandle previousHandle = previousFocus ? previousFocus->Handle() : 0;
    if (OnInitDialog()) {
        StartFocus();
    }
    thread.RunModal(*this, [this] { return m_bEnded; });
    Destroy();
    m_controls.clear();
    // Back to the owner's control, as when a modal window closes, if it still exists (handles
    // are never reused, so a live handle means a live window).
    if (previousHandle && sys::IsWindowEndpoint(previousHandle)) {
        previousFocus->SetFocus();
    }
    return m_nResult;
}

void Dialog::EndDialog(int code) {
    m_nResult = code;
    m_bEnded = true;
}

bool Dialog::UpdateData(bool bSaveAndValidate) {
    DataExchange exchange(*this, bSaveAndValidate);
    DoDataExchange(exchange);
    return !exchange.Failed();
}

Button* Dialog::DefaultButton() const {
    for (Window* child : Children()) {
        auto* button = dynamic_cast<Button*>(child);
        if (button && button->IsDefault()) {
            return button;
        }
    }
    return nullptr;
}

bool Dialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void Dialog::DoDataExchange(DataExchange&) {}

void Dialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(kIdOk);
    }
}

void Dialog::OnCancel() {
    EndDialog(kIdCancel);
}

bool Dialog::OnCommand(int id, int) {
    if (id == kIdOk) {
        OnOK();
        return true;
    }
    if (id == kIdCancel) {
        OnCancel();
        return true;
    }
    return false;
}

void Dialog::OnClose() {
    OnCancel();
}

}  // namespace ui
