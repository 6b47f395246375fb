#include "platform/tui/TerminalFrontEnd.h"

#include <algorithm>

#include "platform/tui/FileOpenDialog.h"
#include "platform/tui/KeyMap.h"
#include "platform/tui/MessageBoxDialog.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/Window.h"

namespace tui {

TerminalFrontEnd::TerminalFrontEnd(Display& display, Input& input)
    : m_display(display), m_input(input) {
    m_screen.Resize(display.Columns(), display.Rows());
}

void TerminalFrontEnd::ModalStarted(ui::Window& top) {
    m_windows.push_back(&top);
    m_painter.SetDropped(nullptr);
    m_bDirty = true;
}

void TerminalFrontEnd::ModalEnded(ui::Window& top) {
    std::erase(m_windows, &top);
    m_painter.SetDropped(nullptr);
    m_bDirty = true;
    if (m_windows.empty()) {
        // Between windows the program's own output reaches the terminal as usual.
        m_display.Suspend();
        m_bSuspended = true;
    }
}

void TerminalFrontEnd::Changed(ui::Window&) {
    m_bDirty = true;
}

void TerminalFrontEnd::BusyChanged(bool bBusy) {
    m_bBusy = bBusy;
    m_bDirty = true;
    if (!m_windows.empty()) {
        Refresh();  // the thread is about to block: the mark must be seen now
    }
}

void TerminalFrontEnd::Refresh() {
    if (m_screen.Columns() != m_display.Columns() || m_screen.Rows() != m_display.Rows()) {
        m_screen.Resize(m_display.Columns(), m_display.Rows());
    }
    if (m_bSuspended) {
        m_screen.Invalidate();
        m_bSuspended = false;
    }
    m_painter.Paint(m_screen, m_windows, m_bBusy);
    for (const ScreenBuffer::Span& span : m_screen.Damage()) {
        m_display.Write(span.column, span.row, m_screen.RowCells(span.row) + span.column,
                        span.length);
    }
    const Painter::Cursor& cursor = m_painter.CursorPlace();
    m_display.SetCursor(cursor.column, cursor.row, cursor.bVisible);
    m_display.Flush();
    m_screen.MarkShown();
    m_bDirty = false;
}

ui::InputEvent TerminalFrontEnd::WaitForInput(int wakeDescriptor,
                                              std::chrono::nanoseconds timeout) {
    if (m_bDirty) {
        Refresh();
    }
    TerminalEvent event = m_input.Wait(wakeDescriptor, timeout);
    ui::InputEvent result;
    switch (event.type) {
        case TerminalEvent::Type::None:
            return result;
        case TerminalEvent::Type::Resize:
            m_screen.Resize(m_display.Columns(), m_display.Rows());
            m_painter.SetDropped(nullptr);
            Refresh();
            return result;
        case TerminalEvent::Type::Key: {
            ui::KeyEvent key = MapKey(event.key);
            // Nothing is acted on that the user cannot see.
            if (key.key == ui::Key::None || m_painter.IsTooSmall() || TakeKey(key)) {
                return result;
            }
            result.type = ui::InputEvent::Type::Key;
            result.key = key;
            return result;
        }
        case TerminalEvent::Type::Mouse: {
            if (m_painter.IsTooSmall()) {
                return result;
            }
            HitMap::Hit hit = m_painter.Hits().At(event.column, event.row);
            if (!hit.window || TakeClick(hit, event)) {
                return result;
            }
            result.type = ui::InputEvent::Type::Mouse;
            result.mouse.target = hit.window;
            result.mouse.item = hit.item;
            result.mouse.button = event.button;
            result.mouse.bDouble = event.bDouble;
            return result;
        }
    }
    return result;
}

bool TerminalFrontEnd::TakeKey(const ui::KeyEvent& key) {
    ui::Window* top = Top();
    if (!top) {
        return false;
    }
    if (top->Kind() == ui::WindowKind::HelpViewer) {
        ui::Window* text = top->Item(ui::HelpViewer::kTextId);
        int page = text ? std::max(1, ui::DialogUnitsToCells(text->Bounds()).rows - 1) : 1;
        int delta = 0;
        switch (key.key) {
            case ui::Key::Up:
                delta = -1;
                break;
            case ui::Key::Down:
                delta = 1;
                break;
            case ui::Key::PageUp:
                delta = -page;
                break;
            case ui::Key::PageDown:
            case ui::Key::Space:
                delta = page;
                break;
            default:
                break;
        }
        if (delta != 0) {
            if (text && m_painter.ScrollText(*text, delta)) {
                m_bDirty = true;
            }
            return true;
        }
    }
    ui::DropDownList* dropped = m_painter.Dropped();
    if (dropped) {
        // The entries close with Enter, Esc or Space; arrows still pick.
        if (key.key == ui::Key::Enter || key.key == ui::Key::Escape || key.key == ui::Key::Space) {
            m_painter.SetDropped(nullptr);
            m_bDirty = true;
            return true;
        }
        if (key.key == ui::Key::Tab) {
            m_painter.SetDropped(nullptr);
            m_bDirty = true;
        }
        return false;
    }
    auto* drop = dynamic_cast<ui::DropDownList*>(ui::Window::Focus());
    if (drop && drop->IsEnabled() && key.bAlt && key.key == ui::Key::Down) {
        m_painter.SetDropped(drop);
        m_bDirty = true;
        return true;
    }
    return false;
}

bool TerminalFrontEnd::TakeClick(const HitMap::Hit& hit, const TerminalEvent& event) {
    ui::Window* top = Top();
    if (hit.item == Painter::kCloseBox) {
        if (hit.window == top && event.button == ui::MouseButton::Left) {
            top->Post(ui::kCloseMessage);
        }
        return true;
    }
    ui::DropDownList* dropped = m_painter.Dropped();
    auto* drop = dynamic_cast<ui::DropDownList*>(hit.window);
    if (dropped) {
        // Any click closes the entries; one on an entry also picks it.
        m_painter.SetDropped(nullptr);
        m_bDirty = true;
        return drop == dropped && hit.item < 0;
    }
    if (drop && hit.item < 0 && event.button == ui::MouseButton::Left && drop->IsEnabled()) {
        m_painter.SetDropped(drop);  // shown once the click has given it the focus
        m_bDirty = true;
    }
    return false;
}

int TerminalFrontEnd::MessageBox(const ui::MessageBoxRequest& request) {
    MessageBoxDialog dialog(request);
    return dialog.Run();
}

bool TerminalFrontEnd::OpenFile(const ui::OpenFileRequest& request, std::string* chosen) {
    FileOpenDialog dialog(request);
    if (!dialog.Run()) {
        return false;
    }
    if (chosen) {
        *chosen = dialog.Chosen();
    }
    return true;
}

void TerminalFrontEnd::HelpShown(ui::HelpViewer& viewer) {
    viewer.RunModal();
}

}  // namespace tui
