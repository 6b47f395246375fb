// tasim: one emulated Quilan ISDN T/A on a COM name of a system root, until SIGTERM or SIGINT.
//
//   tasim --root DIR --port COM3 [--region na|euro] [--version 3.10.05] [--ident TEXT]
//         [--isdn TEXT] [--no-bacp] [--xmodem crc|checksum] [--state FILE] [fault options]
//
// Fault options (K counts command lines from 1, the set-up command included; blocks count
// from 1 in the order of the file):
//   --mute                    answer nothing at all
//   --no-answer K | --no-answer-to CMD        no echo and no reply to that command
//   --error K | --error-to CMD                "ERROR" to that command
//   --split N,N,...           write every reply in pieces cut at these offsets
//   --split-prompt            write the loader prompt as ">" and then ">"
//   --split-gap MS            pause between the pieces (default 20)
//   --unsolicited TEXT        the unsolicited line (default RING) ...
//   --unsolicited-before K | --unsolicited-before-cmd CMD   ... sent before that command's echo
//   --oversize K | --oversize-to CMD   pad that reply with information lines ...
//   --oversize-bytes N        ... to at least N bytes (default 6000)
//   --cancel-at-block K       CAN CAN instead of the answer to block K
//   --nak-block K --nak-times N        NAK block K N times before taking it
//   --nak-eot N                        NAK the end of transmission N times before taking it
//   --silent-from-block K     answer nothing from block K on
//   --hang-up-at K | --hang-up-at-cmd CMD | --hang-up-at-block K   close the line there
//   --pace                    move bytes at 115200 bit/s, 10 bits a byte
#include <signal.h>

#include <cstdlib>
#include <iostream>
#include <map>
#include <sstream>
#include <string>

#include "tools/tasim/Adapter.h"

namespace {

int Usage() {
    std::cerr << "usage: tasim --root DIR --port COMn [--region na|euro] [--version TEXT]"
                 " [--ident TEXT] [--isdn TEXT] [--no-bacp] [--xmodem crc|checksum]"
                 " [--state FILE] [fault options]\n";
    return 2;
}

int Count(const std::string& text) {
    std::size_t used = 0;
    int n = std::stoi(text, &used);
    if (used != text.size() || n < 0)
        throw std::invalid_argument(text);
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    const std::map<std::string, bool> flags = {
        {"no-bacp", true}, {"mute", true}, {"split-prompt", true}, {"pace", true}};
    std::map<std::string, std::string> options;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name.rfind("--", 0) != 0)
            return Usage();
        name = name.substr(2);
        if (flags.count(name)) {
            options[name] = "1";
        } else if (i + 1 < argc) {
            options[name] = argv[++i];
        } else {
            return Usage();
        }
    }
    if (!options.count("root") || !options.count("port"))
        return Usage();

    tasim::Config config;
    tasim::Faults& f = config.faults;
    try {
        for (const auto& [name, value] : options) {
            if (name == "root" || name == "port")
                continue;
            if (name == "region") {
                if (value != "na" && value != "euro")
                    return Usage();
                config.region =
                    value == "na" ? tasim::Region::NorthAmerica : tasim::Region::International;
            } else if (name == "version")
                config.version = value;
            else if (name == "ident")
                config.ident = value;
            else if (name == "isdn")
                config.isdn = value;
            else if (name == "no-bacp")
                config.bacp = false;
            else if (name == "xmodem") {
                if (value != "crc" && value != "checksum")
                    return Usage();
                config.xmodem =
                    value == "crc" ? tasim::XmodemMode::Crc : tasim::XmodemMode::Checksum;
            } else if (name == "state")
                config.stateFile = value;
            else if (name == "mute")
                f.mute = true;
            else if (name == "no-answer")
                f.noAnswer.nth = Count(value);
            else if (name == "no-answer-to")
                f.noAnswer.text = value;
            else if (name == "error")
                f.error.nth = Count(value);
            else if (name == "error-to")
                f.error.text = value;
            else if (name == "split") {
                std::istringstream list(value);
                for (std::string cut; std::getline(list, cut, ',');) {
                    f.splitReplies.push_back(static_cast<std::size_t>(Count(cut)));
                }
            } else if (name == "split-prompt")
                f.splitPrompt = true;
            else if (name == "split-gap")
                f.splitGapMs = Count(value);
            else if (name == "unsolicited")
                f.unsolicited = value;
            else if (name == "unsolicited-before")
                f.unsolicitedBefore.nth = Count(value);
            else if (name == "unsolicited-before-cmd")
                f.unsolicitedBefore.text = value;
            else if (name == "oversize")
                f.oversize.nth = Count(value);
            else if (name == "oversize-to")
                f.oversize.text = value;
            else if (name == "oversize-bytes")
                f.oversizeBytes = static_cast<std::size_t>(Count(value));
            else if (name == "cancel-at-block")
                f.cancelAtBlock = Count(value);
            else if (name == "nak-block")
                f.nakBlock = Count(value);
            else if (name == "nak-times")
                f.nakTimes = Count(value);
            else if (name == "nak-eot")
                f.nakEotTimes = Count(value);
            else if (name == "silent-from-block")
                f.silentFromBlock = Count(value);
            else if (name == "hang-up-at")
                f.hangUpAt.nth = Count(value);
            else if (name == "hang-up-at-cmd")
                f.hangUpAt.text = value;
            else if (name == "hang-up-at-block")
                f.hangUpAtBlock = Count(value);
            else if (name == "pace")
                f.pace = true;
            else
                return Usage();
        }
    } catch (const std::exception&) {
        return Usage();
    }

    // The signals are taken by sigwait, so they must be blocked before any thread starts.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stop, nullptr);

    tasim::Adapter adapter(config);
    if (!adapter.Start(options["root"], options["port"]))
        return 1;
    std::cout << "tasim: " << options["port"] << " is " << adapter.SlavePath().string() << " under "
              << options["root"] << "/ports, firmware V" << adapter.Version() << " "
              << adapter.IsdnText() << std::endl;
    int signal = 0;
    sigwait(&stop, &signal);
    adapter.Stop();
    return 0;
}
