// What the download tests share: a system root with emulated cards, ELM files written into it,
// a download run as the card page runs one, and what the user saw.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "FileTransferIF.h"
#include "platform/sys/Messages.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/Window.h"
#include "tests/ornaprop/AppletRoot.h"
#include "tools/mkelm/ElmFile.h"
#include "tools/tasim/Adapter.h"

inline constexpr const char kBoxTitle[] = "Quilan ISDN T/A Configuration Tool";
inline constexpr const char kTimeout[] =
    "ERR0015 : Timeout occured waiting for response from the Quilan ISDN T/A.";
inline constexpr const char kAdapterError[] =
    "ERR0016 : Error occured on the Quilan ISDN T/A during download.\nDownload aborted.";
inline constexpr const char kOpenFailed[] =
    "ERR0013 : Error occured opening the specified ELM file.";
inline constexpr const char kInvalidFile[] = "ERR0014 : Error - invalid ELM file format.";
inline constexpr int kIdFileName = 1002;
inline constexpr int kIdBrowse = 1004;
inline constexpr int kIdProgress = 1000;
inline constexpr int kIdStatus = 1002;
inline constexpr int kIdTime = 1001;
inline constexpr int kIdPicture = 1003;
inline constexpr std::int32_t kUntouched = 99;

// The threads of this process, to show that a download leaves none behind.
inline int ThreadCount() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
        (void)entry;
        ++count;
    }
    return count;
}

// What another thread or the adapter does after a download returned can take a moment (a
// thread leaving the system's list, the adapter reading its last bytes): true once `done` holds,
// false when it does not within 2 s.
inline bool Eventually(const std::function<bool()>& done) {
    for (int tries = 0; tries < 2000; ++tries) {
        if (done()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

inline bool ThreadsDownTo(int count) {
    return Eventually([count] { return ThreadCount() <= count; });
}

struct XferOutcome {
    std::int32_t status = -1;
    std::int32_t result = kUntouched;
};

class XferTest : public ::testing::Test {
  protected:
    XferTest() : m_root({"\"ElmDirectory\"=\"" + ElmFolder().string() + "/\""}) {}

    static std::filesystem::path ElmFolder() {
        return std::filesystem::temp_directory_path() /
               ("quilan-elm-" + std::to_string(::getpid()));
    }
    void SetUp() override {
        std::filesystem::create_directories(ElmFolder());
        // The first window starts the process's message service thread, which stays.
        sys::DestroyWindowEndpoint(sys::CreateWindowEndpoint(
            [](std::uint32_t, std::uintptr_t, std::intptr_t) { return sys::MessageResult{0}; }));
    }
    void TearDown() override { std::filesystem::remove_all(ElmFolder()); }

    // The card on COM2 as configured; its previous firmware is "3.10.05" North America.
    tasim::Adapter& Card(tasim::Config config = {}) {
        m_card = m_root.Card("COM2", std::move(config));
        return *m_card;
    }

    // An ELM file of the layout in the ELM folder.
    std::string Elm(const std::string& name, const mkelm::ElmLayout& layout) {
        return Write(name, mkelm::BuildElm(layout));
    }
    std::string Write(const std::string& name, const std::string& bytes) {
        std::filesystem::path path = ElmFolder() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    static std::string Read(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    // The download as the card page starts it from a file name.
    static XferOutcome FromFile(const std::string& file, const char* port = "COM2") {
        CFileTransferIF xfer;
        XferOutcome outcome;
        EXPECT_EQ(xfer.InitializeXfer(nullptr), 0);
        outcome.status = xfer.StartXferFromFile(file.c_str(), port, outcome.result);
        EXPECT_EQ(xfer.TerminateXfer(), 0);
        return outcome;
    }

    // The download with its file dialog, for a card with this firmware.
    static XferOutcome WithDialog(const std::string& initialName,
                                  const std::string& cardVersion = "3.10.05",
                                  _ISDN_VERSIONTYPE cardType = VERSIONTYPE_NI1) {
        _SoftwareVer version{};
        std::snprintf(version.szVersionText, sizeof version.szVersionText, "%s",
                      cardVersion.c_str());
        CFileTransferIF xfer;
        XferOutcome outcome;
        EXPECT_EQ(xfer.InitializeXfer(nullptr), 0);
        outcome.status =
            xfer.StartXfer("COM2", version, cardType, initialName.c_str(), outcome.result);
        EXPECT_EQ(xfer.TerminateXfer(), 0);
        return outcome;
    }

    static std::vector<std::string> Boxes(const ui::HeadlessUser& user) {
        std::vector<std::string> texts;
        for (const auto& box : user.MessageBoxes()) {
            EXPECT_EQ(box.request.title, kBoxTitle);
            texts.push_back(box.request.text);
        }
        return texts;
    }

    CAppletRoot m_root;
    std::unique_ptr<tasim::Adapter> m_card;
};

// A file with the version and type texts of a firmware.
inline mkelm::ElmLayout Firmware(const std::string& version, const std::string& isdn,
                                 std::size_t size = 4096) {
    mkelm::ElmLayout layout;
    layout.size = size;
    layout.version = version;
    layout.isdn = isdn;
    return layout;
}
