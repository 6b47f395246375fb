// A list of icons that a list view draws beside its rows. The images belong to a Module; the
// list only points at them. Owned by the page that builds it; it must outlive the list view
// it is attached to.
#pragma once

#include <vector>

#include "platform/sys/Export.h"
#include "platform/ui/Module.h"

namespace ui {

class QUILAN_EXPORT ImageList {
  public:
    // Icons of cx x cy pixels with room for `initial` and growing by `grow`; with a mask the
    // icons are drawn transparent.
    bool Create(int cx, int cy, bool bMask, int initial, int grow);
    int Add(const Image* icon);  // index, or -1 for a missing icon
    int Count() const { return static_cast<int>(m_images.size()); }
    const Image* Get(int index) const;
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

  private:
    int m_cx = 0;
    int m_cy = 0;
    std::vector<const Image*> m_images;
};

}  // namespace ui
