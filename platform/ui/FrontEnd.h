// The front end: what draws the toolkit's windows and gives it the user's input.
//
// The toolkit keeps the whole state of every window (see Window.h and the control headers); a
// front end only shows that state and turns keys and mouse clicks into events. There are
// three: the terminal (platform/tui), the headless driver of tests (HeadlessUser.h), and the
// unattended headless one. Each user-interface thread uses the process's front end unless a
// HeadlessUser is installed on it.
//
// How the toolkit drives a front end, all on the user-interface thread:
//   - ModalStarted/ModalEnded bracket each modal loop; the innermost modal window is the one
//     that gets the input. Dialogs and sheets are placed by the front end (centred, say); the
//     controls' Bounds() are dialog units inside their parent, DialogUnitsToCells() gives cells.
//     A sheet (PropertySheet.h) shows its tabs, its active page and its own buttons.
//   - Changed(window) after anything that window shows changed (text, enabled, visible, checked,
//     selection, items, position, image, focus) and when windows are created or destroyed; a
//     front end may redraw lazily, at the latest when it next waits for input.
//   - BusyChanged(true) when the wait cursor appears: the thread is about to block for seconds,
//     so the busy mark must be drawn at once; BusyChanged(false) when the last one goes away.
//   - WaitForInput when the loop has nothing to do: block until the user does something, the
//     wake descriptor becomes readable (a message for this thread) or the time-out passes.
//     Return the event, or an event of type None. Keys go to the toolkit as they are; mouse
//     clicks are resolved by the front end to the window (and list row or tab) under the
//     pointer, since only it knows where it drew them. While a window has the mouse capture
//     (Capture() in WaitCursor.h), clicks elsewhere should be dropped.
//   - MessageBox, OpenFile and HelpShown are the modal prompts. The front end shows them its own
//     way and returns what the user chose; the toolkit checks file names itself.
//
// The toolkit acts on events with the keys of the terminal: Tab/Shift-Tab move the focus, Space
// presses or toggles, Enter presses the default button, Esc cancels, arrows move in lists and
// drop-down lists (and step an up-down through its buddy), Alt+letter follows "&" mnemonics, F1
// is Help, F2 renames the focused list row, Ctrl-PgUp/Ctrl-PgDn change tabs; characters type
// into the focused edit or the label being renamed.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/Export.h"

namespace ui {

class HelpViewer;
class Window;

enum class Key {
    None,
    Character,  // KeyEvent::character
    Enter,
    Escape,
    Tab,  // with bShift: back
    Space,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    Backspace,
    Delete,
    F1,
    F2,
};

struct KeyEvent {
    Key key = Key::None;
    char character = 0;
    bool bShift = false;
    bool bCtrl = false;
    bool bAlt = false;
};

enum class MouseButton { Left, Right };

// What a click means by target: a push button or check box is clicked; an edit or list gets
// the focus; a list view row is clicked (item: the row, -1 below the rows; left or right, single
// or double); a drop-down list entry is chosen (item: the entry, -1 only focuses the list); an
// up-down steps (item 0: the up arrow, 1: the down arrow); a sheet's tab is chosen (target: the
// PropertySheet, item: the tab). Clicks on disabled or hidden windows, and outside the innermost
// modal window, do nothing.
struct MouseEvent {
    Window* target = nullptr;  // the window under the pointer
    int item = -1;             // see above
    MouseButton button = MouseButton::Left;
    bool bDouble = false;
};

struct InputEvent {
    enum class Type { None, Key, Mouse } type = Type::None;
    KeyEvent key;
    MouseEvent mouse;
};

// Message box buttons and icons (values combine in MessageBox's type, MessageBox.h).
enum class Buttons { Ok, OkCancel, YesNo };
enum class Icon { None, Stop, Question, Exclamation, Information };

struct MessageBoxRequest {
    Window* owner = nullptr;  // the innermost modal window, when there is one
    std::string title;
    std::string text;  // may hold line breaks
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    int defaultButton = 1;  // kIdOk, kIdYes ...
};

struct FileFilter {
    std::string description;  // "ELM Files (*.elm)"
    std::string pattern;      // "*.elm"; several separated by ';'
};

struct OpenFileRequest {
    Window* owner = nullptr;
    std::string title;  // "Open"
    std::vector<FileFilter> filters;
    std::string defaultExtension;  // without the dot
    std::string initialName;       // may be a pattern such as "*.elm"
    std::string initialDirectory;  // empty: the current directory
    bool bPathMustExist = false;
    bool bFileMustExist = false;
    bool bHideReadOnly = false;
};

class QUILAN_EXPORT FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // Display.
    virtual void ModalStarted(Window& top) = 0;
    virtual void ModalEnded(Window& top) = 0;
    virtual void Changed(Window& window) = 0;
    virtual void BusyChanged(bool bBusy) = 0;

    // Input. `timeout` is real time; negative waits without limit.
    virtual InputEvent WaitForInput(int wakeDescriptor, std::chrono::nanoseconds timeout) = 0;

    // Prompts. MessageBox returns the button chosen (kIdOk, kIdCancel, kIdYes, kIdNo; Esc gives
    // kIdCancel or, for Yes/No, kIdNo). OpenFile returns false when cancelled, else the name the
    // user gave (relative names are taken from the initial directory). HelpShown is called
    // after the help viewer window has been filled and shown: a front end may run it modally
    // (HelpViewer::RunModal) or leave it open beside the other windows.
    virtual int MessageBox(const MessageBoxRequest& request) = 0;
    virtual bool OpenFile(const OpenFileRequest& request, std::string* chosen) = 0;
    virtual void HelpShown(HelpViewer& viewer) = 0;
};

// The terminal front end registers its maker here when its library loads. The process's front
// end is chosen on first use: the unattended headless one when QUILAN_FRONTEND=headless, when
// standard input or output is not a terminal, or when no terminal front end is registered;
// otherwise the terminal one.
QUILAN_EXPORT void SetTerminalFrontEndMaker(std::function<std::unique_ptr<FrontEnd>()> maker);

// The front end of the calling thread.
QUILAN_EXPORT FrontEnd& CurrentFrontEnd();

// Acts on an event from WaitForInput for the innermost modal window `top`, as the user meant.
QUILAN_EXPORT void HandleInput(Window& top, const InputEvent& event);

}  // namespace ui
