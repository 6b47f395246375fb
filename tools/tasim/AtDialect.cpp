#include "tools/tasim/AtDialect.h"

#include <cctype>
#include <functional>
#include <optional>

namespace tasim {
namespace {

// How the listings arrange the registers; absent registers (the North American ones on an
// International card) are left out.
const std::vector<std::vector<const char*>> kListingLines = {
    {"!C1", "!C11", "!C2", "!O", "%A2"}, {"!N1", "!N2", "!N3", "!N4"},
    {"!N11", "!N21", "!N31", "!N41"},    {"!C4", "!C5", "!C6", "!C7"},
    {"!C41", "!C51", "!C61", "!C71"},    {"%P5", "%P6", "%P7"},
};

std::vector<std::string> RegisterLines(const Registers& r) {
    std::vector<std::string> lines;
    for (const auto& names : kListingLines) {
        std::string line;
        for (const char* name : names) {
            auto it = r.find(name);
            if (it == r.end())
                continue;
            if (!line.empty())
                line += ' ';
            line += name;
            if (std::string_view(name) != "!O")
                line += '=';
            line += it->second;
        }
        if (!line.empty())
            lines.push_back(line);
    }
    return lines;
}

std::string Settings(int echo, int verbose, int flow) {
    return "E" + std::to_string(echo) + " V" + std::to_string(verbose) + " &K" +
           std::to_string(flow);
}

char Upper(char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

// Walks one command line; each command becomes an action run only when the whole line parsed.
class LineParser {
  public:
    explicit LineParser(std::string_view body) : m_body(body) {}

    bool AtEnd() const { return m_at >= m_body.size(); }
    char Next() { return AtEnd() ? '\0' : Upper(m_body[m_at++]); }
    char Peek() const { return AtEnd() ? '\0' : Upper(m_body[m_at]); }
    std::string Digits() {
        std::string d;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(m_body[m_at]))) {
            d += m_body[m_at++];
        }
        return d;
    }
    // A register value runs to the next command prefix or the end of the line.
    std::string Value() {
        std::size_t end = m_body.find_first_of("!%&", m_at);
        if (end == std::string_view::npos)
            end = m_body.size();
        std::string v(m_body.substr(m_at, end - m_at));
        m_at = end;
        return v;
    }
    // An optional single-digit argument within [0, largest]; -1 when absent, -2 when invalid.
    int Argument(int largest) {
        std::string d = Digits();
        if (d.empty())
            return -1;
        if (d.size() > 1 || d[0] - '0' > largest)
            return -2;
        return d[0] - '0';
    }

  private:
    std::string_view m_body;
    std::size_t m_at = 0;
};

}  // namespace

std::string DefaultIdent() {
    return "Corvane Quilan ISDN Terminal Adapter";
}

std::vector<std::string> StoredProfileListing(const CardState& state, int flow) {
    // The active registers are left to "AT>VC": with every number at its longest the listing
    // must still fit the 2498 bytes the device link takes for one reply.
    std::vector<std::string> lines = {"ACTIVE PROFILE:", Settings(1, 1, flow)};
    for (int n = 0; n < 3; ++n) {
        lines.push_back("STORED PROFILE " + std::to_string(n) + ":");
        for (const std::string& l : RegisterLines(state.stored[n]))
            lines.push_back(l);
    }
    lines.push_back("TELEPHONE NUMBERS:");
    lines.push_back("&Z0= &Z1= &Z2= &Z3=");
    return lines;
}

std::vector<std::string> ConfigurationReport(const CardState& state, int flow) {
    std::vector<std::string> lines = {
        "ACTIVE CONFIGURATION:",
        Settings(1, 1, flow) + " &Y" + std::to_string(state.defaultProfile)};
    for (const std::string& l : RegisterLines(state.active))
        lines.push_back(l);
    return lines;
}

void AtDialect::Reset() {
    m_echo = true;
    m_verbose = true;
    m_flow = 3;
}

std::string AtDialect::Frame(bool echo, std::string_view received,
                             const std::vector<std::string>& lines, bool ok) const {
    std::string out = echo ? std::string(received) : std::string("\r");
    if (m_verbose) {
        out += '\n';
        for (const std::string& l : lines)
            out += l + "\r\n";
        if (!lines.empty())
            out += "\r\n";
        out += ok ? "OK\r\n" : "ERROR\r\n";
    } else {
        if (!lines.empty())
            out += '\n';
        for (const std::string& l : lines)
            out += l + "\r\n";
        out += ok ? "0\r" : "4\r";
    }
    return out;
}

AtDialect::Answer AtDialect::Execute(std::string_view line, CardState& state,
                                     const Config& config) {
    Answer answer;
    std::string compact;
    for (char c : line) {
        if (c != ' ')
            compact += c;
    }
    if (compact.size() < 2 || Upper(compact[0]) != 'A' || Upper(compact[1]) != 'T') {
        answer.ok = false;
        return answer;
    }

    // Actions run on a copy of the state, which replaces the card's only when the line is good.
    CardState next = state;
    bool echo = m_echo;
    bool verbose = m_verbose;
    int flow = m_flow;
    const Region region = state.GetRegion();
    LineParser p(std::string_view(compact).substr(2));
    auto fail = [&answer] {
        answer = Answer{};
        answer.ok = false;
        return answer;
    };

    while (!p.AtEnd()) {
        char c = p.Next();
        if (c == '!' || c == '%') {
            std::string name(1, c);
            name += p.Next();
            if (name == "!O") {
                std::string v = p.Digits();
                const RegisterInfo* info = FindRegister(name, region);
                std::optional<std::string> value = CheckValue(*info, v, config.bacp);
                if (!value)
                    return fail();
                next.active[name] = *value;
                continue;
            }
            std::string digits = p.Digits();
            if (digits.empty() || p.Next() != '=')
                return fail();
            const RegisterInfo* info = FindRegister(name + digits, region);
            if (info == nullptr)
                return fail();
            std::optional<std::string> value = CheckValue(*info, p.Value(), config.bacp);
            if (!value)
                return fail();
            next.active[info->name] = *value;
        } else if (c == '&') {
            char what = p.Next();
            int n = -2;
            switch (what) {
                case 'W':
                    n = p.Argument(2);
                    if (n == -2)
                        return fail();
                    next.stored[n < 0 ? 0 : n] = next.active;
                    answer.storedChanged = true;
                    break;
                case 'Y':
                    n = p.Argument(2);
                    if (n == -2)
                        return fail();
                    next.defaultProfile = n < 0 ? 0 : n;
                    answer.storedChanged = true;
                    break;
                case 'K':
                    n = p.Argument(6);
                    if (n == -2)
                        return fail();
                    flow = n < 0 ? 0 : n;
                    break;
                case 'F':
                    next.active = FactoryProfile(region, 0);
                    break;
                case 'V':
                    for (const std::string& l : StoredProfileListing(next, flow)) {
                        answer.lines.push_back(l);
                    }
                    break;
                default:
                    return fail();
            }
        } else if (c == 'E' || c == 'V') {
            int n = p.Argument(1);
            if (n == -2)
                return fail();
            (c == 'E' ? echo : verbose) = n == 1;
        } else if (c == 'Z') {
            int n = p.Argument(2);
            if (n == -2)
                return fail();
            next.active = next.stored[n < 0 ? next.defaultProfile : n];
        } else if (c == 'I') {
            int n = p.Argument(9);
            if (n == 8) {
                answer.lines.push_back(config.ident.empty() ? DefaultIdent() : config.ident);
            } else if (n == 3) {
                answer.lines.push_back("V" + next.version);
            } else if (n == 4) {
                answer.lines.push_back(next.isdn);
            } else {
                return fail();
            }
        } else if (c == '>') {
            if (p.Next() != 'V' || p.Next() != 'C')
                return fail();
            for (const std::string& l : ConfigurationReport(next, flow))
                answer.lines.push_back(l);
        } else if (c == '$') {
            if (p.Next() != 'Z')
                return fail();
            answer.toLoader = true;
        } else {
            return fail();
        }
    }

    state = next;
    m_echo = echo;
    m_verbose = verbose;
    m_flow = flow;
    return answer;
}

}  // namespace tasim
