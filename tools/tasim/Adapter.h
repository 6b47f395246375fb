// A virtual Quilan ISDN T/A on the master side of a pseudo-terminal.
//
// Start() creates the pty and links <root>/ports/<COMn> to its slave, so that the system opens
// the emulated card like any COM port; Stop() (or a hang-up fault) closes the master and removes
// the link: the card is removed. While started, one serving thread of the adapter answers the
// AT dialect and the firmware loader; it sleeps in poll() between bytes.
//
// Thread contract: every public member may be called from any thread, also while the adapter
// serves; the state getters return a consistent snapshot. The adapter owns its pty, its link and
// its serving thread; the destructor stops it.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "CardProfiles.h"

namespace tasim {

enum class Region { NorthAmerica, International };
enum class XmodemMode { Crc, Checksum };  // the receiver asks with "C" or with NAK

// Picks commands: the k-th command line received since Start (1 = the first; the set-up
// command "ATV1E1&K3" counts), every one from the k-th on, or every command whose text without
// its CR equals `text` (letter case ignored). An empty match (nth and from 0, text empty) picks
// nothing.
struct CommandMatch {
    int nth = 0;
    int from = 0;
    std::string text;
    bool Matches(int n, std::string_view command) const;
};

// Faults to inject. Blocks are counted by their place in the transfer (1 = the first block,
// going on past block number 255); repeats of a block keep its place.
struct Faults {
    bool mute = false;      // nothing at all is sent back, not even the echo
    CommandMatch noAnswer;  // these commands get neither echo nor reply
    CommandMatch error;     // these commands are echoed and answered "ERROR", with no effect
    std::vector<std::size_t> splitReplies;  // each reply is written in pieces cut at these offsets
    bool splitPrompt = false;               // the loader prompt is written as ">" and then ">"
    int splitGapMs = 20;                    // real pause between the pieces
    std::string unsolicited = "RING";       // line sent as "\r\n<line>\r\n" ...
    CommandMatch unsolicitedBefore;         // ... before the echo of these commands
    CommandMatch oversize;                  // these commands' replies carry extra info lines ...
    std::size_t oversizeBytes = 6000;       // ... so that the reply has at least this many bytes
    int cancelAtBlock = 0;                  // CAN CAN instead of the answer to block k
    int nakBlock = 0;                       // block k is NAKed ...
    int nakTimes = 0;                       // ... this many times before it is taken
    int nakEotTimes = 0;                    // EOT is NAKed this many times before it is taken
    int silentFromBlock = 0;                // from block k on the receiver answers nothing
    CommandMatch hangUpAt;                  // the master is closed when these commands arrive
    int hangUpAtBlock = 0;                  // the master is closed when block k arrives
    bool pace = false;  // bytes move at the line rate, 115200 bit/s with 10 bits a byte (real time)
};

struct Config {
    Region region = Region::NorthAmerica;
    std::string version = "3.10.05";  // firmware version text: ATI3 answers "V" and this
    std::string ident;                // ATI8 line; empty: "Corvane Quilan ISDN Terminal Adapter"
    std::string isdn;  // ATI4 line; empty: the region's "ISDN(NI-1,...)" or "ISDN(EURO,...)"
    bool bacp = true;  // "AT%P5=1" is accepted (and BACP can be stored in a profile)
    XmodemMode xmodem = XmodemMode::Crc;
    // When set, firmware, stored profiles and default profile are read from this file at Start
    // (if it exists) and written to it on every change, like the card's own memory.
    std::filesystem::path stateFile;
    Faults faults;
};

class Adapter {
  public:
    explicit Adapter(Config config = {});
    ~Adapter();
    Adapter(const Adapter&) = delete;
    Adapter& operator=(const Adapter&) = delete;

    // Creates the pty, links <root>/ports/<com> to its slave (creating <root>/ports and
    // replacing a stale link) and starts serving. False, with a line on stderr, on failure.
    bool Start(const std::filesystem::path& root, const std::string& com);
    // Closes the master and removes the link; a no-op when not started.
    void Stop();
    bool Running() const;
    std::filesystem::path SlavePath() const;  // /dev/pts/N while started

    void SetFaults(const Faults& faults);
    // Writes bytes to the line now, for example "\r\nRING\r\n".
    void Inject(std::string_view bytes);

    // The recording since Start or the last ClearRecording: every byte received, and every
    // command line (AT dialect and loader) with its CR, leading line feeds dropped.
    std::string Received() const;
    std::vector<std::string> Commands() const;
    void ClearRecording();
    // The data of the blocks taken in the last XMODEM reception (pad and stale bytes included).
    std::string LastTransfer() const;

    // Firmware state.
    std::string Version() const;
    std::string IsdnText() const;
    Region GetRegion() const;
    bool InLoader() const;

    // Stored profiles as the record the profile storage fills (NorthAmerica from the region),
    // the active configuration, and single registers ("!C1", "!N11", "!O", "%P5", ...) of
    // profile 0..2, or of the active configuration with profile -1 (empty when absent).
    _CARDPROFILES CardProfiles() const;
    _STOREDPROFILE ActiveProfile() const;
    int DefaultProfile() const;
    std::string Register(int profile, const std::string& name) const;
    // Stores the profiles and the default profile of the record as given (NorthAmerica ignored).
    void SetCardProfiles(const _CARDPROFILES& profiles);
    void SetRegister(int profile, const std::string& name, const std::string& value);

    class Impl;

  private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace tasim
