// The emulator's firmware loader: "AT$Z", the prompt, "$Load" and an XMODEM reception driven
// by a small sender written here, over a real pseudo-terminal.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "link/ReplyParser.h"
#include "platform/sys/Time.h"
#include "tests/tasim/PtyPeer.h"
#include "tools/mkelm/ElmFile.h"
#include "tools/tasim/Adapter.h"

namespace {

using namespace std::chrono_literals;
using tasim::XmodemMode;

constexpr char SOH = 0x01, EOT = 0x04, ACK = 0x06, NAK = 0x15, CAN = 0x18;

std::uint16_t Crc16(std::string_view data) {
    std::uint16_t crc = 0;
    for (char c : data) {
        crc ^= static_cast<std::uint16_t>(static_cast<std::uint8_t>(c) << 8);
        for (int i = 0; i < 8; ++i) {
            crc = static_cast<std::uint16_t>(crc & 0x8000 ? (crc << 1) ^ 0x1021 : crc << 1);
        }
    }
    return crc;
}

// The file cut into 128-byte blocks as a sender with one reused buffer makes them: a short
// last block carries a pad byte and then what the buffer held before.
std::vector<std::string> DataBlocks(const std::string& file) {
    std::vector<std::string> blocks;
    std::string buffer(128, '\0');
    for (std::size_t at = 0; at < file.size(); at += 128) {
        std::size_t n = std::min<std::size_t>(128, file.size() - at);
        buffer.replace(0, n, file, at, n);
        if (n < 128)
            buffer[n] = 0x1A;
        blocks.push_back(buffer);
    }
    return blocks;
}

std::string Framed(XmodemMode mode, std::uint8_t number, const std::string& data) {
    std::string block = {SOH, static_cast<char>(number), static_cast<char>(~number)};
    block += data;
    if (mode == XmodemMode::Crc) {
        std::uint16_t crc = Crc16(data);
        block += static_cast<char>(crc >> 8);
        block += static_cast<char>(crc & 0xFF);
    } else {
        std::uint8_t sum = 0;
        for (char c : data)
            sum = static_cast<std::uint8_t>(sum + static_cast<std::uint8_t>(c));
        block += static_cast<char>(sum);
    }
    return block;
}

const char* FromLineFeed(const std::string& reply) {
    std::size_t lf = reply.find('\n');
    return lf == std::string::npos ? "" : reply.c_str() + lf;
}

class Loader : public testing::TestWithParam<XmodemMode> {
  protected:
    void Begin(tasim::Faults faults = {}) {
        tasim::Config config;
        config.xmodem = GetParam();
        config.faults = faults;
        adapter = std::make_unique<tasim::Adapter>(config);
        ASSERT_TRUE(adapter->Start(root.path(), "COM3"));
        peer = std::make_unique<PtyPeer>(root.Port("COM3"));
        peer->Command("ATV1E1&K3\r\n");
        ASSERT_EQ(peer->Command("AT!C1=1\r"), "AT!C1=1\r\nOK\r\n");
        ASSERT_EQ(peer->Command("AT&W0\r"), "AT&W0\r\nOK\r\n");
        peer->Write("AT$Z\r");
        ASSERT_NE(peer->ReadUntil(">>").find(">>"), std::string::npos);
        EXPECT_TRUE(adapter->InLoader());
        peer->Write("$Load\r");
        std::string request = peer->ReadUntil(std::string(1, Request()));
        ASSERT_EQ(request.back(), Request()) << request;
    }
    char Request() const { return GetParam() == XmodemMode::Crc ? 'C' : NAK; }
    // The receiver's answer to what was just sent; repeats of its first request are skipped.
    char Answer() {
        for (;;) {
            std::string b = peer->ReadCount(1);
            if (b.empty())
                return 0;
            if (b[0] != 'C')
                return b[0];
        }
    }
    char Send(std::uint8_t number, const std::string& data) {
        peer->Write(Framed(GetParam(), number, data));
        return Answer();
    }
    void SendAll(const std::string& file) {
        std::uint8_t number = 1;
        for (const std::string& data : DataBlocks(file)) {
            ASSERT_EQ(Send(number++, data), ACK);
        }
        peer->Write(std::string(1, EOT));
        ASSERT_EQ(Answer(), ACK);
        ASSERT_NE(peer->ReadUntil(">>").find(">>"), std::string::npos);
    }
    void BackToAt() {
        EXPECT_EQ(peer->Command("AT\r"), "AT\r\nOK\r\n");
        EXPECT_FALSE(adapter->InLoader());
    }
    void ExpectFirmwareUnchanged() {
        EXPECT_EQ(adapter->Version(), "3.10.05");
        EXPECT_EQ(adapter->IsdnText(), "ISDN(NI-1,5ESS,S/T)");
        EXPECT_EQ(adapter->Register(0, "!C1"), "1");  // profiles kept
    }

    TempRoot root;
    std::unique_ptr<tasim::Adapter> adapter;
    std::unique_ptr<PtyPeer> peer;
};

std::string NewFirmware() {
    mkelm::ElmLayout layout;
    layout.size = 1000;  // 7 whole blocks and a short one
    layout.version = "4.01.07";
    layout.versionAt = 300;
    layout.isdn = "ISDN(EURO,ETSI,S/T)";
    layout.isdnAt = 900;
    layout.recordSize = 64;
    return mkelm::BuildElm(layout);
}

TEST_P(Loader, ReceptionWithNakAndRepeatedBlockTakesTheNewFirmware) {
    Begin();
    const std::string file = NewFirmware();
    std::vector<std::string> blocks = DataBlocks(file);
    ASSERT_EQ(blocks.size(), 8u);
    ASSERT_EQ(Send(1, blocks[0]), ACK);
    std::string spoiled = blocks[1];
    spoiled[10] ^= 0x40;  // the check value no longer fits the data
    std::string frame = Framed(GetParam(), 2, blocks[1]);
    frame[13] ^= 0x40;
    peer->Write(frame);
    ASSERT_EQ(Answer(), NAK);
    ASSERT_EQ(Send(2, blocks[1]), ACK);
    ASSERT_EQ(Send(2, blocks[1]), ACK);  // as if our ACK had been lost
    for (std::uint8_t n = 3; n <= 8; ++n)
        ASSERT_EQ(Send(n, blocks[n - 1]), ACK);
    peer->Write(std::string(1, EOT));
    ASSERT_EQ(Answer(), ACK);
    ASSERT_NE(peer->ReadUntil(">>").find(">>"), std::string::npos);
    BackToAt();

    std::string taken = adapter->LastTransfer();
    ASSERT_EQ(taken.size(), 8u * 128);  // the repeat was not stored
    EXPECT_EQ(taken.substr(0, file.size()), file);

    _SoftwareVer version{};
    ASSERT_EQ(CReplyParser::ParseSoftwareVersion(FromLineFeed(peer->Command("ATI3\r")), version),
              0);
    EXPECT_STREQ(version.szVersionText, "4.01.07");
    _ISDN_VERSIONTYPE type = VERSIONTYPE_NI1;
    ASSERT_EQ(CReplyParser::ParseVersionType(FromLineFeed(peer->Command("ATI4\r")), type), 0);
    EXPECT_EQ(type, VERSIONTYPE_EURO);
    // A firmware change loses the stored profiles: the international factory settings.
    EXPECT_EQ(adapter->Register(0, "!C1"), "2");
    EXPECT_EQ(adapter->Register(0, "!C6"), "");
    EXPECT_EQ(adapter->CardProfiles().NorthAmerica, 0);
    auto commands = adapter->Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), "$Load\r"), commands.end());
}

TEST_P(Loader, LongImageOfWholeBlocksWrapsTheBlockNumber) {
    Begin();
    mkelm::ElmLayout layout;
    layout.size = 264 * 128;  // block numbers go past 255 back to 0; no pad byte
    layout.version = "3.12.00";
    layout.versionAt = 256 * 128 + 40;  // behind the wrap
    layout.isdnAt = 2000;
    const std::string file = mkelm::BuildElm(layout);
    SendAll(file);
    EXPECT_EQ(adapter->Version(), "3.12.00");
    EXPECT_EQ(adapter->LastTransfer(), file);
}

TEST_P(Loader, CancelAtBlockKeepsTheOldFirmware) {
    tasim::Faults f;
    f.cancelAtBlock = 3;
    Begin(f);
    std::vector<std::string> blocks = DataBlocks(NewFirmware());
    ASSERT_EQ(Send(1, blocks[0]), ACK);
    ASSERT_EQ(Send(2, blocks[1]), ACK);
    ASSERT_EQ(Send(3, blocks[2]), CAN);
    EXPECT_NE(peer->ReadUntil(">>").find(">>"), std::string::npos);
    peer->Write(std::string(1, EOT));  // what a sender answers to CAN
    BackToAt();
    ExpectFirmwareUnchanged();
}

TEST_P(Loader, BlockNakedTheChosenNumberOfTimes) {
    tasim::Faults f;
    f.nakBlock = 2;
    f.nakTimes = 3;
    Begin(f);
    const std::string file = NewFirmware();
    std::vector<std::string> blocks = DataBlocks(file);
    ASSERT_EQ(Send(1, blocks[0]), ACK);
    for (int i = 0; i < 3; ++i)
        ASSERT_EQ(Send(2, blocks[1]), NAK) << i;
    ASSERT_EQ(Send(2, blocks[1]), ACK);
    for (std::uint8_t n = 3; n <= 8; ++n)
        ASSERT_EQ(Send(n, blocks[n - 1]), ACK);
    peer->Write(std::string(1, EOT));
    ASSERT_EQ(Answer(), ACK);
    EXPECT_EQ(adapter->Version(), "4.01.07");
}

TEST_P(Loader, SilenceFromABlockOn) {
    tasim::Faults f;
    f.silentFromBlock = 2;
    Begin(f);
    std::vector<std::string> blocks = DataBlocks(NewFirmware());
    ASSERT_EQ(Send(1, blocks[0]), ACK);
    peer->Write(Framed(GetParam(), 2, blocks[1]));
    EXPECT_EQ(
        peer->ReadSome(std::chrono::duration_cast<std::chrono::milliseconds>(sys::Scaled(5000))),
        "");
}

TEST_P(Loader, HangUpAtABlock) {
    tasim::Faults f;
    f.hangUpAtBlock = 2;
    Begin(f);
    std::vector<std::string> blocks = DataBlocks(NewFirmware());
    ASSERT_EQ(Send(1, blocks[0]), ACK);
    peer->Write(Framed(GetParam(), 2, blocks[1]));
    EXPECT_TRUE(peer->HungUp(5s));
    EXPECT_FALSE(adapter->Running());
}

TEST_P(Loader, BlockCutShortIsNakedAfterTheReceiverWaited) {
    Begin();
    std::vector<std::string> blocks = DataBlocks(NewFirmware());
    std::string frame = Framed(GetParam(), 1, blocks[0]);
    peer->Write(frame.substr(0, 60));
    EXPECT_EQ(Answer(), NAK);  // after 10 s of the adapter's time
    EXPECT_EQ(Send(1, blocks[0]), ACK);
}

TEST_P(Loader, UnknownLoaderCommandAnswersErrorAndPromptsAgain) {
    Begin();
    peer->Write(std::string(1, EOT));
    ASSERT_EQ(Answer(), ACK);  // an empty transfer: no image, nothing changes
    ASSERT_NE(peer->ReadUntil(">>").find(">>"), std::string::npos);
    peer->Write("$Run\r");
    EXPECT_EQ(peer->ReadUntil(">>"), "$Run\r\nERROR\r\n\r\n>>");
    BackToAt();
    ExpectFirmwareUnchanged();
}

INSTANTIATE_TEST_SUITE_P(Modes, Loader, testing::Values(XmodemMode::Crc, XmodemMode::Checksum),
                         [](const testing::TestParamInfo<XmodemMode>& info) {
                             return info.param == XmodemMode::Crc ? "Crc" : "Checksum";
                         });

struct BrokenRow {
    const char* name;
    std::string file;
};

std::string Broken(mkelm::Break how) {
    mkelm::ElmLayout layout;
    layout.size = 2000;
    layout.version = "5.0.0";
    layout.isdn = "ISDN(EURO,ETSI,S/T)";
    layout.breakWith = how;
    return mkelm::BuildElm(layout);
}

std::string AbortBlock() {
    std::string group;
    for (int i = 0; i < 7; ++i)
        group += "ABORTED";
    group += std::string(9, '\t') + " ";
    return group + group + "ABORTEDABO";
}

class BrokenImage : public testing::TestWithParam<BrokenRow> {};

TEST_P(BrokenImage, LeavesTheOldFirmwareInPlace) {
    TempRoot root;
    tasim::Adapter adapter;
    ASSERT_TRUE(adapter.Start(root.path(), "COM3"));
    PtyPeer peer(root.Port("COM3"));
    peer.Command("AT!N1=123\r");
    peer.Command("AT&W2\r");
    peer.Write("AT$Z\r");
    peer.ReadUntil(">>");
    peer.Write("$Load\r");
    peer.ReadUntil("C");
    std::uint8_t number = 1;
    for (const std::string& data : DataBlocks(GetParam().file)) {
        peer.Write(Framed(XmodemMode::Crc, number++, data));
        ASSERT_EQ(peer.ReadCount(1), std::string(1, ACK));
    }
    peer.Write(std::string(1, EOT));
    ASSERT_EQ(peer.ReadCount(1), std::string(1, ACK));
    ASSERT_NE(peer.ReadUntil(">>").find(">>"), std::string::npos);
    EXPECT_EQ(peer.Command("AT\r"), "AT\r\nOK\r\n");
    EXPECT_EQ(adapter.Version(), "3.10.05");
    EXPECT_EQ(adapter.GetRegion(), tasim::Region::NorthAmerica);
    EXPECT_EQ(adapter.Register(2, "!N1"), "123");
}

INSTANTIATE_TEST_SUITE_P(Rows, BrokenImage,
                         testing::Values(BrokenRow{"Checksum", Broken(mkelm::Break::Checksum)},
                                         BrokenRow{"Length", Broken(mkelm::Break::Length)},
                                         BrokenRow{"Truncated", Broken(mkelm::Break::Truncated)},
                                         BrokenRow{"AbortBlock", AbortBlock()},
                                         BrokenRow{"NoTypeText",
                                                   [] {
                                                       mkelm::ElmLayout layout;
                                                       layout.isdn = "ISDN(EURO";
                                                       return mkelm::BuildElm(layout);
                                                   }()}),
                         [](const testing::TestParamInfo<BrokenRow>& info) {
                             return info.param.name;
                         });

TEST(LoaderPrompt, SplitPromptArrivesInTwoPieces) {
    TempRoot root;
    tasim::Faults f;
    f.splitPrompt = true;
    f.splitGapMs = 200;
    tasim::Adapter adapter;
    adapter.SetFaults(f);
    ASSERT_TRUE(adapter.Start(root.path(), "COM3"));
    PtyPeer peer(root.Port("COM3"));
    peer.Write("AT$Z\r");
    std::string first = peer.ReadUntil("\r\n>");
    EXPECT_EQ(first.substr(first.size() - 3), "\r\n>");
    EXPECT_EQ(peer.ReadSome(50ms), "");
    EXPECT_EQ(peer.ReadSome(2s), ">");
}

}  // namespace
