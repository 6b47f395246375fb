// Fuzz target: the help file parser on any file contents.
// Links: platform_help
//
// A file is either malformed or gives topics with distinct numbers, one-line titles without
// leading blanks, and texts without blank lines at their ends and without a topic line inside.
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/Require.h"
#include "platform/help/HelpFile.h"

namespace {

// The text's lines are the file's lines as the parser cut them.
bool HoldsTopicLine(std::string_view text) {
    for (;;) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (line.starts_with("@topic") && (line.size() == 6 || line[6] == ' ')) {
            return true;
        }
        if (end == std::string_view::npos) {
            return false;
        }
        text.remove_prefix(end + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<help::Topic> topics;
    const help::Status status = help::ParseHelpText(text, topics);
    Require(status == help::Status::Ok || status == help::Status::Malformed,
            "ParseHelpText gives one of its codes");
    if (status != help::Status::Ok) {
        return 0;
    }
    std::set<std::uint32_t> numbers;
    for (const help::Topic& topic : topics) {
        Require(numbers.insert(topic.number).second, "topic numbers are distinct");
        Require(topic.title.find('\n') == std::string::npos && !topic.title.starts_with(' '),
                "a title is one line without leading blanks");
        Require(!topic.text.starts_with('\n') && !topic.text.ends_with('\n'),
                "a text has no blank lines at its ends");
        Require(!HoldsTopicLine(topic.text), "a text holds no topic line");
    }
    return 0;
}
