// A system root for one applet test: a directory with an empty ports/ folder (only emulated
// adapters exist), a registry file as the installation writes it and an empty card list, made
// the process's QUILAN_ROOT for the test's life and emptied afterwards.
//
// The card library attaches the card list of the first root a process uses and keeps it for
// the process's life, so all tests of one program share one directory, filled afresh for each,
// and the list is emptied for each: a test sees the same whether it runs alone or after others.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "CardList.h"
#include "tools/tasim/Adapter.h"

class CAppletRoot {
  public:
    // `directoryValues`: the lines of the "Directory" key, e.g. "\"HelpDirectory\"=\"/x/\"";
    // with `bDirectoryKey` false the key is absent.
    explicit CAppletRoot(const std::vector<std::string>& directoryValues = {},
                         bool bDirectoryKey = true)
        : m_path(ProcessRoot()) {
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
        // No port answers yet: every card that an earlier test left listed is taken off.
        CCardList cards;
        for (int slot = cards.FindRemovedCard(0); slot != -1;
             slot = cards.FindRemovedCard(slot + 1)) {
        }
    }
    ~CAppletRoot() {
        std::error_code ignored;
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
        for (const auto& entry : std::filesystem::directory_iterator(m_path, ignored)) {
            std::filesystem::remove_all(entry.path(), ignored);
        }
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
    // The process's root directory, made on first use and removed when the process ends.
    static const std::filesystem::path& ProcessRoot() {
        static const struct Directory {
            Directory() {
                std::string pattern =
                    (std::filesystem::temp_directory_path() / "quilan-prop-XXXXXX").string();
                path = mkdtemp(pattern.data());
            }
            ~Directory() {
                std::error_code ignored;
                std::filesystem::remove_all(path, ignored);
            }
            std::filesystem::path path;
        } directory;
        return directory.path;
    }

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
