// The computer's side of an emulated adapter in tests: opens a COM port's device raw and
// exchanges bytes with poll-based reads. One thread uses a peer; it closes the device.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <string_view>

class PtyPeer {
  public:
    explicit PtyPeer(const std::filesystem::path& device);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    void Write(std::string_view bytes);
    // Whatever arrives within `wait` (read once, as soon as something is there).
    std::string ReadSome(std::chrono::milliseconds wait);
    // Reads up to and including the first `suffix`, or all that came when `wait` has passed;
    // bytes after it are kept for the next read.
    std::string ReadUntil(std::string_view suffix,
                          std::chrono::milliseconds wait = std::chrono::seconds(5));
    // Reads `count` bytes, or all that came when `wait` has passed.
    std::string ReadCount(std::size_t count,
                          std::chrono::milliseconds wait = std::chrono::seconds(5));
    // A command and its reply up to its final result line ("OK" or "ERROR").
    std::string Command(std::string_view command);
    // True when the line is gone (the adapter's master was closed).
    bool HungUp(std::chrono::milliseconds wait);

  private:
    // Reads until `end` finds the end of what is wanted in the text so far (npos: not yet).
    template <typename End>
    std::string ReadTo(End end, std::chrono::milliseconds wait);

    int m_fd = -1;
    std::string m_pending;  // read but not yet handed out
};

// A fresh root directory under the test's temporary directory, removed by the destructor.
class TempRoot {
  public:
    TempRoot();
    ~TempRoot();
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path Port(const std::string& com) const { return m_path / "ports" / com; }

  private:
    std::filesystem::path m_path;
};
