// The wait cursor and the mouse capture of the calling user-interface thread.
//
// The wait cursor nests: it shows from the first BeginWaitCursor to the matching last
// EndWaitCursor (the front end draws its busy mark at once, since the thread is about to
// block). The capture sends the mouse to one window until released.
#pragma once

#include "platform/sys/Export.h"

namespace ui {

class Window;

QUILAN_EXPORT void BeginWaitCursor();
QUILAN_EXPORT void EndWaitCursor();  // more ends than begins are ignored
QUILAN_EXPORT bool IsWaitCursorShown();

// Shows the wait cursor for the life of the object.
class QUILAN_EXPORT WaitCursor {
  public:
    WaitCursor() { BeginWaitCursor(); }
    ~WaitCursor() { EndWaitCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QUILAN_EXPORT void SetCapture(Window* window);
QUILAN_EXPORT void ReleaseCapture();
QUILAN_EXPORT Window* Capture();  // null when no window has it

}  // namespace ui
