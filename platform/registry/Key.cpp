#include "platform/registry/Key.h"

#include <cstring>

#include "platform/registry/HiveFile.h"
#include "platform/sys/Root.h"

namespace registry {

namespace {

std::filesystem::path HivePath() {
    return sys::Root() / "registry.reg";
}

}  // namespace

Status Key::Create(std::string_view path) {
    return HiveFile(HivePath()).Update([path](Hive& hive) { return hive.CreateKey(path); });
}

Status Key::Open(std::string_view path, Access access) {
    Close();
    std::filesystem::path file = HivePath();
    Hive hive;
    Status status = HiveFile(file).Load(hive);
    if (status != Status::Ok) {
        return status;
    }
    if (!hive.HasKey(path)) {
        return Status::NotFound;
    }
    m_file = std::move(file);
    m_path = path;
    m_access = access;
    m_open = true;
    return Status::Ok;
}

Status Key::QueryString(std::string_view name, char* buffer, std::size_t capacity,
                        std::size_t* length) const {
    if (!m_open) {
        return Status::NotOpen;
    }
    Hive hive;
    Status status = HiveFile(m_file).Load(hive);
    if (status != Status::Ok) {
        return status;
    }
    const std::string* value = hive.FindValue(m_path, name);
    if (!value) {
        return Status::NotFound;
    }
    if (length) {
        *length = value->size();
    }
    if (value->size() >= capacity) {
        return Status::MoreData;
    }
    std::memcpy(buffer, value->data(), value->size());
    buffer[value->size()] = '\0';
    return Status::Ok;
}

Status Key::SetString(std::string_view name, std::string_view value) {
    if (!m_open) {
        return Status::NotOpen;
    }
    if (m_access != Access::Write) {
        return Status::AccessDenied;
    }
    return HiveFile(m_file).Update(
        [this, name, value](Hive& hive) { return hive.SetValue(m_path, name, value); });
}

void Key::Close() {
    m_open = false;
    m_path.clear();
    m_file.clear();
}

}  // namespace registry
