// The progress of a download on standard error: redrawn in place on a terminal, plain lines
// for a log.
#include <gtest/gtest.h>
#include <stdio.h>

#include <cstdlib>
#include <string>

#include "quilanctl/ProgressLine.h"

namespace {

constexpr char kStatus[] = "Transferring ROM0NA.ELM to the Quilan ISDN T/A";
constexpr char kEstimate[] = "Est. time remaining: 10 secs (16.0 KB copied)";
constexpr char kShorter[] = "Est. time remaining: 5 secs (24.0 KB copied)";

// What the line wrote, read back after `draw` ran.
template <class Draw>
std::string Written(bool bTerminal, Draw draw) {
    char* buffer = nullptr;
    std::size_t size = 0;
    FILE* out = open_memstream(&buffer, &size);
    {
        quilanctl::CProgressLine line(out, bTerminal);
        draw(line);
    }
    std::fclose(out);
    std::string text(buffer, size);
    std::free(buffer);
    return text;
}

TEST(ProgressLine, RedrawsOneLineOnATerminal) {
    std::string text = Written(true, [](quilanctl::CProgressLine& line) {
        line.Show(kStatus, 0, "");
        line.Show(kStatus, 25, kEstimate);
        line.Show(kStatus, 25, kEstimate);  // nothing new: nothing drawn
        line.Show(kStatus, 50, kShorter);
        line.Break();
    });
    std::string bar25 = "[" + std::string(7, '#') + std::string(23, '.') + "]";
    std::string bar50 = "[" + std::string(15, '#') + std::string(15, '.') + "]";
    std::string first = bar25 + "  25%  " + kEstimate;
    std::string second = bar50 + "  50%  " + kShorter;
    EXPECT_EQ(text, std::string(kStatus) + "\n\r[" + std::string(30, '.') + "]   0%\r" + first +
                        "\r" + second + std::string(first.size() - second.size(), ' ') + "\n");
}

TEST(ProgressLine, WritesPlainLinesWhenTheEstimateChanges) {
    std::string text = Written(false, [](quilanctl::CProgressLine& line) {
        line.Show("Please Wait .....", 0, "");
        line.Show(kStatus, 3, "");
        line.Show(kStatus, 25, kEstimate);
        line.Show(kStatus, 30, kEstimate);  // the bar alone moved
        line.Show(kStatus, 100, kShorter);
        line.Break();
    });
    EXPECT_EQ(text, std::string("Please Wait .....\n") + kStatus + "\n 25%  " + kEstimate +
                        "\n100%  " + kShorter + "\n");
}

TEST(ProgressLine, StatusAfterTheBarStartsOnANewLine) {
    std::string text = Written(true, [](quilanctl::CProgressLine& line) {
        line.Show(kStatus, 100, "");
        line.Show("Transfer Complete. Please Wait .....", 100, "");
    });
    std::string bar = "\r[" + std::string(30, '#') + "] 100%";
    EXPECT_EQ(text,
              std::string(kStatus) + "\n" + bar + "\nTransfer Complete. Please Wait .....\n" + bar);
}

}  // namespace
