#include "platform/ui/WaitCursor.h"

#include "platform/ui/FrontEnd.h"
#include "platform/ui/UiThread.h"

namespace ui {

void BeginWaitCursor() {
    UiThread& thread = UiThread::Current();
    if (thread.waitCursor++ == 0) {
        thread.Front().BusyChanged(true);
    }
}

void EndWaitCursor() {
    UiThread& thread = UiThread::Current();
    if (thread.waitCursor > 0 && --thread.waitCursor == 0) {
        thread.Front().BusyChanged(false);
    }
}

bool IsWaitCursorShown() {
    return UiThread::Current().waitCursor > 0;
}

void SetCapture(Window* window) {
    UiThread::Current().capture = window;
}

void ReleaseCapture() {
    UiThread::Current().capture = nullptr;
}

Window* Capture() {
    return UiThread::Current().capture;
}

}  // namespace ui
