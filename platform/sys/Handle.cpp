#include "platform/sys/Handle.h"

#include <unordered_map>

#include "platform/sys/HandleTable.h"
#include "platform/sys/Time.h"

namespace sys::detail {

void Waitable::Signal() {
    std::lock_guard lock(m_mutex);
    m_bSignaled = true;
    m_changed.notify_all();
}

void Waitable::Unsignal() {
    std::lock_guard lock(m_mutex);
    m_bSignaled = false;
}

WaitResult Waitable::WaitFor(std::uint32_t timeoutMs) {
    std::unique_lock lock(m_mutex);
    auto signaled = [this] { return m_bSignaled; };
    if (timeoutMs == kInfinite) {
        m_changed.wait(lock, signaled);
        return WaitResult::Signaled;
    }
    return m_changed.wait_for(lock, Scaled(timeoutMs), signaled) ? WaitResult::Signaled
                                                                 : WaitResult::Timeout;
}

namespace {

struct Table {
    std::mutex mutex;
    std::unordered_map<Handle, std::shared_ptr<Waitable>> objects;
    Handle next = 1;
};

Table& TheTable() {
    static Table* table = new Table;  // never destroyed: threads may outlive static destruction
    return *table;
}

}  // namespace

Handle Insert(std::shared_ptr<Waitable> object) {
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    Handle handle = table.next;
    while (handle == kNoHandle || table.objects.contains(handle)) {
        ++handle;
    }
    table.next = handle + 1;
    table.objects.emplace(handle, std::move(object));
    return handle;
}

std::shared_ptr<Waitable> Find(Handle handle) {
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    return it == table.objects.end() ? nullptr : it->second;
}

bool Remove(Handle handle) {
    std::shared_ptr<Waitable> last;  // released outside the table lock
    Table& table = TheTable();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(handle);
    if (it == table.objects.end()) {
        return false;
    }
    last = std::move(it->second);
    table.objects.erase(it);
    return true;
}

}  // namespace sys::detail

namespace sys {

namespace {
class Event final : public detail::Waitable {};
}  // namespace

Handle CreateEvent() {
    return detail::Insert(std::make_shared<Event>());
}

bool SetEvent(Handle event) {
    auto object = detail::Find(event);
    if (!object) {
        return false;
    }
    object->Signal();
    return true;
}

bool ResetEvent(Handle event) {
    auto object = detail::Find(event);
    if (!object) {
        return false;
    }
    object->Unsignal();
    return true;
}

WaitResult Wait(Handle object, std::uint32_t timeoutMs) {
    auto waitable = detail::Find(object);
    return waitable ? waitable->WaitFor(timeoutMs) : WaitResult::Failed;
}

bool CloseHandle(Handle object) {
    return detail::Remove(object);
}

}  // namespace sys
