// Fuzz target: the reply parser's operations on any bytes an adapter could send.
// Links: link
//
// The input is a reply from its first line feed on, as the owners hand it over; a NUL ends the
// text there, as it does for the parser. What follows a NUL is a template for MatchTemplate.
// Every record and buffer the parser fills is a heap block of its exact size, so that a write
// past its end shows.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/Require.h"
#include "link/ReplyParser.h"

using namespace CReplyParser;

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() &&
           std::equal(tail.begin(), tail.end(), text.end() - tail.size(), [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) ==
                      std::toupper(static_cast<unsigned char>(b));
           });
}

bool TerminatedWithin(const char* text, std::size_t size) {
    return std::memchr(text, '\0', size) != nullptr;
}

bool HasAnyOf(std::string_view text, const char* set) {
    return text.find_first_of(set) != std::string_view::npos;
}

std::int32_t CheckFinalResult(const std::string& text) {
    const std::int32_t code = GetFinalResultCode(text.c_str());
    Require(code == 0 || code == kResultError || code == kMismatch || code == kUnknownResult,
            "GetFinalResultCode gives one of its codes");
    Require((code == 0) == EndsWithIgnoringCase(text, "\nOK\r\n"),
            "the final result is OK exactly when the last line is OK");
    return code;
}

void CheckVersion(const std::string& text, std::int32_t finalCode) {
    auto version = std::make_unique<_SoftwareVer>();
    std::memset(version.get(), 0x5A, sizeof *version);
    const std::int32_t code = ParseSoftwareVersion(text.c_str(), *version);
    Require(TerminatedWithin(version->szBuild, sizeof version->szBuild) &&
                TerminatedWithin(version->szVersionText, sizeof version->szVersionText),
            "the version texts end within their arrays");
    if (finalCode != 0) {
        Require(code == finalCode && version->nMajor == 0 && version->nMinor == 0 &&
                    version->szBuild[0] == '\0' && version->szVersionText[0] == '\0',
                "a version reply without OK gives its final code and a cleared record");
        return;
    }
    Require(code == 0 || code == kMissingOrInvalid, "ParseSoftwareVersion gives one of its codes");
    Require(!HasAnyOf(version->szBuild, "\r") && !HasAnyOf(version->szVersionText, "\r"),
            "the version texts stop at the line end");
}

void CheckRegion(const std::string& text, std::int32_t finalCode) {
    for (const _ISDN_VERSIONTYPE before : {VERSIONTYPE_EURO, VERSIONTYPE_NI1}) {
        _ISDN_VERSIONTYPE type = before;
        const std::int32_t code = ParseVersionType(text.c_str(), type);
        Require(code == 0 || code == kMissingOrInvalid, "ParseVersionType gives one of its codes");
        Require(code == 0 || type == before, "a refused region reply leaves the region alone");
        Require(code != 0 || finalCode == 0, "a region is read only from a reply ending in OK");
    }
}

void CheckInfoLine(const std::string& text, std::int32_t finalCode) {
    for (const std::size_t size : {1u, 2u, 40u, 260u}) {
        auto line = std::make_unique<char[]>(size);
        std::memset(line.get(), 'x', size);
        const std::int32_t code = ParseInfoLine(text.c_str(), line.get(), size);
        Require(code == finalCode, "ParseInfoLine gives the final result code");
        if (code == 0) {
            Require(TerminatedWithin(line.get(), size), "the info line ends within its buffer");
            Require(!HasAnyOf(line.get(), "\r\n"), "the info line is one line");
        }
    }
}

void CheckToken(const std::string& text) {
    const std::string_view view = text.c_str();
    const int length = static_cast<int>(view.size());
    for (const int start : {-1, 0, 1, length / 2, length, length + 1}) {
        for (const char* delimiters : {FIELD_DELIMITERS, SETTING_DELIMITERS, VERSION_DELIMITERS}) {
            const std::string unchanged = "unchanged";
            std::string token = unchanged;
            const std::int32_t code = ExtractToken(text.c_str(), start, delimiters, token);
            Require(code == (start < 0 ? kResultError : 0), "ExtractToken gives its code");
            if (token != unchanged) {
                Require(!HasAnyOf(token, delimiters), "a token holds no delimiter");
                Require(view.substr(static_cast<std::size_t>(start), token.size()) == token,
                        "a token is the text at its start");
            }
        }
    }
}

void CheckTemplate(const std::string& text, const std::string& pattern) {
    std::vector<std::string> fields(3);
    std::string resultCode;
    std::int32_t code = MatchTemplate(text.c_str(), pattern.c_str(), fields.data(), 3, resultCode);
    Require(code == 0 || code == kMismatch || code == kFieldIndex,
            "MatchTemplate gives one of its codes");
    for (const std::string& field : fields) {
        Require(!HasAnyOf(field, FIELD_DELIMITERS), "a field holds no delimiter");
    }
    Require(!HasAnyOf(resultCode, "\r"), "the result-code text stops at the line end");
    code = MatchTemplate(text.c_str(), pattern.c_str(), nullptr, 0, resultCode);
    Require(code == 0 || code == kMismatch || code == kFieldIndex,
            "MatchTemplate without fields gives one of its codes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string text = input.substr(0, nul);
    const std::int32_t finalCode = CheckFinalResult(text);
    CheckVersion(text, finalCode);
    CheckRegion(text, finalCode);
    CheckInfoLine(text, finalCode);
    CheckToken(text);
    if (nul != std::string::npos) {
        CheckTemplate(text, input.substr(nul + 1));
    } else {
        for (const char* pattern : {"\nRC\r\n", "\nV%0.%1.%2\r\n\r\nRC\r\n", "%0=%1,%2(\r"}) {
            CheckTemplate(text, pattern);
        }
    }
    return 0;
}
