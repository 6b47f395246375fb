// Fuzz target: an ELM file of any bytes, through the structural check and the text scan as the
// download's file dialog runs them.
// Links: ornaload_parts elmfile
//
// The check must agree with the ELM builder's own reading of the format; the scan, fed in the
// dialog's 1000-byte chunks, must give texts of the form its markers define.
#include <stdio.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/Require.h"
#include "ornaload/ElmRecords.h"
#include "ornaload/ElmTextScan.h"
#include "tools/mkelm/ElmFile.h"

namespace {

using ornaload::ElmTextScan;

bool CheckRecords(const std::string& file) {
    std::FILE* stream =
        file.empty() ? std::tmpfile() : fmemopen(const_cast<char*>(file.data()), file.size(), "rb");
    Require(stream != nullptr, "the file can be opened");
    unsigned char buffer[ornaload::kElmChunkSize];
    const bool bValid = ornaload::AreElmRecordsValid(stream, buffer);
    std::fclose(stream);
    return bValid;
}

void CheckText(ElmTextScan::Kind kind, const std::string& file) {
    ElmTextScan scan(kind);
    std::string chunk;
    for (std::size_t at = 0; at < file.size() && !scan.IsComplete();
         at += ornaload::kElmChunkSize) {
        chunk = file.substr(at, ornaload::kElmChunkSize);
        scan.Step(chunk.c_str(), chunk.size());
        Require(scan.PartialCount() >= -1 && scan.PartialCount() < 8,
                "a partial marker is shorter than the marker");
    }
    const std::string& text = scan.Text();
    Require(text.size() <= 2 * ornaload::kElmChunkSize, "a text spans at most two chunks");
    Require(text.find('\0') == std::string::npos, "a text ends at its zero byte");
    if (kind == ElmTextScan::Kind::Type && scan.IsComplete() && !text.empty()) {
        Require(
            text.rfind("ISDN(", 0) == 0 && text.back() == ')' && text.find(')') == text.size() - 1,
            "a type text runs from its marker to its first parenthesis");
    }
    const char* marker = kind == ElmTextScan::Kind::Version ? "SYS_VER " : "ISDN(";
    Require(!scan.IsFound() || file.find(marker) != std::string::npos,
            "a text is found only behind its whole marker");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    Require(CheckRecords(file) == mkelm::IsWellFormed(file),
            "the structural check agrees with the format's own reading");
    CheckText(ElmTextScan::Kind::Version, file);
    CheckText(ElmTextScan::Kind::Type, file);
    return 0;
}
