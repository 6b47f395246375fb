#include "platform/ui/Module.h"

namespace ui {

namespace {

template <class Map>
auto Lookup(const Map& map, std::uint32_t id) -> const typename Map::mapped_type* {
    auto it = map.find(id);
    return it == map.end() ? nullptr : &it->second;
}

}  // namespace

Module::Module(std::string name) : m_name(std::move(name)) {}

void Module::AddStrings(std::initializer_list<std::pair<std::uint32_t, std::string_view>> strings) {
    for (const auto& [id, text] : strings) {
        m_strings[id] = std::string(text);
    }
}

void Module::AddDialog(DialogTemplate dialog) {
    std::uint32_t id = dialog.id;
    m_dialogs[id] = std::move(dialog);
}

void Module::AddIcon(std::uint32_t id, Image image) {
    m_icons[id] = std::move(image);
}

void Module::AddPicture(std::uint32_t id, Image image) {
    m_pictures[id] = std::move(image);
}

std::string Module::String(std::uint32_t id) const {
    const std::string* text = Lookup(m_strings, id);
    return text ? *text : std::string();
}

const DialogTemplate* Module::Dialog(std::uint32_t id) const {
    return Lookup(m_dialogs, id);
}

const Image* Module::Icon(std::uint32_t id) const {
    return Lookup(m_icons, id);
}

const Image* Module::Picture(std::uint32_t id) const {
    return Lookup(m_pictures, id);
}

}  // namespace ui
