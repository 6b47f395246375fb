// A system root of its own for one applet test: a temporary directory with an empty ports/
// folder (only emulated adapters exist), a registry file as the installation writes it, made
// the process's QUILAN_ROOT for the test's life and removed afterwards.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "tools/tasim/Adapter.h"

class CAppletRoot {
  public:
    // `directoryValues`: the lines of the "Directory" key, e.g. "\"HelpDirectory\"=\"/x/\"";
    // with `bDirectoryKey` false the key is absent.
    explicit CAppletRoot(const std::vector<std::string>& directoryValues = {},
                         bool bDirectoryKey = true) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quilan-prop-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        std::filesystem::create_directory(m_path / "ports");
        std::ofstream hive(m_path / "registry.reg", std::ios::binary);
        hive << "REGEDIT4\n\n";
        if (bDirectoryKey) {
            hive << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory]\n";
            for (const std::string& line : directoryValues) {
                hive << line << "\n";
            }
            hive << "\n";
        }
        hive << "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames]\n";
        setenv("QUILAN_ROOT", m_path.c_str(), 1);
    }
    ~CAppletRoot() {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    CAppletRoot(const CAppletRoot&) = delete;
    CAppletRoot& operator=(const CAppletRoot&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    // An emulated card on <root>/ports/<com>, serving until destroyed.
    std::unique_ptr<tasim::Adapter> Card(const std::string& com, tasim::Config config = {}) {
        auto adapter = std::make_unique<tasim::Adapter>(std::move(config));
        EXPECT_TRUE(adapter->Start(m_path, com)) << com;
        return adapter;
    }

  private:
    std::filesystem::path m_path;
};

inline tasim::Config CardConfig(const std::string& version, tasim::Region region) {
    tasim::Config config;
    config.version = version;
    config.region = region;
    return config;
}

inline bool Received(const tasim::Adapter& adapter, const std::string& command) {
    auto commands = adapter.Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}
