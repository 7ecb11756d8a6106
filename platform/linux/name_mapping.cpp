#include "platform/linux/name_mapping.h"

namespace platform::linux_host {

namespace {

constexpr unsigned char kLead = 0xEF;

bool isMappedAscii(unsigned char c) {
    switch (c) {
    case '\\':
    case ':':
    case '*':
    case '?':
    case '"':
    case '<':
    case '>':
    case '|':
        return true;
    default:
        return c >= 1 && c <= 31;
    }
}

// True when a private-use character U+F000..U+F07F (EF 80 xx or EF 81 xx) starts at `i`.
bool isPrivateMapped(std::string_view s, std::size_t i) {
    if (i + 3 > s.size())
        return false;
    auto b0 = static_cast<unsigned char>(s[i]);
    auto b1 = static_cast<unsigned char>(s[i + 1]);
    auto b2 = static_cast<unsigned char>(s[i + 2]);
    return b0 == kLead && (b1 == 0x80 || b1 == 0x81) && (b2 & 0xC0) == 0x80;
}

// The code 0..0x7F that the private-use character at `i` stands for.
unsigned char privateCode(std::string_view s, std::size_t i) {
    auto b1 = static_cast<unsigned char>(s[i + 1]);
    auto b2 = static_cast<unsigned char>(s[i + 2]);
    return static_cast<unsigned char>(((b1 & 0x01) << 6) | (b2 & 0x3F));
}

void appendPrivate(unsigned char code, std::string& out) {
    out.push_back(static_cast<char>(kLead));
    out.push_back(static_cast<char>(0x80 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
}

} // namespace

bool hostNameIsProgramText(std::string_view hostName) {
    for (char ch : hostName) {
        auto c = static_cast<unsigned char>(ch);
        if (c == kLead || isMappedAscii(c))
            return false;
    }
    return true;
}

void appendProgramName(std::string_view hostName, std::string& out) {
    for (std::size_t i = 0; i < hostName.size(); ++i) {
        auto c = static_cast<unsigned char>(hostName[i]);
        if (isMappedAscii(c)) {
            appendPrivate(c, out);
        } else if (isPrivateMapped(hostName, i)) {
            appendPrivate(0, out);
            out.append(hostName.substr(i, 3));
            i += 2;
        } else {
            out.push_back(hostName[i]);
        }
    }
}

std::string programName(std::string_view hostName) {
    std::string out;
    out.reserve(hostName.size());
    appendProgramName(hostName, out);
    return out;
}

std::string hostName(std::string_view programName) {
    std::string out;
    out.reserve(programName.size());
    for (std::size_t i = 0; i < programName.size(); ++i) {
        if (!isPrivateMapped(programName, i)) {
            out.push_back(programName[i]);
            continue;
        }
        unsigned char code = privateCode(programName, i);
        if (code == 0 && isPrivateMapped(programName, i + 3)) {
            out.append(programName.substr(i + 3, 3));
            i += 5;
        } else if (code != 0 && isMappedAscii(code)) {
            out.push_back(static_cast<char>(code));
            i += 2;
        } else {
            // A private-use character that stands for nothing is an ordinary character.
            out.append(programName.substr(i, 3));
            i += 2;
        }
    }
    return out;
}

} // namespace platform::linux_host
