// The port map against real pseudo-terminals in a root of its own: mapping by stable name,
// what is refused, removing, and the first change keeping the default ports.
#include <gtest/gtest.h>
#include <pty.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "quilanctl/PortMap.h"

namespace fs = std::filesystem;

namespace {

using quilanctl::CPortMap;

class PortMapTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/quilanctl-ports-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        fs::create_directories(m_root / "ports");
        fs::create_directories(m_root / "by-id");
        char name[256];
        ASSERT_EQ(openpty(&m_master, &m_slave, name, nullptr, nullptr), 0);
        m_pty = name;
    }
    void TearDown() override {
        close(m_master);
        close(m_slave);
        fs::remove_all(m_root);
    }

    CPortMap Map() { return CPortMap(m_root, {m_root / "by-id"}); }
    std::optional<fs::path> Device(const std::string& port) {
        for (const CPortMap::Entry& entry : Map().List()) {
            if (entry.name == port) {
                return entry.device;
            }
        }
        return std::nullopt;
    }

    fs::path m_root;
    fs::path m_pty;
    int m_master = -1;
    int m_slave = -1;
};

TEST_F(PortMapTest, MapsATerminalAndListsIt) {
    fs::path mapped;
    ASSERT_EQ(Map().Set("com3", m_pty, mapped), std::nullopt);
    EXPECT_EQ(mapped, m_pty);
    EXPECT_EQ(fs::read_symlink(m_root / "ports" / "COM3"), m_pty);
    EXPECT_EQ(Device("COM3"), m_pty);
    EXPECT_EQ(Device("COM4"), std::nullopt);
    EXPECT_EQ(Map().List().size(), 10u);
}

TEST_F(PortMapTest, PrefersTheStableName) {
    fs::create_symlink(m_pty, m_root / "by-id" / "usb-Corvane_Quilan_0001-if00");
    fs::path mapped;
    ASSERT_EQ(Map().Set("COM3", m_pty, mapped), std::nullopt);
    EXPECT_EQ(mapped, m_root / "by-id" / "usb-Corvane_Quilan_0001-if00");
    EXPECT_EQ(Device("COM3"), mapped);
}

TEST_F(PortMapTest, ReplacesAMapping) {
    int master = -1, slave = -1;
    char other[256];
    ASSERT_EQ(openpty(&master, &slave, other, nullptr, nullptr), 0);
    fs::path mapped;
    EXPECT_EQ(Map().Set("COM3", other, mapped), std::nullopt);
    EXPECT_EQ(Map().Set("COM3", m_pty, mapped), std::nullopt);
    EXPECT_EQ(Device("COM3"), m_pty);
    close(master);
    close(slave);
}

struct Refusal {
    const char* name;
    std::string port;
    std::string device;  // "%root%" stands for the test's root
    quilanctl::ExitCode code;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.name;
}

class PortMapRefusal : public PortMapTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(PortMapRefusal, LeavesTheMapAlone) {
    std::ofstream(m_root / "plain-file") << "not a device";
    std::string device = GetParam().device;
    if (device.starts_with("%root%")) {
        device = (m_root / device.substr(7)).string();
    }
    fs::path mapped;
    quilanctl::Outcome outcome = Map().Set(GetParam().port, device, mapped);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(outcome->code, GetParam().code);
    EXPECT_NE(
        outcome->message.find(GetParam().code == quilanctl::kUsage ? GetParam().port : device),
        std::string::npos)
        << outcome->message;
    EXPECT_TRUE(fs::is_empty(m_root / "ports"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PortMapRefusal,
    ::testing::Values(Refusal{"absent_device", "COM3", "/dev/ttyQuilanNone", quilanctl::kFileError},
                      Refusal{"not_a_terminal", "COM3", "/dev/null", quilanctl::kFileError},
                      Refusal{"plain_file", "COM3", "%root%/plain-file", quilanctl::kFileError},
                      Refusal{"port_eleven", "COM11", "/dev/tty", quilanctl::kUsage},
                      Refusal{"not_a_port", "LPT1", "/dev/tty", quilanctl::kUsage}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PortMapTest, RemovesAMappingAndToleratesNone) {
    fs::path mapped;
    ASSERT_EQ(Map().Set("COM3", m_pty, mapped), std::nullopt);
    EXPECT_EQ(Map().Remove("COM3"), std::nullopt);
    EXPECT_EQ(Device("COM3"), std::nullopt);
    EXPECT_EQ(Map().Remove("COM3"), std::nullopt);
}

// Without a map every COMn is /dev/ttyS<n-1>; the first mapping keeps those that exist.
TEST_F(PortMapTest, FirstChangeKeepsTheDefaultPorts) {
    fs::remove(m_root / "ports");
    EXPECT_EQ(Device("COM1"), fs::path("/dev/ttyS0"));
    fs::path mapped;
    ASSERT_EQ(Map().Set("COM3", m_pty, mapped), std::nullopt);
    for (int n = 1; n <= 10; ++n) {
        SCOPED_TRACE(n);
        std::string port = "COM" + std::to_string(n);
        fs::path standard = "/dev/ttyS" + std::to_string(n - 1);
        if (n == 3) {
            EXPECT_EQ(Device(port), m_pty);
        } else if (fs::exists(standard)) {
            EXPECT_EQ(Device(port), standard);
        } else {
            EXPECT_EQ(Device(port), std::nullopt);
        }
    }
    EXPECT_FALSE(fs::exists(m_root / ".ports.new"));
}

}  // namespace
