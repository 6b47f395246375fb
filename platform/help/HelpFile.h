// Our help files ("QLN_CPL.HLP"): plain text, one section per topic number.
//
//   Anything before the first topic line is a note for the author and is not shown.
//   @topic 0x5000 Cards
//   The text of topic 0x5000, any number of lines,
//   up to the next topic line or the end of the file.
//   @topic 0x5100 Profiles
//   ...
//
// A topic line is "@topic", a blank, the topic number (hexadecimal with 0x, or decimal) and,
// after blanks, the title (the rest of the line; it may be empty). A topic's text is its lines
// joined with "\n", without the blank lines at its start and end. Files may use "\r\n".
// A malformed topic line or a number used twice makes the whole file malformed.
//
// Pure functions; any thread may call them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/Export.h"

namespace help {

enum class Status : std::int32_t {
    Ok = 0,
    Unreadable,   // the file cannot be opened or read (absent, a directory, too large)
    Malformed,    // a topic line that is not "@topic NUMBER [TITLE]", or a repeated number
    NoSuchTopic,  // the file is sound but has no topic with that number
};

struct Topic {
    std::uint32_t number = 0;
    std::string title;
    std::string text;
};

// Every topic of a help file's text, in file order.
QUILAN_EXPORT Status ParseHelpText(std::string_view text, std::vector<Topic>& topics);

// Reads the help file and gives the topic with that number. What the viewer calls.
QUILAN_EXPORT Status FindHelpTopic(const std::filesystem::path& file, std::uint32_t number,
                                   Topic& topic);

}  // namespace help
