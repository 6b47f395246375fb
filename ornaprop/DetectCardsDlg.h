// "Detecting Cards": the small dialog shown while the detection thread scans the COM ports.
//
// The dialog has no buttons; the detection thread closes it with a close request when its scan
// is done. Escape or Enter close it at once while the thread runs on; the thread then finds no
// dialog and closes nothing. The thread is handed to the caller (the cards page), which waits
// for it before it starts another detection and before it goes away itself, so that no
// detection outlives the page or the library's code.
//
// The dialog runs on the user-interface thread. The thread reaches it only through the
// process-wide reference to the dialog's window, set before the thread starts and cleared when
// the window goes away; it is a window handle rather than the object's address, so a close
// request racing with the window's end is posted to nothing instead of to a destroyed object.
#pragma once

#include <atomic>

#include "platform/sys/Handle.h"
#include "platform/sys/Messages.h"
#include "platform/ui/Dialog.h"

class CDetectCardsDlg : public ui::Dialog {
  public:
    // `thread` receives the handle of the detection thread the dialog starts; its owner waits
    // for it and closes it.
    explicit CDetectCardsDlg(sys::Handle& thread);

    // The dialog while its window exists, else 0.
    static std::atomic<sys::WindowHandle> s_hDetectCardsDlg;

  protected:
    bool OnInitDialog() override;
    void OnDestroy() override;

  private:
    // The full detection pass: removed cards, then inserted cards, then the close request.
    static void DetectionThread();

    sys::Handle& m_hThread;
};
