#include "ornaprop/DetectCardsDlg.h"

#include "CardList.h"
#include "ornaprop/Resources.h"
#include "platform/sys/Thread.h"

std::atomic<sys::WindowHandle> CDetectCardsDlg::s_hDetectCardsDlg{0};

CDetectCardsDlg::CDetectCardsDlg(sys::Handle& thread)
    : ui::Dialog(ornaprop::ThisModule(), ornaprop::kIddDetectCards), m_hThread(thread) {}

bool CDetectCardsDlg::OnInitDialog() {
    bool result = ui::Dialog::OnInitDialog();
    s_hDetectCardsDlg.store(Handle());
    m_hThread = sys::CreateThread(&CDetectCardsDlg::DetectionThread);
    if (m_hThread == sys::kNoHandle) {
        // No thread will close the dialog: the list then shows what the card list knows.
        EndDialog(ui::kIdCancel);
    }
    return result;
}

void CDetectCardsDlg::OnDestroy() {
    s_hDetectCardsDlg.store(0);
    ui::Dialog::OnDestroy();
}

void CDetectCardsDlg::DetectionThread() {
    CCardList cards;
    for (int slot = cards.FindRemovedCard(0); slot != -1; slot = cards.FindRemovedCard(slot + 1)) {
    }
    for (int slot = cards.FindInsertedCard(0); slot != -1;
         slot = cards.FindInsertedCard(slot + 1)) {
    }
    if (sys::WindowHandle dialog = s_hDetectCardsDlg.load()) {
        sys::PostMessage(dialog, ui::kCloseMessage, 0, 0);
    }
}
