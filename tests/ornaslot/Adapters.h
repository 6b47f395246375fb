// Emulated adapters for the card tests, and a raw view of the shared card list.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "TestRoot.h"
#include "ornaslot/CardListArea.h"
#include "platform/sys/SharedMemory.h"
#include "tools/tasim/Adapter.h"

// An adapter of `config` on <root>/ports/<com>, serving until destroyed.
inline std::unique_ptr<tasim::Adapter> StartAdapter(const CTestRoot& root, const std::string& com,
                                                    tasim::Config config = {}) {
    auto adapter = std::make_unique<tasim::Adapter>(std::move(config));
    EXPECT_TRUE(adapter->Start(root.Path(), com)) << com;
    return adapter;
}

inline bool Received(const tasim::Adapter& adapter, const std::string& command) {
    auto commands = adapter.Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

// The shared area as every process sees it, texts included that no operation hands out. Attach
// it only after the library has (any card-list call does), so that the library initialised it.
class CSharedView {
  public:
    CSharedView()
        : m_pArea(sys::SharedMemory::Attach(kCardListAreaName, kCardListAreaVersion,
                                            sizeof(CardListData),
                                            [](void*) { ADD_FAILURE() << "view came first"; })) {
        EXPECT_TRUE(m_pArea);
    }
    CardListData& operator*() const { return *static_cast<CardListData*>(m_pArea->Payload()); }
    CardListData* operator->() const { return &**this; }

  private:
    std::unique_ptr<sys::SharedMemory> m_pArea;
};
