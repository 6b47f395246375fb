// A stand-in adapter on the master side of a pseudo-terminal, for the device link's tests and
// benchmark, and a throw-away system root whose port map points a COM name at it.
//
// The peer runs one thread that reads what the channel writes, splits it into commands at each
// carriage return and writes back the responder's answer. Tests may also write at any time with
// Send. All public functions may be called from the test's thread while the peer runs.
#pragma once

#include <condition_variable>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

namespace linktest {

// A temporary $QUILAN_ROOT with a ports/ folder; removed again on destruction.
class TestRoot {
  public:
    TestRoot();
    ~TestRoot();
    TestRoot(const TestRoot&) = delete;
    TestRoot& operator=(const TestRoot&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    // Makes <root>/ports/<comName> a symbolic link to `target`.
    void Link(const std::string& comName, const std::filesystem::path& target) const;

  private:
    std::filesystem::path m_path;
};

class PtyPeer {
  public:
    // Gets each command without its carriage return (a line feed before it is dropped) and
    // returns the bytes to answer with, possibly none.
    using Responder = std::function<std::string(const std::string& command)>;

    // Echo, then "\r\nOK\r\n" for every command, as an adapter with echo on.
    static std::string AnswerOk(const std::string& command);

    explicit PtyPeer(Responder responder = AnswerOk);
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }

    // Writes to the channel now.
    void Send(std::string_view bytes);
    // Everything the channel has written so far.
    std::string Received();
    // Waits (real time, at most `timeoutMs`) until the received bytes contain `text`.
    bool WaitForReceived(std::string_view text, int timeoutMs);
    // Stops answering and closes the master: the device is gone.
    void HangUp();

  private:
    void Run();
    void Stop();

    Responder m_responder;
    int m_master = -1;
    int m_slave = -1;  // kept open so that the master never sees the line closed
    int m_stop[2] = {-1, -1};
    std::string m_slavePath;
    std::mutex m_mutex;  // guards m_received and writes to the master
    std::condition_variable m_changed;
    std::string m_received;
    std::string m_pending;  // the command being received (peer thread only)
    std::thread m_thread;
};

}  // namespace linktest
