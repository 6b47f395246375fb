// Windows of the toolkit: dialogs, property sheets and pages, and their controls.
//
// A window object lives longer than its window: a dialog object is built, its window is created
// by DoModal and destroyed when the dialog ends, and the object can be read afterwards. Between
// Create and Destroy the window has a handle (a sys window endpoint) that any thread, or another
// process, may post or send to; everything else on a window is called on the thread that
// created it (its user-interface thread) only.
//
// Programmatic changes (SetText, Check, selections ...) never notify the parent: only what the
// user does (through the front end or the headless driver) produces commands and notifications,
// so loading values into controls never looks like an edit.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/Export.h"
#include "platform/sys/Messages.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/Template.h"

namespace ui {

using sys::MessageResult;

// Toolkit messages; programs use kUserMessage (0x0400) and up.
inline constexpr std::uint32_t kDestroyMessage = 0x0002;
inline constexpr std::uint32_t kCloseMessage = 0x0010;    // a close request
inline constexpr std::uint32_t kNotifyMessage = 0x004E;   // lParam: const Notification*
inline constexpr std::uint32_t kCommandMessage = 0x0111;  // wParam: id | code << 16
inline constexpr std::uint32_t kTimerMessage = 0x0113;    // wParam: timer id
inline constexpr std::uint32_t kUserMessage = sys::kUserMessage;

// Command identifiers with a meaning to the toolkit.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;
inline constexpr int kIdHelpButton = 9;     // the sheet's Help button
inline constexpr int kIdApply = 0x3021;     // the sheet's Apply button
inline constexpr int kHelpCommand = 57670;  // sent to the active page for Help

// Command codes (high half of a command's wParam).
inline constexpr int kClicked = 0;          // push button, check box
inline constexpr int kSelectionChange = 1;  // drop-down list
inline constexpr int kEditChange = 0x0300;  // edit: its text changed

// Notification codes (Notification::code) of list views.
inline constexpr int kItemClick = -2;
inline constexpr int kItemChanged = -101;  // the user moved the selection; item: the row, or -1
inline constexpr int kItemDoubleClick = -3;
inline constexpr int kItemRightClick = -5;
inline constexpr int kItemRightDoubleClick = -6;
inline constexpr int kBeginLabelEdit = -175;  // answer nonzero to refuse the edit
inline constexpr int kEndLabelEdit = -176;    // answer nonzero to keep the new label

class Window;

struct Notification {
    Window* from = nullptr;
    int id = 0;
    int code = 0;
    int item = -1;                      // list view: the row, -1 for none
    const std::string* text = nullptr;  // kEndLabelEdit: the new label, null when cancelled
};

enum class WindowKind {
    Dialog,
    PropertySheet,
    PropertyPage,
    HelpViewer,
    Text,
    GroupBox,
    EtchedLine,
    Icon,
    Picture,
    Edit,
    PushButton,
    CheckBox,
    DropDownList,
    ListView,
    UpDown,
    ProgressBar,
};

class QUILAN_EXPORT Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    virtual WindowKind Kind() const = 0;

    // 0 while the window does not exist.
    sys::WindowHandle Handle() const { return m_handle; }
    bool Exists() const { return m_handle != 0; }
    int Id() const { return m_nId; }
    Window* Parent() const { return m_pParent; }
    Window* Owner() const { return m_pOwner; }  // top-level windows: the window they belong to
    const std::vector<Window*>& Children() const { return m_children; }
    std::uint32_t Style() const { return m_nStyle; }
    const Rect& Bounds() const { return m_bounds; }  // dialog units, in the parent's client area

    const std::string& Text() const { return m_text; }
    virtual void SetText(std::string_view text);
    bool IsEnabled() const { return m_bEnabled; }
    void Enable(bool bEnable);
    bool IsVisible() const { return m_bVisible; }
    void Show(bool bShow);
    void Move(int x, int y);  // keeps the size

    // The keyboard focus of this thread.
    void SetFocus();
    bool HasFocus() const;
    static Window* Focus();

    // The child control with that id (pages of a sheet are not searched); null when absent.
    Window* Item(int id) const;
    template <class T>
    T* ItemAs(int id) const {
        return dynamic_cast<T*>(Item(id));
    }

    // Timers fire in every loop of the window's thread while the window exists; the period is
    // in the system's milliseconds, scaled by the time scale. Setting an id again restarts it.
    bool SetTimer(std::uint32_t id, std::uint32_t ms);
    bool KillTimer(std::uint32_t id);

    // Post from any thread; send on the window's thread calls WindowProc at once.
    bool Post(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
    MessageResult Send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

    // Sends a command or notification to the parent, as a user action does.
    void NotifyParent(int code);
    MessageResult NotifyParent(Notification notification);

    // Destroys the window, its children first; the object stays.
    void Destroy();

    // The message procedure: commands, notifications, timers and close requests go to the
    // virtual handlers below; a derived window handles its own messages and calls this for the
    // rest.
    virtual MessageResult WindowProc(std::uint32_t message, std::uintptr_t wParam,
                                     std::intptr_t lParam);

  protected:
    // Makes the window exist: a handle, a place among the parent's children.
    void Create(Window* parent, int id, std::string_view text, const Rect& bounds,
                std::uint32_t style);
    void SetOwner(Window* owner) { m_pOwner = owner; }
    // Tells the front end that what it shows of this window changed.
    void Changed();

    virtual bool OnCommand(int id, int code);  // true when handled
    virtual MessageResult OnNotify(const Notification& notification);
    virtual void OnTimer(std::uint32_t id);
    virtual void OnClose();
    virtual void OnDestroy();

  private:
    sys::WindowHandle m_handle = 0;
    int m_nId = 0;
    Window* m_pParent = nullptr;
    Window* m_pOwner = nullptr;
    std::vector<Window*> m_children;
    std::uint32_t m_nStyle = 0;
    Rect m_bounds;
    std::string m_text;
    bool m_bEnabled = true;
    bool m_bVisible = true;
};

}  // namespace ui
