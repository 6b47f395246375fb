#include "platform/ui/FrontEndScope.h"

#include "platform/ui/UiThread.h"

namespace ui {

FrontEndScope::FrontEndScope(FrontEnd& frontEnd) : m_pPrevious(UiThread::Current().OwnFrontEnd()) {
    UiThread::Current().SetFrontEnd(&frontEnd);
}

FrontEndScope::~FrontEndScope() {
    UiThread::Current().SetFrontEnd(m_pPrevious);
}

}  // namespace ui
