#include "platform/ui/ImageList.h"

namespace ui {

bool ImageList::Create(int cx, int cy, bool, int initial, int) {
    m_cx = cx;
    m_cy = cy;
    m_images.clear();
    m_images.reserve(static_cast<std::size_t>(initial > 0 ? initial : 0));
    return cx > 0 && cy > 0;
}

int ImageList::Add(const Image* icon) {
    if (!icon) {
        return -1;
    }
    m_images.push_back(icon);
    return Count() - 1;
}

const Image* ImageList::Get(int index) const {
    return index >= 0 && index < Count() ? m_images[index] : nullptr;
}

}  // namespace ui
