#include "quilanctl/PortMap.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace quilanctl {

namespace fs = std::filesystem;

namespace {

constexpr int kPortCount = 10;

std::string PortName(int number) {
    return "COM" + std::to_string(number);
}

fs::path DefaultDevice(int number) {
    return "/dev/ttyS" + std::to_string(number - 1);
}

// Opening without waiting for a carrier is how serial tools look at a line.
Outcome CheckTerminal(const fs::path& device) {
    std::error_code error;
    if (!fs::exists(device, error)) {
        return Failure{kFileError, device.string() + ": no such device"};
    }
    int descriptor = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        return Failure{kFileError, device.string() + ": " + std::strerror(errno)};
    }
    bool bTerminal = isatty(descriptor) == 1;
    close(descriptor);
    if (!bTerminal) {
        return Failure{kFileError, device.string() + ": not a terminal"};
    }
    return std::nullopt;
}

Failure FileFailure(const fs::path& path, const std::error_code& error) {
    return {kFileError, path.string() + ": " + error.message()};
}

}  // namespace

CPortMap::CPortMap(fs::path root, std::vector<fs::path> stableFolders)
    : m_root(std::move(root)), m_stableFolders(std::move(stableFolders)) {}

std::optional<std::string> CPortMap::CanonicalName(const std::string& name) {
    for (int number = 1; number <= kPortCount; ++number) {
        std::string port = PortName(number);
        if (strcasecmp(name.c_str(), port.c_str()) == 0) {
            return port;
        }
    }
    return std::nullopt;
}

std::vector<CPortMap::Entry> CPortMap::List() const {
    std::vector<Entry> entries;
    std::error_code error;
    bool bMapped = fs::is_directory(Ports(), error);
    for (int number = 1; number <= kPortCount; ++number) {
        Entry entry{PortName(number), std::nullopt};
        if (!bMapped) {
            entry.device = DefaultDevice(number);
        } else if (fs::path link = Ports() / entry.name; fs::is_symlink(link, error)) {
            entry.device = fs::read_symlink(link, error);
        } else if (fs::exists(link, error)) {
            entry.device = link;
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

fs::path CPortMap::StableName(const fs::path& device) const {
    std::error_code error;
    fs::path real = fs::canonical(device, error);
    if (error) {
        return device;
    }
    for (const fs::path& folder : m_stableFolders) {
        std::vector<fs::path> names;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            std::error_code ignored;
            if (fs::canonical(entry.path(), ignored) == real && !ignored) {
                names.push_back(entry.path());
            }
        }
        if (!names.empty()) {
            return *std::min_element(names.begin(), names.end());
        }
    }
    return device;
}

Outcome CPortMap::EnsureFolder() {
    std::error_code error;
    if (fs::is_directory(Ports(), error)) {
        return std::nullopt;
    }
    // Built aside and renamed into place: readers see either no map or the whole default one.
    fs::path staging = m_root / ".ports.new";
    fs::remove_all(staging, error);
    if (!fs::create_directories(staging, error)) {
        return FileFailure(staging, error);
    }
    for (int number = 1; number <= kPortCount; ++number) {
        if (fs::exists(DefaultDevice(number), error)) {
            fs::create_symlink(DefaultDevice(number), staging / PortName(number), error);
            if (error) {
                return FileFailure(staging / PortName(number), error);
            }
        }
    }
    fs::rename(staging, Ports(), error);
    if (error) {
        return FileFailure(Ports(), error);
    }
    return std::nullopt;
}

Outcome CPortMap::Link(const std::string& name, const fs::path& target) {
    std::error_code error;
    fs::path link = Ports() / name;
    fs::path staging = Ports() / ("." + name + ".new");
    fs::remove(staging, error);
    fs::create_symlink(target, staging, error);
    if (!error) {
        fs::rename(staging, link, error);
    }
    if (error) {
        fs::remove(staging, error);
        return FileFailure(link, error);
    }
    return std::nullopt;
}

Outcome CPortMap::Set(const std::string& name, const fs::path& device, fs::path& mapped) {
    std::optional<std::string> port = CanonicalName(name);
    if (!port) {
        return Failure{kUsage, name + ": not a port name (COM1 ... COM10)"};
    }
    if (Outcome refused = CheckTerminal(device)) {
        return refused;
    }
    mapped = StableName(device.is_absolute() ? device : fs::absolute(device));
    if (Outcome failed = EnsureFolder()) {
        return failed;
    }
    return Link(*port, mapped);
}

Outcome CPortMap::Remove(const std::string& name) {
    std::optional<std::string> port = CanonicalName(name);
    if (!port) {
        return Failure{kUsage, name + ": not a port name (COM1 ... COM10)"};
    }
    if (Outcome failed = EnsureFolder()) {
        return failed;
    }
    std::error_code error;
    fs::remove(Ports() / *port, error);
    if (error) {
        return FileFailure(Ports() / *port, error);
    }
    return std::nullopt;
}

}  // namespace quilanctl
