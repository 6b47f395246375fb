// The adapter's AT command interpreter: one command line in, the answer out.
//
// A line is "AT" followed by commands ("!C1=9!C11=255%A2=95", "&W0", "I3", ...); blanks are
// ignored. The whole line is checked before anything is done: one malformed or out-of-range
// command answers "ERROR" and changes nothing. Owned by the adapter's serving thread, which
// holds the adapter's lock while it runs; works on the card state it is given.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tools/tasim/Adapter.h"
#include "tools/tasim/CardState.h"

namespace tasim {

class AtDialect {
  public:
    struct Answer {
        std::vector<std::string> lines;  // information lines
        bool ok = true;                  // final result OK or ERROR
        bool storedChanged = false;      // stored profiles or default profile changed
        bool toLoader = false;           // "AT$Z": restart into the loader after answering
    };

    // `line` is the command line as received, without its CR.
    Answer Execute(std::string_view line, CardState& state, const Config& config);

    // The bytes sent for an answer: the echo of `received` (the line with its CR) when `echo`
    // (the setting in force when the line arrived), a line feed, the information lines, and
    // the final result line.
    std::string Frame(bool echo, std::string_view received, const std::vector<std::string>& lines,
                      bool ok) const;
    bool Echo() const { return m_echo; }

    // Back to the power-on settings: echo on, verbose result codes.
    void Reset();

  private:
    bool m_echo = true;
    bool m_verbose = true;
    int m_flow = 3;
};

// The texts of "AT&V" and "AT>VC".
std::vector<std::string> StoredProfileListing(const CardState& state, int flow);
std::vector<std::string> ConfigurationReport(const CardState& state, int flow);
std::string DefaultIdent();

}  // namespace tasim
