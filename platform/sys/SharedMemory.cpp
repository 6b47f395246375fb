#include "platform/sys/SharedMemory.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/sys/Root.h"

namespace sys {

namespace {

constexpr std::uint64_t kMagic = 0x314D48534E4C5551ull;  // "QULNSHM1"
constexpr std::size_t kPayloadOffset = 64;               // keeps the payload cache-line aligned

struct Header {
    std::uint64_t magic;
    std::uint32_t version;
    std::uint32_t reserved;
    std::uint64_t size;
};
static_assert(sizeof(Header) <= kPayloadOffset);

// Two bytes of the segment file serve as locks (open-file-description locks: per open file,
// converted atomically, dropped by the kernel when the process ends). The gate serialises
// attaching and detaching; every attached process holds a read lock on the second byte, so a
// process that can write-lock it knows nobody else is attached.
constexpr off_t kGateByte = 0;
constexpr off_t kAttachedByte = 1;

bool LockByte(int fd, off_t byte, short type, bool wait) {
    struct flock range = {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = byte;
    range.l_len = 1;
    int command = wait ? F_OFD_SETLKW : F_OFD_SETLK;
    int result;
    do {
        result = fcntl(fd, command, &range);
    } while (result != 0 && errno == EINTR);
    return result == 0;
}

bool SameFile(int fd, const std::string& path) {
    struct stat opened = {};
    struct stat named = {};
    return fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

std::uint64_t Fnv1a(std::string_view text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        hash = (hash ^ c) * 0x100000001b3ull;
    }
    return hash;
}

}  // namespace

std::string SharedMemory::PathFor(std::string_view name) {
    std::error_code error;
    std::filesystem::path root = std::filesystem::weakly_canonical(Root(), error);
    if (error) {
        root = Root();
    }
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx",
                  static_cast<unsigned long long>(Fnv1a(root.string())));
    return "/dev/shm/quilan-" + std::string(hash) + "-" + std::string(name);
}

std::unique_ptr<SharedMemory> SharedMemory::Attach(std::string_view name, std::uint32_t version,
                                                   std::size_t size,
                                                   const Initialiser& initialise) {
    const std::string path = PathFor(name);
    const std::size_t mappingSize = kPayloadOffset + size;
    // A detaching process may unlink the file between our open and our gate lock: start again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0) {
            return nullptr;
        }
        if (!LockByte(fd, kGateByte, F_WRLCK, true)) {
            close(fd);
            return nullptr;
        }
        if (!SameFile(fd, path)) {
            close(fd);  // drops the gate with the file
            continue;
        }
        const bool first = LockByte(fd, kAttachedByte, F_WRLCK, false);
        bool sized;
        if (first) {
            sized = ftruncate(fd, 0) == 0 && ftruncate(fd, static_cast<off_t>(mappingSize)) == 0;
        } else {
            struct stat status = {};
            sized = LockByte(fd, kAttachedByte, F_RDLCK, false) && fstat(fd, &status) == 0 &&
                    static_cast<std::size_t>(status.st_size) >= mappingSize;
        }
        void* mapping = sized
                            ? mmap(nullptr, mappingSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
                            : MAP_FAILED;
        if (mapping == MAP_FAILED) {
            close(fd);
            return nullptr;
        }
        auto* header = static_cast<Header*>(mapping);
        void* payload = static_cast<char*>(mapping) + kPayloadOffset;
        if (first) {
            initialise(payload);
            header->version = version;
            header->size = size;
            header->magic = kMagic;
            LockByte(fd, kAttachedByte, F_RDLCK, false);  // converted atomically, cannot fail
        } else if (header->magic != kMagic || header->version != version || header->size != size) {
            munmap(mapping, mappingSize);
            close(fd);
            return nullptr;
        }
        LockByte(fd, kGateByte, F_UNLCK, false);
        return std::unique_ptr<SharedMemory>(
            new SharedMemory(path, fd, mapping, mappingSize, size, first));
    }
    return nullptr;
}

SharedMemory::SharedMemory(std::string path, int fd, void* mapping, std::size_t mappingSize,
                           std::size_t size, bool initialised)
    : m_strPath(std::move(path)),
      m_nFd(fd),
      m_pMapping(mapping),
      m_nMappingSize(mappingSize),
      m_pPayload(static_cast<char*>(mapping) + kPayloadOffset),
      m_nSize(size),
      m_bInitialised(initialised),
      m_nPid(getpid()) {}

SharedMemory::~SharedMemory() {
    if (!m_bKeepMapped) {
        munmap(m_pMapping, m_nMappingSize);
    }
    // A child forked from the attaching process shares its lock file description: dropping the
    // locks there would detach the parent as well.
    if (getpid() != m_nPid) {
        close(m_nFd);
        return;
    }
    // The last process to leave removes the file; a killed one leaves it to be started afresh.
    // The locks are dropped explicitly: a mapping kept after detaching holds the open file, and
    // with it its locks, beyond the close.
    if (LockByte(m_nFd, kGateByte, F_WRLCK, true)) {
        LockByte(m_nFd, kAttachedByte, F_UNLCK, false);
        if (LockByte(m_nFd, kAttachedByte, F_WRLCK, false)) {
            unlink(m_strPath.c_str());
            LockByte(m_nFd, kAttachedByte, F_UNLCK, false);
        }
        LockByte(m_nFd, kGateByte, F_UNLCK, false);
    }
    close(m_nFd);
}

}  // namespace sys
