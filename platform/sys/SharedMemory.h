// Memory shared by every process of one system root.
//
// A segment is named after the root (a hash of its real path) and the caller's name, so two
// roots never share one. It carries a header (magic, version, payload size) so that a stale or
// foreign segment is recognised. Its contents start from the caller's initial contents whenever
// a process attaches while no live process is attached: on first use, after the last process
// detached, and after every attached process was killed (attachment is a lock on the segment
// file that the kernel drops when a process ends).
//
// Ownership: the object returned by Attach keeps the segment mapped and the process counted as
// attached until it is destroyed (a forked child that destroys its copy leaves the parent
// attached). Attach and the destructor may be called from any thread; what
// the payload holds and how it is guarded is the caller's business.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/sys/Export.h"

namespace sys {

class QUILAN_EXPORT SharedMemory {
  public:
    // Fills a fresh payload of `size` bytes (zeroed before the call).
    using Initialiser = std::function<void(void* payload)>;

    // Creates or attaches the segment `name` of the current root. Null when the segment cannot
    // be created or mapped, or when processes are attached to a segment of that name whose
    // header does not match `version` and `size`.
    static std::unique_ptr<SharedMemory> Attach(std::string_view name, std::uint32_t version,
                                                std::size_t size, const Initialiser& initialise);

    // The file of the segment `name` under the current root (in /dev/shm).
    static std::string PathFor(std::string_view name);

    ~SharedMemory();
    SharedMemory(const SharedMemory&) = delete;
    SharedMemory& operator=(const SharedMemory&) = delete;

    // Leaves the memory mapped in this process after the object is destroyed (the process is
    // still detached then): for data the kernel itself may write when a thread ends, such as a
    // robust lock that thread held.
    void KeepMappedAfterDetach() { m_bKeepMapped = true; }

    void* Payload() const { return m_pPayload; }
    std::size_t Size() const { return m_nSize; }
    // True when this attachment found no live process attached and initialised the payload.
    bool Initialised() const { return m_bInitialised; }

  private:
    SharedMemory(std::string path, int fd, void* mapping, std::size_t mappingSize, std::size_t size,
                 bool initialised);

    std::string m_strPath;
    int m_nFd;
    void* m_pMapping;
    std::size_t m_nMappingSize;
    void* m_pPayload;
    std::size_t m_nSize;
    bool m_bInitialised;
    int m_nPid;  // the attaching process
    bool m_bKeepMapped = false;
};

}  // namespace sys
