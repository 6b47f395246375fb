#include "platform/ui/HeadlessUser.h"

#include <poll.h>

#include <chrono>
#include <cmath>

#include "platform/sys/Time.h"
#include "platform/ui/Button.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/ListView.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/UiThread.h"
#include "platform/ui/Unattended.h"
#include "platform/ui/UpDown.h"

namespace ui {

namespace {

// How long an answer for a message box that never comes is kept (scaled) while nothing else
// can happen.
constexpr std::uint32_t kPatienceMs = 2000;

bool Readable(int descriptor, std::chrono::nanoseconds timeout) {
    int ms = timeout.count() < 0
                 ? -1
                 : static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(timeout).count());
    pollfd wake{descriptor, POLLIN, 0};
    return poll(&wake, 1, ms) > 0;
}

std::string IdText(int id) {
    return "control " + std::to_string(id);
}

}  // namespace

HeadlessUser::HeadlessUser(Clock clock)
    : m_pPrevious(UiThread::Current().OwnFrontEnd()), m_bManual(clock == Clock::Manual) {
    UiThread& thread = UiThread::Current();
    thread.SetFrontEnd(this);
    thread.SetManualClock(m_bManual);
}

HeadlessUser::~HeadlessUser() {
    UiThread& thread = UiThread::Current();
    thread.SetManualClock(false);
    thread.SetFrontEnd(m_pPrevious);
}

HeadlessUser& HeadlessUser::Add(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

HeadlessUser& HeadlessUser::Act(std::string what, std::function<bool()> act) {
    Step step;
    step.what = std::move(what);
    step.act = std::move(act);
    return Add(std::move(step));
}

bool HeadlessUser::Control(int id, const std::string& what, Window** control) {
    *control = Find(id);
    if (!*control) {
        Problem(what + ": no " + IdText(id));
        return false;
    }
    for (Window* window = *control; window; window = window->Parent()) {
        if (!window->IsEnabled() || !window->IsVisible()) {
            Problem(what + ": " + IdText(id) + " is disabled or hidden");
            return false;
        }
    }
    return true;
}

HeadlessUser& HeadlessUser::Click(int id) {
    return Act("click " + IdText(id), [this, id] {
        Window* control;
        if (!Control(id, "click", &control)) {
            return true;
        }
        auto* button = dynamic_cast<Button*>(control);
        return button && button->Click();
    });
}

HeadlessUser& HeadlessUser::Tick(int id) {
    return Act("tick " + IdText(id), [this, id] {
        Window* control;
        if (!Control(id, "tick", &control)) {
            return true;
        }
        auto* box = dynamic_cast<Button*>(control);
        return box && box->Kind() == WindowKind::CheckBox && (box->IsChecked() || box->Click());
    });
}

HeadlessUser& HeadlessUser::Untick(int id) {
    return Act("untick " + IdText(id), [this, id] {
        Window* control;
        if (!Control(id, "untick", &control)) {
            return true;
        }
        auto* box = dynamic_cast<Button*>(control);
        return box && box->Kind() == WindowKind::CheckBox && (!box->IsChecked() || box->Click());
    });
}

HeadlessUser& HeadlessUser::Type(int id, std::string text) {
    return Act("type into " + IdText(id), [this, id, text] {
        Window* control;
        if (!Control(id, "type", &control)) {
            return true;
        }
        auto* edit = dynamic_cast<Edit*>(control);
        if (!edit) {
            return false;
        }
        edit->SetFocus();
        edit->SelectAll();
        if (text.empty()) {
            edit->Backspace();
        }
        for (char c : text) {
            edit->TypeCharacter(c);  // refused characters are lost, as for a user
        }
        return true;
    });
}

HeadlessUser& HeadlessUser::Choose(int id, std::string entry) {
    return Act("choose \"" + entry + "\" in " + IdText(id), [this, id, entry] {
        Window* control;
        if (!Control(id, "choose", &control)) {
            return true;
        }
        auto* list = dynamic_cast<DropDownList*>(control);
        return list && list->Choose(list->FindExact(entry));
    });
}

HeadlessUser& HeadlessUser::Choose(int id, int index) {
    return Act("choose entry " + std::to_string(index) + " in " + IdText(id), [this, id, index] {
        Window* control;
        if (!Control(id, "choose", &control)) {
            return true;
        }
        auto* list = dynamic_cast<DropDownList*>(control);
        return list && list->Choose(index);
    });
}

namespace {

std::function<bool()> ClickRow(HeadlessUser* user, int id, int item, MouseButton button,
                               bool bDouble) {
    return [user, id, item, button, bDouble] {
        auto* list = dynamic_cast<ListView*>(user->Find(id));
        return list && list->ClickItem(item, button, bDouble);
    };
}

}  // namespace

HeadlessUser& HeadlessUser::ClickItem(int id, int item) {
    return Act("click row " + std::to_string(item) + " of " + IdText(id),
               ClickRow(this, id, item, MouseButton::Left, false));
}

HeadlessUser& HeadlessUser::DoubleClickItem(int id, int item) {
    return Act("double-click row " + std::to_string(item) + " of " + IdText(id),
               ClickRow(this, id, item, MouseButton::Left, true));
}

HeadlessUser& HeadlessUser::RightClickItem(int id, int item) {
    return Act("right-click row " + std::to_string(item) + " of " + IdText(id),
               ClickRow(this, id, item, MouseButton::Right, false));
}

HeadlessUser& HeadlessUser::RightDoubleClickItem(int id, int item) {
    return Act("right-double-click row " + std::to_string(item) + " of " + IdText(id),
               ClickRow(this, id, item, MouseButton::Right, true));
}

HeadlessUser& HeadlessUser::Rename(int id, int item, std::string text) {
    return Act("rename row " + std::to_string(item) + " of " + IdText(id), [this, id, item, text] {
        auto* list = dynamic_cast<ListView*>(Find(id));
        if (!list) {
            return false;
        }
        list->SetFocus();
        if (!list->BeginRename(item)) {
            return false;
        }
        list->RenameText() = text;
        list->EndRename(false);
        return true;
    });
}

HeadlessUser& HeadlessUser::CancelRename(int id, int item) {
    return Act("cancel renaming row " + std::to_string(item) + " of " + IdText(id),
               [this, id, item] {
                   auto* list = dynamic_cast<ListView*>(Find(id));
                   if (!list || !list->BeginRename(item)) {
                       return false;
                   }
                   list->EndRename(true);
                   return true;
               });
}

HeadlessUser& HeadlessUser::Arrow(int upDownId, int delta) {
    return Act("arrows of " + IdText(upDownId), [this, upDownId, delta] {
        Window* control;
        if (!Control(upDownId, "arrow", &control)) {
            return true;
        }
        auto* upDown = dynamic_cast<UpDown*>(control);
        if (!upDown) {
            return false;
        }
        for (int i = 0; i < std::abs(delta); ++i) {
            upDown->Step(delta > 0 ? 1 : -1);  // at the end of the range nothing moves
        }
        return true;
    });
}

HeadlessUser& HeadlessUser::Press(Key key) {
    KeyEvent event;
    event.key = key;
    return Press(event);
}

HeadlessUser& HeadlessUser::Press(KeyEvent key) {
    return Act("press a key", [this, key] {
        Window* top = Active();
        if (!top) {
            return false;
        }
        InputEvent event;
        event.type = InputEvent::Type::Key;
        event.key = key;
        HandleInput(*top, event);
        return true;
    });
}

HeadlessUser& HeadlessUser::PressAlt(char letter) {
    KeyEvent key;
    key.key = Key::Character;
    key.character = letter;
    key.bAlt = true;
    return Press(key);
}

HeadlessUser& HeadlessUser::ChooseTab(int index) {
    return Act("choose tab " + std::to_string(index), [this, index] {
        auto* sheet = dynamic_cast<PropertySheet*>(Active());
        if (!sheet || !sheet->Page(index)) {
            return false;
        }
        sheet->SetActivePage(index);  // the active page may refuse: the user stays there
        return true;
    });
}

HeadlessUser& HeadlessUser::Answer(int button) {
    Step step;
    step.type = Step::Type::Answer;
    step.what = "answer a message box with " + std::to_string(button);
    step.answer = button;
    return Add(std::move(step));
}

HeadlessUser& HeadlessUser::ChooseFile(std::string path) {
    Step step;
    step.type = Step::Type::File;
    step.what = "choose the file " + path;
    step.path = std::move(path);
    return Add(std::move(step));
}

HeadlessUser& HeadlessUser::CancelFileDialog() {
    Step step;
    step.type = Step::Type::File;
    step.what = "cancel a file dialog";
    step.bCancel = true;
    return Add(std::move(step));
}

HeadlessUser& HeadlessUser::Wait(std::uint32_t ms) {
    Step step;
    step.type = Step::Type::Wait;
    step.what = "wait " + std::to_string(ms) + " ms";
    step.ms = ms;
    return Add(std::move(step));
}

HeadlessUser& HeadlessUser::WaitUntil(std::function<bool()> condition) {
    Step step;
    step.type = Step::Type::Until;
    step.what = "wait for a condition";
    step.act = std::move(condition);
    return Add(std::move(step));
}

HeadlessUser& HeadlessUser::Then(std::function<void()> look) {
    return Act("look", [look = std::move(look)] {
        look();
        return true;
    });
}

void HeadlessUser::RunOnItsOwn(int wakeDescriptor, std::chrono::nanoseconds timeout) {
    UiThread& thread = UiThread::Current();
    if (!m_bManual) {
        Readable(wakeDescriptor, timeout);
        return;
    }
    double next = thread.NextTimerIn();
    auto wait = next >= 0 ? std::chrono::nanoseconds(std::chrono::milliseconds(10)) : timeout;
    if (!Readable(wakeDescriptor, wait) && next >= 0) {
        thread.AdvanceClock(next);
    }
}

InputEvent HeadlessUser::WaitForInput(int wakeDescriptor, std::chrono::nanoseconds timeout) {
    UiThread& thread = UiThread::Current();
    if (m_steps.empty()) {
        RunOnItsOwn(wakeDescriptor, timeout);
        return {};
    }
    Step& step = m_steps.front();
    switch (step.type) {
        case Step::Type::Act: {
            Step taken = std::move(step);
            m_steps.pop_front();
            if (!taken.act()) {
                Problem("could not " + taken.what);
            }
            return {};
        }
        case Step::Type::Answer:
        case Step::Type::File: {
            // The prompt may still come from a timer or another thread's message.
            double next = thread.NextTimerIn();
            auto patience = sys::Scaled(kPatienceMs);
            if (next < 0 && !Readable(wakeDescriptor, patience) && !m_steps.empty() &&
                &m_steps.front() == &step) {
                Problem("nothing asked to " + step.what);
                m_steps.pop_front();
            } else if (next >= 0) {
                RunOnItsOwn(wakeDescriptor,
                            timeout.count() >= 0 ? std::min(timeout, patience) : patience);
            }
            return {};
        }
        case Step::Type::Wait: {
            if (step.until < 0) {
                step.until = thread.Now() + step.ms;
            }
            double left = step.until - thread.Now();
            if (left <= 0) {
                m_steps.pop_front();
                return {};
            }
            if (m_bManual) {
                double next = thread.NextTimerIn();
                if (next >= 0 && next <= left) {
                    thread.AdvanceClock(next);  // timers due within the wait, its end included
                } else {
                    thread.AdvanceClock(left);
                    m_steps.pop_front();
                }
                return {};
            }
            auto real = sys::Scaled(static_cast<std::uint32_t>(std::ceil(left)));
            Readable(wakeDescriptor, timeout.count() >= 0 ? std::min(real, timeout) : real);
            return {};
        }
        case Step::Type::Until: {
            if (step.act()) {
                m_steps.pop_front();
                return {};
            }
            auto slice = std::chrono::nanoseconds(std::chrono::milliseconds(5));
            RunOnItsOwn(wakeDescriptor, timeout.count() >= 0 ? std::min(slice, timeout) : slice);
            return {};
        }
    }
    return {};
}

void HeadlessUser::BusyChanged(bool bBusy) {
    if (bBusy) {
        ++m_nBusyMarks;
    }
    m_bBusy.store(bBusy);
}

int HeadlessUser::MessageBox(const MessageBoxRequest& request) {
    ShownBox box{request, request.defaultButton, false};
    if (!m_steps.empty() && m_steps.front().type == Step::Type::Answer) {
        int answer = m_steps.front().answer;
        m_steps.pop_front();
        bool bFits = request.buttons == Buttons::Ok      ? answer == kIdOk
                     : request.buttons == Buttons::YesNo ? (answer == kIdYes || answer == kIdNo)
                                                         : (answer == kIdOk || answer == kIdCancel);
        if (bFits) {
            box.answer = answer;
            box.bScripted = true;
        } else {
            Problem("the message box \"" + OneLine(request.text) + "\" has no button " +
                    std::to_string(answer));
        }
    } else if (!m_steps.empty()) {
        Problem("unexpected message box \"" + OneLine(request.text) + "\"");
    }
    m_boxes.push_back(box);
    return box.answer;
}

bool HeadlessUser::OpenFile(const OpenFileRequest& request, std::string* chosen) {
    m_files.push_back(request);
    if (m_steps.empty() || m_steps.front().type != Step::Type::File) {
        if (!m_steps.empty()) {
            Problem("unexpected file dialog");
        }
        return false;
    }
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    if (step.bCancel) {
        return false;
    }
    *chosen = step.path;
    return true;
}

Window* HeadlessUser::Active() const {
    UiThread& thread = UiThread::Current();
    Window* top = thread.ActiveModal();
    if (HelpViewer* help = OpenHelpViewer(); !top && help) {
        top = help;
    }
    return top;
}

Window* HeadlessUser::Find(int id) const {
    Window* top = Active();
    if (!top) {
        return nullptr;
    }
    if (auto* sheet = dynamic_cast<PropertySheet*>(top)) {
        if (PropertyPage* page = sheet->ActivePage()) {
            if (Window* control = page->Item(id)) {
                return control;
            }
        }
    }
    return top->Item(id);
}

std::string HeadlessUser::Text(int id) const {
    Window* control = Find(id);
    return control ? control->Text() : std::string();
}

bool HeadlessUser::IsEnabled(int id) const {
    Window* control = Find(id);
    return control && control->IsEnabled();
}

bool HeadlessUser::IsVisible(int id) const {
    Window* control = Find(id);
    return control && control->IsVisible();
}

bool HeadlessUser::IsChecked(int id) const {
    auto* box = dynamic_cast<Button*>(Find(id));
    return box && box->IsChecked();
}

int HeadlessUser::Selection(int id) const {
    Window* control = Find(id);
    if (auto* drop = dynamic_cast<DropDownList*>(control)) {
        return drop->CurSel();
    }
    if (auto* list = dynamic_cast<ListView*>(control)) {
        return list->FirstSelected();
    }
    return -1;
}

std::vector<std::string> HeadlessUser::Items(int id) const {
    std::vector<std::string> items;
    Window* control = Find(id);
    if (auto* drop = dynamic_cast<DropDownList*>(control)) {
        for (int i = 0; i < drop->Count(); ++i) {
            items.push_back(drop->ItemText(i));
        }
    } else if (auto* list = dynamic_cast<ListView*>(control)) {
        for (int i = 0; i < list->ItemCount(); ++i) {
            items.push_back(list->ItemText(i));
        }
    }
    return items;
}

int HeadlessUser::FocusId() const {
    Window* focus = Window::Focus();
    return focus ? focus->Id() : 0;
}

bool HeadlessUser::IsAllSelected(int id) const {
    auto* edit = dynamic_cast<Edit*>(Find(id));
    return edit && edit->SelectionStart() == 0 && edit->SelectionEnd() == edit->Text().size();
}

std::string HeadlessUser::Title() const {
    Window* top = Active();
    return top ? top->Text() : std::string();
}

std::vector<std::string> HeadlessUser::Tabs() const {
    std::vector<std::string> tabs;
    if (auto* sheet = dynamic_cast<PropertySheet*>(Active())) {
        for (int i = 0; i < sheet->PageCount(); ++i) {
            tabs.push_back(sheet->Page(i)->Caption());
        }
    }
    return tabs;
}

int HeadlessUser::ActiveTab() const {
    auto* sheet = dynamic_cast<PropertySheet*>(Active());
    return sheet ? sheet->ActiveIndex() : -1;
}

HelpViewer* HeadlessUser::Help() const {
    return OpenHelpViewer();
}

}  // namespace ui
