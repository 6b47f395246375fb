#include "platform/ui/PropertySheet.h"

#include <algorithm>

#include "platform/ui/UiThread.h"

namespace ui {

namespace {

// Room around the pages, in dialog units: a row of tabs above, a row of buttons below.
constexpr int kMargin = 4;
constexpr int kTabsHeight = 14;
constexpr int kButtonWidth = 50;
constexpr int kButtonHeight = 14;
constexpr int kButtonGap = 4;

}  // namespace

PropertySheet::PropertySheet(std::string title, Window* parent, int startPage)
    : m_title(std::move(title)), m_pParentWindow(parent), m_nStart(startPage) {}

PropertySheet::~PropertySheet() {
    Destroy();
}

void PropertySheet::AddPage(PropertyPage* page) {
    if (page && std::find(m_pages.begin(), m_pages.end(), page) == m_pages.end()) {
        page->m_pSheet = this;
        m_pages.push_back(page);
        Changed();
    }
}

void PropertySheet::RemovePage(PropertyPage* page) {
    auto it = std::find(m_pages.begin(), m_pages.end(), page);
    if (it == m_pages.end()) {
        return;
    }
    int index = static_cast<int>(it - m_pages.begin());
    page->Destroy();
    page->m_pSheet = nullptr;
    m_pages.erase(it);
    if (m_nActive == index) {
        m_nActive = -1;
        if (Exists() && !m_pages.empty()) {
            ShowPage(std::min(index, PageCount() - 1));
        }
    } else if (m_nActive > index) {
        --m_nActive;
    }
    Changed();
}

void PropertySheet::RemovePage(int index) {
    RemovePage(Page(index));
}

PropertyPage* PropertySheet::Page(int index) const {
    return index >= 0 && index < PageCount() ? m_pages[index] : nullptr;
}

int PropertySheet::DoModal() {
    if (m_pages.empty()) {
        return -1;
    }
    UiThread& thread = UiThread::Current();
    Window* previousFocus = thread.focus;
    sys::WindowHandle previousHandle = previousFocus ? previousFocus->Handle() : 0;

    int pageWidth = 0;
    int pageHeight = 0;
    for (PropertyPage* page : m_pages) {
        if (const DialogTemplate* dialog = page->GetModule().Dialog(page->TemplateId())) {
            pageWidth = std::max(pageWidth, dialog->cx);
            pageHeight = std::max(pageHeight, dialog->cy);
        }
    }
    m_bEnded = false;
    m_nResult = 0;
    m_nActive = -1;
    SetOwner(m_pParentWindow ? m_pParentWindow : thread.ActiveModal());
    int buttonsTop = kMargin + kTabsHeight + pageHeight + kMargin;
    Create(nullptr, 0, m_title,
           Rect{0, 0, pageWidth + 2 * kMargin, buttonsTop + kButtonHeight + kMargin},
           style::kCaption | style::kSystemMenu);

    std::vector<std::pair<int, const char*>> buttons = {{kIdOk, "OK"}, {kIdCancel, "Cancel"}};
    if (!m_bNoApply) {
        buttons.push_back({kIdApply, "&Apply"});
    }
    buttons.push_back({kIdHelpButton, "&Help"});
    int x = Bounds().cx - kMargin - static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) +
            kButtonGap;
    for (auto [id, text] : buttons) {
        ControlTemplate line{ControlKind::PushButton, id, text,
                             Rect{x, buttonsTop, kButtonWidth, kButtonHeight},
                             id == kIdOk ? style::kDefaultButton : 0u};
        if (id == kIdHelpButton) {
            line.style |= style::kKeepFocus;  // help is about where the user was
        }
        if (id == kIdApply) {
            line.style |= style::kDisabled;  // nothing to apply until a page says so
        }
        auto button = std::make_unique<Button>(ControlKind::PushButton);
        button->Create(this, line, ToolkitModule());
        m_buttons.push_back(std::move(button));
        x += kButtonWidth + kButtonGap;
    }

    int start = m_nStart >= 0 && m_nStart < PageCount() ? m_nStart : 0;
    if (!ShowPage(start)) {
        Destroy();
        return -1;
    }
    OnInitDialog();
    thread.RunModal(*this, [this] { return m_bEnded; });
    for (PropertyPage* page : m_pages) {
        page->Destroy();
    }
    Destroy();
    m_buttons.clear();
    m_nActive = -1;
    if (previousHandle && sys::IsWindowEndpoint(previousHandle)) {
        previousFocus->SetFocus();
    }
    return m_nResult;
}

bool PropertySheet::ShowPage(int index) {
    PropertyPage* page = Page(index);
    if (!page) {
        return false;
    }
    if (!page->Exists()) {
        if (!page->CreateFromTemplate(this, nullptr)) {
            return false;
        }
        page->Move(kMargin, kMargin + kTabsHeight);
        page->Show(false);
        if (page->OnInitDialog()) {
            page->StartFocus();
        }
    }
    if (PropertyPage* previous = ActivePage(); previous && previous != page) {
        previous->Show(false);
    }
    m_nActive = index;
    page->Show(true);
    UpdateHelpButton();
    page->OnSetActive();
    Changed();
    return true;
}

bool PropertySheet::SetActivePage(int index) {
    if (!Page(index)) {
        return false;
    }
    if (index == m_nActive) {
        return true;
    }
    if (PropertyPage* active = ActivePage(); active && !active->OnKillActive()) {
        return false;
    }
    if (!ShowPage(index)) {
        return false;
    }
    ActivePage()->StartFocus();
    return true;
}

void PropertySheet::UpdateHelpButton() {
    if (Window* help = Item(kIdHelpButton)) {
        help->Enable(ActivePage() && ActivePage()->HasHelp());
    }
}

void PropertySheet::PressButton(int id) {
    if (auto* button = dynamic_cast<Button*>(Item(id))) {
        button->Click();
    }
}

void PropertySheet::Ok() {
    if (PropertyPage* active = ActivePage(); active && !active->OnKillActive()) {
        return;
    }
    for (PropertyPage* page : m_pages) {
        if (page->Exists()) {
            page->OnOK();
        }
    }
    EndSheet(kIdOk);
}

void PropertySheet::Cancel() {
    for (PropertyPage* page : m_pages) {
        if (page->Exists()) {
            page->OnCancel();
        }
    }
    EndSheet(kIdCancel);
}

void PropertySheet::EndSheet(int code) {
    m_nResult = code;
    m_bEnded = true;
}

bool PropertySheet::OnInitDialog() {
    return true;
}

bool PropertySheet::OnCommand(int id, int) {
    switch (id) {
        case kIdOk:
            Ok();
            return true;
        case kIdCancel:
            Cancel();
            return true;
        case kIdHelpButton:
        case kHelpCommand:
            if (PropertyPage* active = ActivePage(); active && active->HasHelp()) {
                active->Send(kCommandMessage, static_cast<std::uintptr_t>(kHelpCommand), 0);
            }
            return true;
    }
    return false;
}

void PropertySheet::OnClose() {
    Cancel();
}

}  // namespace ui
