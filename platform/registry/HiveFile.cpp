#include "platform/registry/HiveFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace registry {

namespace {

// A descriptor closed when it goes out of scope.
class Fd {
  public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    // Closes now, reporting whether the close succeeded (a late write error shows here).
    bool Close() {
        int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

  private:
    int m_fd;
};

bool WriteAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The whole file, or nothing with errno set.
std::optional<std::string> ReadAll(const std::filesystem::path& file) {
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        return std::nullopt;
    }
    std::string text;
    char buffer[8192];
    for (;;) {
        ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return std::nullopt;
        }
        if (n == 0) {
            return text;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

// Temporary files are named <file>.tmp-XXXXXX and exist only while their writer holds the lock.
constexpr std::string_view kTemporaryInfix = ".tmp-";

// Under the lock, a temporary file can only be one a writer left when it was killed before it
// could rename or remove it.
void RemoveStaleTemporaries(const std::filesystem::path& file) {
    const std::string prefix = file.filename().string() + std::string(kTemporaryInfix);
    const std::filesystem::path dir = file.parent_path().empty() ? "." : file.parent_path();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error)) {
        if (entry.path().filename().string().starts_with(prefix)) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

}  // namespace

Status HiveFile::Load(Hive& hive) const {
    std::optional<std::string> text = ReadAll(m_file);
    if (!text) {
        if (errno == ENOENT) {
            hive = Hive();
            return Status::Ok;
        }
        return Status::Unreadable;
    }
    std::optional<Hive> parsed = Hive::Parse(*text);
    if (!parsed) {
        return Status::Unreadable;
    }
    hive = std::move(*parsed);
    return Status::Ok;
}

Status HiveFile::Update(const std::function<Status(Hive&)>& change) const {
    std::filesystem::path lockPath = m_file;
    lockPath += ".lock";
    Fd lock(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
    if (lock.get() < 0) {
        return Status::WriteFailed;
    }
    int locked;
    while ((locked = ::flock(lock.get(), LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        return Status::WriteFailed;
    }
    // The lock ends when `lock` closes.
    Hive hive;
    Status status = Load(hive);
    if (status == Status::Ok) {
        status = change(hive);
    }
    if (status == Status::Ok) {
        status = Replace(hive.Format());
    }
    return status;
}

Status HiveFile::Replace(const std::string& text) const {
    RemoveStaleTemporaries(m_file);
    std::string temp = m_file.string() + std::string(kTemporaryInfix) + "XXXXXX";
    Fd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return Status::WriteFailed;
    }
    // mkostemp makes the file private; the hive keeps the mode it had, or is world-readable.
    struct stat old {};
    mode_t mode = ::stat(m_file.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool written = ::fchmod(fd.get(), mode) == 0 && WriteAll(fd.get(), text) &&
                   ::fsync(fd.get()) == 0 && fd.Close();
    if (!written || ::rename(temp.c_str(), m_file.c_str()) != 0) {
        ::unlink(temp.c_str());
        return Status::WriteFailed;
    }
    // The rename itself reaches the disk with the directory.
    std::filesystem::path dir = m_file.parent_path().empty() ? "." : m_file.parent_path();
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0) {
        ::fsync(dirFd.get());
    }
    return Status::Ok;
}

}  // namespace registry
