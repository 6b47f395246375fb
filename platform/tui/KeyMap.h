// What a terminal key means to the toolkit. Pure; any thread.
#pragma once

#include "platform/tui/Terminal.h"
#include "platform/ui/FrontEnd.h"

namespace tui {

// Key::None when the key means nothing to the toolkit.
ui::KeyEvent MapKey(const RawKey& key);

}  // namespace tui
