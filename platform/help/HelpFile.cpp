#include "platform/help/HelpFile.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

namespace help {

namespace {

constexpr std::string_view kTopicTag = "@topic";

// A help file is a few kilobytes; a path that names something far larger is not one.
constexpr std::uintmax_t kMaxFileSize = 1 << 20;

std::optional<std::uint32_t> ParseNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint32_t number = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return number;
}

bool IsTopicLine(std::string_view line) {
    return line.starts_with(kTopicTag) &&
           (line.size() == kTopicTag.size() || line[kTopicTag.size()] == ' ');
}

// Parses "@topic NUMBER [TITLE]" into a topic with empty text.
std::optional<Topic> ParseTopicLine(std::string_view line) {
    line.remove_prefix(std::min(line.size(), kTopicTag.size() + 1));
    std::size_t blank = line.find(' ');
    std::optional<std::uint32_t> number = ParseNumber(line.substr(0, blank));
    if (!number) {
        return std::nullopt;
    }
    Topic topic;
    topic.number = *number;
    if (blank != std::string_view::npos) {
        std::string_view title = line.substr(blank + 1);
        topic.title = title.substr(std::min(title.size(), title.find_first_not_of(' ')));
    }
    return topic;
}

// The lines joined with "\n", without the empty lines at the start and the end.
std::string JoinTrimmed(const std::vector<std::string_view>& lines) {
    auto first = std::find_if(lines.begin(), lines.end(), [](auto line) { return !line.empty(); });
    auto last = std::find_if(lines.rbegin(), lines.rend(), [](auto line) { return !line.empty(); });
    std::string text;
    for (auto it = first; it < last.base(); ++it) {
        if (it != first) {
            text += '\n';
        }
        text += *it;
    }
    return text;
}

}  // namespace

Status ParseHelpText(std::string_view text, std::vector<Topic>& topics) {
    std::vector<Topic> parsed;
    std::vector<std::vector<std::string_view>> lines;  // the text lines of each parsed topic
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (IsTopicLine(line)) {
            std::optional<Topic> topic = ParseTopicLine(line);
            if (!topic || std::any_of(parsed.begin(), parsed.end(), [&](const Topic& other) {
                    return other.number == topic->number;
                })) {
                return Status::Malformed;
            }
            parsed.push_back(std::move(*topic));
            lines.emplace_back();
        } else if (!parsed.empty()) {
            lines.back().push_back(line);
        }
    }
    for (std::size_t i = 0; i < parsed.size(); ++i) {
        parsed[i].text = JoinTrimmed(lines[i]);
    }
    topics = std::move(parsed);
    return Status::Ok;
}

Status FindHelpTopic(const std::filesystem::path& file, std::uint32_t number, Topic& topic) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(file, error) ||
        std::filesystem::file_size(file, error) > kMaxFileSize || error) {
        return Status::Unreadable;
    }
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) {
        return Status::Unreadable;
    }
    std::vector<Topic> topics;
    Status status = ParseHelpText(text, topics);
    if (status != Status::Ok) {
        return status;
    }
    for (Topic& candidate : topics) {
        if (candidate.number == number) {
            topic = std::move(candidate);
            return Status::Ok;
        }
    }
    return Status::NoSuchTopic;
}

}  // namespace help
