#include "platform/ui/Window.h"

#include <algorithm>

#include "platform/ui/FrontEnd.h"
#include "platform/ui/UiThread.h"

namespace ui {

Window::~Window() {
    Destroy();
}

void Window::Create(Window* parent, int id, std::string_view text, const Rect& bounds,
                    std::uint32_t style) {
    m_pParent = parent;
    m_nId = id;
    m_text = std::string(text);
    m_bounds = bounds;
    m_nStyle = style;
    m_bEnabled = (style & style::kDisabled) == 0;
    m_bVisible = (style & style::kHidden) == 0;
    m_handle = sys::CreateWindowEndpoint(
        [this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
            return WindowProc(message, wParam, lParam);
        });
    if (m_pParent) {
        m_pParent->m_children.push_back(this);
    }
    Changed();
}

void Window::Destroy() {
    if (!m_handle) {
        return;
    }
    // Children go first; a child's Destroy takes it out of m_children.
    while (!m_children.empty()) {
        m_children.back()->Destroy();
    }
    OnDestroy();
    UiThread::Current().ForgetWindow(*this);
    sys::DestroyWindowEndpoint(m_handle);
    m_handle = 0;
    if (m_pParent) {
        std::erase(m_pParent->m_children, this);
        m_pParent->Changed();
    }
}

void Window::Changed() {
    if (m_handle) {
        UiThread::Current().Front().Changed(*this);
    }
}

void Window::SetText(std::string_view text) {
    if (m_text != text) {
        m_text = std::string(text);
        Changed();
    }
}

void Window::Enable(bool bEnable) {
    if (m_bEnabled != bEnable) {
        m_bEnabled = bEnable;
        Changed();
    }
}

void Window::Show(bool bShow) {
    if (m_bVisible != bShow) {
        m_bVisible = bShow;
        Changed();
    }
}

void Window::Move(int x, int y) {
    m_bounds.x = x;
    m_bounds.y = y;
    Changed();
}

void Window::SetFocus() {
    UiThread& thread = UiThread::Current();
    if (thread.focus == this || !m_handle) {
        return;
    }
    Window* previous = thread.focus;
    thread.focus = this;
    if (previous) {
        previous->Changed();
    }
    Changed();
}

bool Window::HasFocus() const {
    return UiThread::Current().focus == this;
}

Window* Window::Focus() {
    return UiThread::Current().focus;
}

Window* Window::Item(int id) const {
    for (Window* child : m_children) {
        if (child->m_nId == id && child->Kind() != WindowKind::PropertyPage) {
            return child;
        }
    }
    return nullptr;
}

bool Window::SetTimer(std::uint32_t id, std::uint32_t ms) {
    return m_handle && UiThread::Current().SetTimer(*this, id, ms);
}

bool Window::KillTimer(std::uint32_t id) {
    return UiThread::Current().KillTimer(*this, id);
}

bool Window::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return sys::PostMessage(m_handle, message, wParam, lParam);
}

MessageResult Window::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    return sys::SendMessage(m_handle, message, wParam, lParam);
}

void Window::NotifyParent(int code) {
    if (m_pParent) {
        m_pParent->Send(kCommandMessage,
                        static_cast<std::uintptr_t>(static_cast<std::uint16_t>(m_nId)) |
                            static_cast<std::uintptr_t>(static_cast<std::uint16_t>(code)) << 16,
                        static_cast<std::intptr_t>(m_handle));
    }
}

MessageResult Window::NotifyParent(Notification notification) {
    if (!m_pParent) {
        return 0;
    }
    notification.from = this;
    notification.id = m_nId;
    return m_pParent->Send(kNotifyMessage, static_cast<std::uintptr_t>(m_nId),
                           reinterpret_cast<std::intptr_t>(&notification));
}

MessageResult Window::WindowProc(std::uint32_t message, std::uintptr_t wParam,
                                 std::intptr_t lParam) {
    switch (message) {
        case kCommandMessage: {
            int id = static_cast<int>(wParam & 0xFFFF);
            int code = static_cast<int>((wParam >> 16) & 0xFFFF);
            return OnCommand(id, code) ? 1 : 0;
        }
        case kNotifyMessage:
            return OnNotify(*reinterpret_cast<const Notification*>(lParam));
        case kTimerMessage:
            OnTimer(static_cast<std::uint32_t>(wParam));
            return 0;
        case kCloseMessage:
            OnClose();
            return 0;
    }
    return 0;
}

bool Window::OnCommand(int, int) {
    return false;
}

MessageResult Window::OnNotify(const Notification&) {
    return 0;
}

void Window::OnTimer(std::uint32_t) {}

void Window::OnClose() {}

void Window::OnDestroy() {}

}  // namespace ui
