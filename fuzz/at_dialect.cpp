// Fuzz target: the emulator's AT command interpreter on any command lines.
// Links: tasim
//
// The input is a run of lines, each ended by a carriage return, given one after another to one
// interpreter and card: a North American card that takes BACP, then an International one that
// does not. A refused line changes nothing; an accepted one leaves only register values the
// card would accept again and a default profile from 0 to 2; the stored profiles and the default
// profile change only when the answer says so.
#include <cstdint>
#include <string_view>

#include "fuzz/Require.h"
#include "tools/tasim/AtDialect.h"
#include "tools/tasim/CardState.h"

namespace {

bool Same(const tasim::CardState& a, const tasim::CardState& b) {
    return a.version == b.version && a.isdn == b.isdn && a.stored == b.stored &&
           a.defaultProfile == b.defaultProfile && a.active == b.active;
}

bool Acceptable(const tasim::Registers& registers, tasim::Region region, bool bacp) {
    for (const auto& [name, value] : registers) {
        const tasim::RegisterInfo* info = tasim::FindRegister(name, region);
        if (info == nullptr || tasim::CheckValue(*info, value, bacp) != value) {
            return false;
        }
    }
    return true;
}

void Run(std::string_view lines, tasim::Region region, bool bacp) {
    tasim::Config config;
    config.region = region;
    config.bacp = bacp;
    tasim::CardState state;
    state.version = config.version;
    state.isdn = tasim::DefaultIsdnText(region);
    state.ResetToFactory();
    Require(Acceptable(state.active, region, bacp), "the factory profile is acceptable");
    tasim::AtDialect dialect;
    while (!lines.empty()) {
        const std::size_t end = lines.find('\r');
        const std::string_view line = lines.substr(0, end);
        lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);

        const tasim::CardState before = state;
        const bool echo = dialect.Echo();
        const tasim::AtDialect::Answer answer = dialect.Execute(line, state, config);
        if (!answer.ok) {
            Require(Same(state, before) && dialect.Echo() == echo,
                    "a refused line changes nothing");
            Require(answer.lines.empty() && !answer.storedChanged && !answer.toLoader,
                    "a refused line answers nothing but ERROR");
            continue;
        }
        Require(state.version == before.version && state.isdn == before.isdn,
                "no command line changes the firmware");
        Require(state.defaultProfile >= 0 && state.defaultProfile <= 2,
                "the default profile is a stored profile");
        Require(answer.storedChanged || (state.stored == before.stored &&
                                         state.defaultProfile == before.defaultProfile),
                "the stored profiles change only with an answer that says so");
        // The factory state is acceptable, so only what a line changed needs a look.
        Require(state.active == before.active || Acceptable(state.active, region, bacp),
                "the active configuration holds only values the card accepts");
        for (int n = 0; n < 3; ++n) {
            Require(
                state.stored[n] == before.stored[n] || Acceptable(state.stored[n], region, bacp),
                "a stored profile holds only values the card accepts");
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view lines(reinterpret_cast<const char*>(data), size);
    Run(lines, tasim::Region::NorthAmerica, true);
    Run(lines, tasim::Region::International, false);
    return 0;
}
