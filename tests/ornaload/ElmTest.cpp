// The ELM file's structure and its embedded texts, over small synthetic files.
#include <gtest/gtest.h>
#include <stdio.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ornaload/ElmRecords.h"
#include "ornaload/ElmTextScan.h"
#include "tools/mkelm/ElmFile.h"

namespace {

using ornaload::ElmTextScan;

// A record: tag, big-endian length, body, and a tag chosen so that all bytes sum to 0.
std::string Record(std::string body, std::size_t length) {
    std::string record(4, '\0');
    record[1] = static_cast<char>(length >> 16);
    record[2] = static_cast<char>(length >> 8);
    record[3] = static_cast<char>(length);
    record += body;
    unsigned sum = 0;
    for (char c : record) {
        sum += static_cast<unsigned char>(c);
    }
    record[0] = static_cast<char>(-sum);
    return record;
}

std::string Record(const std::string& body) {
    return Record(body, body.size() + 4);
}

bool IsValid(const std::string& file) {
    std::FILE* stream = fmemopen(const_cast<char*>(file.data()), file.size(), "rb");
    if (file.empty()) {
        stream = std::tmpfile();
    }
    unsigned char buffer[ornaload::kElmChunkSize];
    bool bValid = ornaload::AreElmRecordsValid(stream, buffer);
    std::fclose(stream);
    return bValid;
}

struct StructureCase {
    const char* name;
    std::string file;
    bool bValid;
};

std::string Flipped(std::string file, std::size_t at) {
    file[at] = static_cast<char>(file[at] ^ 0x01);
    return file;
}

TEST(ElmRecordsTest, AcceptsWholeRecordsAndRefusesEveryFault) {
    const std::string good = Record(std::string(8, 'a')) + Record("bcde");
    const std::string big = Record(std::string(2500, 'x'));  // a body read in three pieces
    const std::vector<StructureCase> cases = {
        {"empty file", "", true},
        {"two records", good, true},
        {"header alone with length 0", Record("", 0), true},
        {"header alone with length 4", Record(""), true},
        {"body longer than a chunk", big, true},
        {"a standard file", mkelm::BuildElm(mkelm::StandardNorthAmerica()), true},
        {"length 6", Record("ab", 6), false},
        {"tag changed", Flipped(good, 0), false},
        {"body byte changed", Flipped(good, 7), false},
        {"last byte of a long body changed", Flipped(big, big.size() - 1), false},
        {"ends inside a body", good.substr(0, good.size() - 1), false},
        {"ends inside a header", good + std::string(3, '\0'), false},
        {"length past the end", Record("abcd", 0xFFFFFC), false},
        {"mkelm checksum break", mkelm::BuildElm({.breakWith = mkelm::Break::Checksum}), false},
        {"mkelm length break", mkelm::BuildElm({.breakWith = mkelm::Break::Length}), false},
        {"mkelm truncated", mkelm::BuildElm({.breakWith = mkelm::Break::Truncated}), false},
    };
    for (const StructureCase& c : cases) {
        EXPECT_EQ(IsValid(c.file), c.bValid) << c.name;
    }
}

// Runs a scan over `file` in chunks of `chunk` bytes as the version pass reads it.
struct ScanResult {
    bool bComplete = false;
    std::string text;
};

ScanResult Scan(ElmTextScan::Kind kind, const std::string& file, std::size_t chunk = 1000) {
    ElmTextScan scan(kind);
    for (std::size_t at = 0; at < file.size() && !scan.IsComplete(); at += chunk) {
        std::string piece = file.substr(at, chunk);
        scan.Step(piece.c_str(), piece.size());
    }
    return {scan.IsComplete(), scan.Text()};
}

struct TextCase {
    const char* name;
    ElmTextScan::Kind kind;
    std::string file;
    bool bComplete;
    std::string text;
};

// `text` placed so that it starts at `at` in a file of filler.
std::string Placed(const std::string& text, std::size_t at, std::size_t size = 3000) {
    std::string file(size, '.');
    file.replace(at, text.size(), text);
    return file;
}

TEST(ElmTextScanTest, FindsTextsAcrossChunkBoundaries) {
    using Kind = ElmTextScan::Kind;
    const std::string version = std::string("SYS_VER 3.11.02") + '\0';
    const std::string longText = "SYS_VER " + std::string(1500, '7') + '\0';
    const std::vector<TextCase> cases = {
        {"version inside a chunk", Kind::Version, Placed(version, 10), true, "3.11.02"},
        {"marker split after SYS_", Kind::Version, Placed(version, 996), true, "3.11.02"},
        {"marker split after its first byte", Kind::Version, Placed(version, 999), true, "3.11.02"},
        {"marker ends the chunk", Kind::Version, Placed(version, 992), true, "3.11.02"},
        {"text crosses the boundary", Kind::Version, Placed(version, 995 - 3), true, "3.11.02"},
        {"text split in the middle", Kind::Version, Placed(version, 990), true, "3.11.02"},
        {"text spans two chunks", Kind::Version, Placed(longText, 100), true,
         std::string(1500, '7').substr(0, 1500)},
        // A text spans at most two chunks: a longer one is cut where the second chunk ends.
        {"version text of 10 kB", Kind::Version,
         Placed("SYS_VER " + std::string(10000, '9') + '\0', 100, 12000), true,
         std::string(1000 - 108 + 1000, '9')},
        {"no zero before the end of the file", Kind::Version, Placed("SYS_VER 3.1", 2989), false,
         "3.1"},
        {"marker at the very end", Kind::Version, Placed("SYS_VER ", 2992), false, ""},
        {"half a marker at the end", Kind::Version, Placed("SYS_", 2996), false, ""},
        {"no marker", Kind::Version, std::string(2500, 'S'), false, ""},
        {"a false start before the marker", Kind::Version,
         Placed("SYS_SYS_VER 1.2" + std::string(1, '\0'), 20), true, "1.2"},
        {"type inside a chunk", Kind::Type, Placed("ISDN(NI-1,5ESS)junk", 50), true,
         "ISDN(NI-1,5ESS)"},
        {"type marker split", Kind::Type, Placed("ISDN(EURO,ETSI)", 997), true, "ISDN(EURO,ETSI)"},
        {"type text crosses the boundary", Kind::Type, Placed("ISDN(EURO,ETSI)", 990), true,
         "ISDN(EURO,ETSI)"},
        {"type without parenthesis", Kind::Type, Placed("ISDN(EURO,ETSI", 10, 2000), true, ""},
        // The next chunk continues the text; the ")" behind the zero byte is never looked at.
        {"type ended by a zero byte", Kind::Type,
         Placed(std::string("ISDN(NI-1") + '\0' + "x)", 10), true, ""},
    };
    for (const TextCase& c : cases) {
        ScanResult result = Scan(c.kind, c.file);
        EXPECT_EQ(result.bComplete, c.bComplete) << c.name;
        EXPECT_EQ(result.text, c.text) << c.name;
    }
}

TEST(ElmTextScanTest, PartialCountIsTheMarkerPrefixThatEndsTheChunk) {
    ElmTextScan scan(ElmTextScan::Kind::Version);
    std::string chunk = std::string(10, '.') + "SYS_V";
    EXPECT_FALSE(scan.Step(chunk.c_str(), chunk.size()));
    EXPECT_EQ(scan.PartialCount(), 5);
    std::string next = "ERSION";  // not the rest of the marker
    EXPECT_FALSE(scan.Step(next.c_str(), next.size()));
    EXPECT_EQ(scan.PartialCount(), -1);
    scan.Reset();
    EXPECT_EQ(scan.PartialCount(), -1);
    EXPECT_FALSE(scan.IsFound());
}

}  // namespace
