// linkcheck COMn: a short self-check of the device link against the adapter on a port.
// Opens a session, asks for the product line, the firmware version and the region, and prints
// what the parser makes of each reply. Exits non-zero when any step fails.
#include <cstdio>

#include "link/ReplyParser.h"
#include "link/TASession.h"

namespace {

// Sends one command; the reply from its first line feed, or null after printing the failure.
const char* Exchange(CTASession& session, const char* command, const char* what) {
    std::int32_t result = session.Send(command);
    if (result == 0) {
        result = session.WaitForReply();
    }
    const char* reply = result == 0 ? session.ReplyFromFirstLineFeed() : nullptr;
    if (!reply) {
        std::printf("%-8s failed (%d)\n", what, result);
    }
    return reply;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: linkcheck COMn\n");
        return 2;
    }
    CTASession session;
    std::int32_t opened = session.Open(argv[1]);
    if (opened != 0) {
        std::printf("%s: cannot open (%d)\n", argv[1], opened);
        session.Close();
        return 1;
    }
    std::printf("%s: open\n", argv[1]);
    bool good = true;

    if (const char* reply = Exchange(session, "ATI8\r", "product")) {
        char line[300];
        std::int32_t parsed = CReplyParser::ParseInfoLine(reply, line, sizeof line);
        good = good && parsed == 0;
        if (parsed == 0) {
            std::printf("product  %s\n", line);
        } else {
            std::printf("product  unreadable (%d)\n", parsed);
        }
    } else {
        good = false;
    }

    if (const char* reply = Exchange(session, "ATI3\r", "version")) {
        _SoftwareVer version{};
        std::int32_t parsed = CReplyParser::ParseSoftwareVersion(reply, version);
        good = good && parsed == 0;
        if (parsed == 0) {
            std::printf("version  %d.%d build \"%s\" (%s)\n", version.nMajor, version.nMinor,
                        version.szBuild, version.szVersionText);
        } else {
            std::printf("version  unreadable (%d)\n", parsed);
        }
    } else {
        good = false;
    }

    if (const char* reply = Exchange(session, "ATI4\r", "region")) {
        _ISDN_VERSIONTYPE type = VERSIONTYPE_NI1;
        std::int32_t parsed = CReplyParser::ParseVersionType(reply, type);
        good = good && parsed == 0;
        if (parsed == 0) {
            std::printf("region   %s\n",
                        type == VERSIONTYPE_NI1 ? "NI-1 (North America)" : "EURO (International)");
        } else {
            std::printf("region   unreadable (%d)\n", parsed);
        }
    } else {
        good = false;
    }

    session.Close();
    return good ? 0 : 1;
}
