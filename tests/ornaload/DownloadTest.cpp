// The download engine against the emulated adapter over a real pseudo-terminal: good downloads
// in both modes, what the adapter can do wrong, and what the user can do meanwhile.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "XferFixture.h"
#include "ornaload/Resources.h"
#include "ornaload/XmodemBlock.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/Static.h"
#include "platform/ui/Window.h"

namespace {

namespace xmodem = ornaload::xmodem;

constexpr char kNewVersion[] = "3.11.02";

// Counts the blocks with this number (as the sender numbers them) that reached the adapter.
int BlocksNumbered(const std::string& received, std::uint8_t number) {
    const std::string header = {static_cast<char>(xmodem::SOH), static_cast<char>(number),
                                static_cast<char>(~number)};
    int count = 0;
    for (std::size_t at = received.find(header); at != std::string::npos;
         at = received.find(header, at + 1)) {
        ++count;
    }
    return count;
}

std::string AbortData() {
    xmodem::Block block{};
    xmodem::FillAbortData(block);
    return std::string(reinterpret_cast<const char*>(block.data()) + xmodem::kDataOffset,
                       xmodem::kDataSize);
}

// The adapter's image as it arrived: the file, then (for a short last block) the pad byte.
void ExpectImage(const tasim::Adapter& card, const std::string& file) {
    std::string taken = card.LastTransfer();
    std::size_t blocks = (file.size() + 127) / 128;
    ASSERT_EQ(taken.size(), blocks * 128);
    EXPECT_TRUE(taken.compare(0, file.size(), file) == 0);
    if (file.size() % 128 != 0) {
        EXPECT_EQ(taken[file.size()], static_cast<char>(xmodem::PAD));
    }
}

std::function<bool()> Sending(ui::HeadlessUser& user) {
    return [&user] {
        auto* bar = dynamic_cast<ui::ProgressBar*>(user.Find(kIdProgress));
        return bar && bar->Pos() > 0;
    };
}

struct ModeCase {
    tasim::XmodemMode mode;
    std::size_t size;
};

void PrintTo(const ModeCase& c, std::ostream* out) {
    *out << (c.mode == tasim::XmodemMode::Crc ? "crc " : "checksum ") << c.size;
}

class GoodDownloadTest : public XferTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(GoodDownloadTest, SendsTheFileByteForByteAndTheCardRunsIt) {
    tasim::Config config;
    config.xmodem = GetParam().mode;
    tasim::Adapter& card = Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(EURO,ETSI)", GetParam().size));
    const int threads = ThreadCount();
    ui::HeadlessUser user;
    XferOutcome outcome = FromFile(file);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(Boxes(user), std::vector<std::string>{});
    ExpectImage(card, Read(file));
    EXPECT_EQ(card.Version(), kNewVersion);
    EXPECT_EQ(card.GetRegion(), tasim::Region::International);
    EXPECT_FALSE(card.InLoader());  // the final "AT" took it out of its loader
    EXPECT_TRUE(ThreadsDownTo(threads));
    // Block sizes by mode: the first block's header and the bytes that follow it.
    std::string received = card.Received();
    std::size_t first = received.find(std::string{1, 1, static_cast<char>(0xFE)});
    std::size_t second = received.find(std::string{1, 2, static_cast<char>(0xFD)});
    ASSERT_NE(first, std::string::npos);
    if (second != std::string::npos) {
        EXPECT_EQ(second - first, GetParam().mode == tasim::XmodemMode::Crc ? 133u : 132u);
    }
}

// A whole number of blocks, a short last block, and more than 256 blocks (the number wraps).
INSTANTIATE_TEST_SUITE_P(Modes, GoodDownloadTest,
                         ::testing::Values(ModeCase{tasim::XmodemMode::Crc, 4096},
                                           ModeCase{tasim::XmodemMode::Checksum, 4096},
                                           ModeCase{tasim::XmodemMode::Crc, 4100},
                                           ModeCase{tasim::XmodemMode::Checksum, 1028},
                                           ModeCase{tasim::XmodemMode::Crc, 40000},
                                           ModeCase{tasim::XmodemMode::Checksum, 33028}));

struct FaultCase {
    const char* name;
    tasim::Faults faults;
    std::int32_t result;
    std::vector<std::string> boxes;
    bool bNewFirmware;
};

tasim::Faults NoAnswerTo(const char* command) {
    tasim::Faults faults;
    faults.noAnswer.text = command;
    return faults;
}

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class FaultTest : public XferTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(FaultTest, EndsWithItsCodeAndReleasesEverything) {
    tasim::Config config;
    config.faults = GetParam().faults;
    tasim::Adapter& card = Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)", 8192));
    const int threads = ThreadCount();
    {
        ui::HeadlessUser user;
        XferOutcome outcome = FromFile(file);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.result, GetParam().result);
        EXPECT_EQ(Boxes(user), GetParam().boxes);
    }
    EXPECT_EQ(card.Version() == kNewVersion, GetParam().bNewFirmware);
    // An adapter that hung up ends its own serving thread too.
    EXPECT_TRUE(ThreadsDownTo(card.Running() ? threads : threads - 1));
    if ((GetParam().result == -2 || GetParam().result == -3) && card.Running()) {
        // EOT goes out first, and reaches the adapter even though the port closes right after.
        EXPECT_TRUE(Eventually([&card] {
            return card.Received().find(static_cast<char>(xmodem::EOT)) != std::string::npos;
        }));
    }
    // The port is free again: the next download works at once.
    if (!card.Running() || card.InLoader()) {
        return;  // gone, or left in its loader as a real adapter would be after a failure
    }
    card.SetFaults({});
    ui::HeadlessUser again;
    EXPECT_EQ(FromFile(file).result, 0);
    EXPECT_EQ(card.Version(), kNewVersion);
}

tasim::Faults Fault(void (*set)(tasim::Faults&)) {
    tasim::Faults faults;
    set(faults);
    return faults;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultTest,
    ::testing::Values(
        FaultCase{"CanAtBlock3",
                  Fault([](tasim::Faults& f) { f.cancelAtBlock = 3; }),
                  -2,
                  {kAdapterError},
                  false},
        FaultCase{"SilentInWaitStart", NoAnswerTo("$Load"), -3, {kTimeout}, false},
        FaultCase{"SilentFromBlock2",
                  Fault([](tasim::Faults& f) { f.silentFromBlock = 2; }),
                  -3,
                  {kTimeout},
                  false},
        FaultCase{"HangUpAtBlock3",
                  Fault([](tasim::Faults& f) { f.hangUpAtBlock = 3; }),
                  -3,
                  {kTimeout},
                  false},
        FaultCase{"NakBlock2ThreeTimes",
                  Fault([](tasim::Faults& f) {
                      f.nakBlock = 2;
                      f.nakTimes = 3;
                  }),
                  0,
                  {},
                  true},
        FaultCase{"NakEotTwice", Fault([](tasim::Faults& f) { f.nakEotTimes = 2; }), 0, {}, true},
        FaultCase{
            "SplitPrompt", Fault([](tasim::Faults& f) { f.splitPrompt = true; }), 0, {}, true},
        FaultCase{"NoisyLoaderBanner",
                  Fault([](tasim::Faults& f) { f.unsolicitedBefore.text = "AT$Z"; }),
                  0,
                  {},
                  true}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

TEST_F(XferTest, SilenceWhileSendingRepeatsTheBlockTwiceThenGivesUp) {
    tasim::Config config;
    config.faults.silentFromBlock = 2;
    tasim::Adapter& card = Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)"));
    ui::HeadlessUser user;
    EXPECT_EQ(FromFile(file).result, -3);
    EXPECT_EQ(BlocksNumbered(card.Received(), 2), 3);
    EXPECT_EQ(BlocksNumbered(card.Received(), 3), 0);
}

TEST_F(XferTest, NakRepeatsTheSameBlockAndNakAfterEotRepeatsEot) {
    tasim::Config config;
    config.faults.nakBlock = 2;
    config.faults.nakTimes = 2;
    config.faults.nakEotTimes = 2;
    tasim::Adapter& card = Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)", 1024));
    ui::HeadlessUser user;
    EXPECT_EQ(FromFile(file).result, 0);
    std::string received = card.Received();
    EXPECT_EQ(BlocksNumbered(received, 2), 3);
    EXPECT_EQ(BlocksNumbered(received, 3), 1);
    std::size_t last = received.rfind(std::string{1, 8, static_cast<char>(0xF7)});
    ASSERT_NE(last, std::string::npos);
    EXPECT_EQ(received.substr(last + 133, 3), std::string(3, static_cast<char>(xmodem::EOT)));
}

// While the adapter is restarting into its loader, the reply timer writes nothing: there is no
// block yet. The third tick gives up.
TEST_F(XferTest, NoPromptWritesNothingButEotAndTimesOut) {
    tasim::Config config;
    config.faults = NoAnswerTo("AT$Z");
    tasim::Adapter& card = Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)"));
    ui::HeadlessUser user;
    XferOutcome outcome = FromFile(file);
    EXPECT_EQ(outcome.result, -3);
    EXPECT_EQ(Boxes(user), std::vector<std::string>{kTimeout});
    EXPECT_TRUE(Eventually([&card] { return card.Received() == "ATV1E1&K3\r\nAT$Z\r\x04"; }))
        << card.Received();
}

TEST_F(XferTest, CancelWhileWaitingForThePromptChecksTheCardAndEnds) {
    tasim::Config config;
    config.faults = NoAnswerTo("AT$Z");
    tasim::Adapter& card = Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)"));
    ui::HeadlessUser user;
    user.Click(ui::kIdCancel);
    XferOutcome outcome = FromFile(file);
    EXPECT_EQ(outcome.result, -7);
    EXPECT_EQ(Boxes(user), std::vector<std::string>{});
    EXPECT_EQ(card.Commands().back(), "AT\r");
    EXPECT_EQ(card.Version(), "3.10.05");
}

TEST_F(XferTest, CancelBeforeTheFirstRequestSendsTheAbortBlockNumberedOne) {
    tasim::Config config;
    config.faults = NoAnswerTo("$Load");
    tasim::Adapter& card = Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)"));
    ui::HeadlessUser user;
    user.WaitUntil([&card] { return Received(card, "$Load\r"); })
        .Click(ui::kIdCancel)
        .Then([&user] { EXPECT_FALSE(user.IsEnabled(ui::kIdCancel)); });
    XferOutcome outcome = FromFile(file);
    // Nobody takes the abort block: the reply timer gives up.
    EXPECT_EQ(outcome.result, -3);
    std::string received = card.Received();
    std::size_t at = received.find(std::string{1, 1, static_cast<char>(0xFE)});
    ASSERT_NE(at, std::string::npos);
    // Checksum mode: the loader never asked for CRC.
    EXPECT_EQ(received.substr(at + 3, 128), AbortData());
    EXPECT_EQ(static_cast<unsigned char>(received[at + 131]),
              xmodem::Checksum(reinterpret_cast<const unsigned char*>(AbortData().data()), 128));
    EXPECT_EQ(received[at + 132], static_cast<char>(xmodem::SOH));  // the timer's repeat
}

TEST_F(XferTest, CancelWhileSendingAbortsWithTheOutstandingBlockNumber) {
    tasim::Config config;
    config.faults.pace = true;
    tasim::Adapter& card = Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)", 40000));
    ui::HeadlessUser user;
    user.WaitUntil(Sending(user)).Click(ui::kIdCancel).Then([&user] {
        EXPECT_FALSE(user.IsEnabled(ui::kIdCancel));
    });
    XferOutcome outcome = FromFile(file);
    EXPECT_EQ(outcome.result, -7);
    EXPECT_EQ(Boxes(user), std::vector<std::string>{});
    // The abort block carries the number of the block that was outstanding: the one sent just
    // before it.
    std::string received = card.Received();
    std::size_t abort = received.find(AbortData());
    ASSERT_NE(abort, std::string::npos);
    ASSERT_GE(abort, 3u + 133u);
    EXPECT_EQ(received.substr(abort - 3, 3), received.substr(abort - 3 - 133, 3));
    EXPECT_EQ(received[abort - 3], static_cast<char>(xmodem::SOH));
    // Whether the loader took it or counted it a repeat, the image is not a firmware: the card
    // keeps its own.
    EXPECT_LT(card.LastTransfer().size(), Read(file).size());
    EXPECT_EQ(card.Version(), "3.10.05");
}

TEST_F(XferTest, TheOkCommandDoesNotEndTheProgressDialog) {
    tasim::Adapter& card = Card();
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)", 20000));
    ui::HeadlessUser user;
    user.WaitUntil(Sending(user)).Then([&user] {
        user.Active()->Send(ui::kCommandMessage, ui::kIdOk);
        EXPECT_EQ(user.Title(), "Download");
    });
    EXPECT_EQ(FromFile(file).result, 0);
    EXPECT_EQ(card.Version(), kNewVersion);
}

// A burst too long for the receive buffer is a failed delivery: the buffer still holds the
// previous one, whose ACK must not be taken again (that would skip a block).
TEST_F(XferTest, OversizedBurstIsNotTakenAsBytes) {
    tasim::Adapter& card = Card();
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)", 20000));
    ui::HeadlessUser user;
    user.WaitUntil(Sending(user)).Then([&card] {
        card.Inject(std::string(300, static_cast<char>(xmodem::ACK)));
    });
    EXPECT_EQ(FromFile(file).result, 0);
    ExpectImage(card, Read(file));
    EXPECT_EQ(card.Version(), kNewVersion);
}

TEST_F(XferTest, ProgressDialogShowsStatusBarTimeAndAnimation) {
    tasim::Config config;
    config.faults.pace = true;
    // The loader's last prompt comes in two halves, so "Transfer Complete" stays up a while.
    config.faults.splitPrompt = true;
    config.faults.splitGapMs = 400;
    Card(config);
    std::string file = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)", 24000));
    ui::HeadlessUser user;
    std::vector<std::uint32_t> pictures;
    auto picture = [&user] {
        auto* shown = dynamic_cast<ui::Static*>(user.Find(kIdPicture));
        return shown ? shown->ImageId() : 0u;
    };
    user.Then([&] {
            EXPECT_EQ(user.Title(), "Download");
            EXPECT_EQ(user.Text(kIdStatus), "Please Wait .....");
            EXPECT_EQ(user.Text(kIdTime), "");
            EXPECT_EQ(picture(), 158u);  // the sheet still in the folder
        })
        .WaitUntil([&] { return user.Text(kIdTime).rfind("Est. time remaining: ", 0) == 0; })
        .Then(
            [&] { EXPECT_EQ(user.Text(kIdStatus), "Transferring NEW.ELM to the Quilan ISDN T/A"); })
        .WaitUntil([&] {
            if (pictures.empty() || pictures.back() != picture()) {
                pictures.push_back(picture());
            }
            return pictures.size() >= 4;
        })
        .WaitUntil([&] { return user.Text(kIdStatus) == "Transfer Complete. Please Wait ....."; })
        .Then([&] {
            EXPECT_EQ(user.Text(kIdTime).substr(0, 27), "Est. time remaining: 0 secs");
            EXPECT_FALSE(user.IsEnabled(ui::kIdCancel));
        });
    EXPECT_EQ(FromFile(file).result, 0);
    EXPECT_TRUE(user.ScriptDone());
    for (std::uint32_t shown : pictures) {
        EXPECT_NE(std::find(ornaload::kFrameBitmaps.begin(), ornaload::kFrameBitmaps.end(), shown),
                  ornaload::kFrameBitmaps.end())
            << shown;
    }
}

TEST_F(XferTest, BrokenFileShowsBothMessagesAndSendsNothing) {
    tasim::Adapter& card = Card();
    std::string file = Elm("BAD.ELM", {.breakWith = mkelm::Break::Checksum});
    ui::HeadlessUser user;
    XferOutcome outcome = FromFile(file);
    EXPECT_EQ(outcome.status, CFileTransferIF::kNotStarted);
    EXPECT_EQ(outcome.result, kUntouched);
    EXPECT_EQ(Boxes(user), (std::vector<std::string>{kInvalidFile, kOpenFailed}));
    EXPECT_EQ(card.Received(), "");
}

TEST_F(XferTest, NamesTooLongForTheirFieldsAreRefused) {
    tasim::Adapter& card = Card();
    std::string good = Elm("NEW.ELM", Firmware(kNewVersion, "ISDN(NI-1,5ESS)"));
    std::filesystem::path deep = ElmFolder() / std::string(120, 'd') / std::string(120, 'e');
    std::filesystem::create_directories(deep);
    std::string longPath = (deep / "NEW.ELM").string();
    std::filesystem::copy_file(good, longPath);
    ASSERT_GE(longPath.size(), 260u);
    ui::HeadlessUser user;
    EXPECT_EQ(FromFile(longPath).status, CFileTransferIF::kNotStarted);
    EXPECT_EQ(FromFile(good, ("COM2" + std::string(300, ' ')).c_str()).status,
              CFileTransferIF::kNotStarted);
    EXPECT_EQ(FromFile(good, "COM7").status, CFileTransferIF::kNotStarted);  // no such port
    EXPECT_EQ(Boxes(user), std::vector<std::string>{});
    EXPECT_EQ(card.Received(), "");
}

}  // namespace
