// The two narrow interfaces between the front end and a real terminal: a display that shows
// cells and an input that yields the user's keys and clicks. CursesTerminal implements both;
// everything above them is plain code that runs without a terminal. Both are used by the
// front end's thread only.
#pragma once

#include <chrono>
#include <string>

#include "platform/tui/Cell.h"
#include "platform/ui/FrontEnd.h"

namespace tui {

class Display {
  public:
    virtual ~Display() = default;

    virtual int Columns() const = 0;
    virtual int Rows() const = 0;
    // Puts `count` cells at a place; shown at the next Flush.
    virtual void Write(int column, int row, const Cell* cells, int count) = 0;
    // Where the terminal's cursor stands (an edit's caret), or hidden.
    virtual void SetCursor(int column, int row, bool bVisible) = 0;
    // Makes everything written visible now; after Suspend, takes the terminal again first.
    virtual void Flush() = 0;
    // Gives the terminal back to the program's own output (no window is shown) until the
    // next Flush.
    virtual void Suspend() = 0;
};

// A key as the terminal delivered it: a byte, or a named key (the terminal database's name of
// a function key, such as "KEY_UP" or "kNXT5"), possibly after Esc (Alt).
struct RawKey {
    int byte = -1;  // 0 to 255, or -1 for a named key
    std::string name;
    bool bAlt = false;
};

struct TerminalEvent {
    enum class Type {
        None,  // time-out, or the wake descriptor is readable
        Key,
        Mouse,
        Resize,  // the terminal has a new size; what it shows is unknown
    } type = Type::None;
    RawKey key;
    int column = 0;  // mouse
    int row = 0;
    ui::MouseButton button = ui::MouseButton::Left;
    bool bDouble = false;
};

class Input {
  public:
    virtual ~Input() = default;

    // Blocks until an event, until `wakeDescriptor` is readable (it is not read), or until
    // `timeout` passes (negative: no limit).
    virtual TerminalEvent Wait(int wakeDescriptor, std::chrono::nanoseconds timeout) = 0;
};

}  // namespace tui
