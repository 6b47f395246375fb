#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/cpl/Cpl.h"

namespace {

struct IconTable {
    std::mutex lock;
    std::map<CplIconHandle, ui::Image> images;  // nodes never move: pointers stay valid
    std::map<std::pair<std::string, std::uint32_t>, CplIconHandle> loaded;
};

IconTable& Table() {
    static IconTable table;
    return table;
}

}  // namespace

CplIconHandle CplLoadIcon(const ui::Module& module, std::uint32_t id) {
    const ui::Image* image = module.Icon(id);
    if (!image) {
        return 0;
    }
    IconTable& table = Table();
    std::lock_guard guard(table.lock);
    // An applet file asked again (or loaded again) gets the handle it had.
    auto key = std::make_pair(module.Name(), id);
    if (auto it = table.loaded.find(key); it != table.loaded.end()) {
        return it->second;
    }
    auto handle = static_cast<CplIconHandle>(table.images.size() + 1);
    table.images.emplace(handle, *image);
    table.loaded.emplace(std::move(key), handle);
    return handle;
}

const ui::Image* CplIconImage(CplIconHandle icon) {
    IconTable& table = Table();
    std::lock_guard guard(table.lock);
    auto it = table.images.find(icon);
    return it == table.images.end() ? nullptr : &it->second;
}

ui::Window* CplWindowObject(sys::WindowHandle hwndCPl) {
    if (!sys::IsWindowEndpoint(hwndCPl)) {
        return nullptr;
    }
    static const std::uint32_t message = sys::RegisterWindowMessage(kCplWindowObjectMessage);
    return reinterpret_cast<ui::Window*>(sys::SendMessage(hwndCPl, message, 0, 0));
}
