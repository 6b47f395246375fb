// Makes a program's own front end that of the calling user-interface thread, for the scope's
// lifetime; the thread's previous front end comes back afterwards. For programs that drive the
// toolkit's dialogs their own way (a command line, say) whatever the terminal. Built and
// destroyed on that thread, outside its modal loops; the front end outlives the scope.
#pragma once

#include "platform/sys/Export.h"
#include "platform/ui/FrontEnd.h"

namespace ui {

class QUILAN_EXPORT FrontEndScope {
  public:
    explicit FrontEndScope(FrontEnd& frontEnd);
    ~FrontEndScope();
    FrontEndScope(const FrontEndScope&) = delete;
    FrontEndScope& operator=(const FrontEndScope&) = delete;

  private:
    FrontEnd* m_pPrevious;
};

}  // namespace ui
